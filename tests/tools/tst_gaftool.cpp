#include "filebuilder.h"
#include "gaftoolrun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using lirsktest::FileBuilder;

namespace {

using Run = lirsktest::GaftoolRun;

Run gaftool(const QStringList& args) {
    return lirsktest::runGaftool(args);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray handWritten() {
    return FileBuilder()
        .header(2, 5)
        .stop(5, 10, 20, QStringLiteral("Площадь Победы"), QStringLiteral("T1 T5"), 12, 6)
        .stop(2, 110, 20, QStringLiteral("Вокзал"), QStringLiteral("T1"))
        .link(5, 2, 0, 640.5, 95)
        .link(2, 5, 0, 640.5, 90)
        .bytes;
}

// Runs gaftool with writes past limitBytes of any file failing, as on a disk that is full, and
// its standard output into outFile when one is given.
Run gaftoolWithFileLimit(const QStringList& args, rlim_t limitBytes, const QString& outFile) {
    QProcess p;
    p.setChildProcessModifier([limitBytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    if (!outFile.isEmpty())
        p.setStandardOutputFile(outFile);
    p.start(QStringLiteral(GAFTOOL_PATH), args);
    Run r;
    if (!p.waitForFinished(30000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

class TestGaftool : public QObject {
    Q_OBJECT
private slots:
    void dumpJsonShowsTheStoredValues() {
        QTemporaryDir dir;
        const Run r = gaftool({"dump", writeFile(dir, "m.gaf", handWritten()), "--json"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject map = QJsonDocument::fromJson(r.out).object();
        const QJsonObject h = map["header"].toObject();
        QCOMPARE(h["user_weights"].toBool(), true);
        QCOMPARE(h["arc_color"].toInteger(), 0x00123456);
        QCOMPARE(h["tree_color"].toInteger(), 0x00FF0000);
        QCOMPARE(h["arrow_size"].toInt(), 17);
        QCOMPARE(h["arrow_angle"].toDouble(), 2.5);
        QCOMPARE(h["arrow_type"].toInt(), 1);
        QCOMPARE(h["arc_width"].toInt(), 3);
        QCOMPARE(h["max_stop_id"].toInt(), 5);
        QCOMPARE(h["show_search_panel"].toBool(), true);
        const QJsonArray stops = map["stops"].toArray();
        QCOMPARE(stops.size(), 2);
        const QJsonObject first = stops[0].toObject();
        QCOMPARE(first["id"].toInt(), 5);
        QCOMPARE(first["name"].toString(), QStringLiteral("Площадь Победы"));
        QCOMPARE(first["routes"].toString(), QStringLiteral("T1 T5"));
        QCOMPARE(first["size"].toInt(), 12);
        QCOMPARE(first["fill_color"].toInteger(), 0xFF);
        QCOMPARE(first["font"].toObject()["name"].toString(), QStringLiteral("Arial"));
        QCOMPARE(first["font"].toObject()["italic"].toBool(), true);
        const QJsonObject label = first["label"].toObject();
        QCOMPARE(label["left"].toInt(), 22);
        QCOMPARE(label["font"].toObject()["name"].toString(), QStringLiteral("Times New Roman"));
        QCOMPARE(label["font"].toObject()["strikeout"].toBool(), true);
        const QJsonObject link = first["links"].toArray()[0].toObject();
        QCOMPARE(link["to"].toInt(), 2);
        QCOMPARE(link["length"].toDouble(), 640.5);
        QCOMPARE(link["time"].toDouble(), 95.0);
        QCOMPARE(link["is_arc"].toBool(), false);
    }

    void convertToJsonAndBackGivesTheSameBytes() {
        QTemporaryDir dir;
        const QString gaf = writeFile(dir, "m.gaf", handWritten());
        const QString json = dir.filePath("m.json");
        const QString back = dir.filePath("back.gaf");
        QCOMPARE(gaftool({"convert", gaf, json}).exitCode, 0);
        QCOMPARE(gaftool({"convert", json, back}).exitCode, 0);
        QCOMPARE(readFile(back), handWritten());
        const QString json2 = dir.filePath("again.json");
        QCOMPARE(gaftool({"convert", back, json2}).exitCode, 0);
        QCOMPARE(readFile(json2), readFile(json));
    }

    void validate_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("clean") << handWritten() << 0 << "ok: 2 stops, 2 links";
        QTest::newRow("duplicate ids")
            << FileBuilder().header(2, 3).stop(1, 0, 0, "a", "").stop(1, 9, 9, "b", "").bytes << 1
            << "id 1 is held by 2 stops";
        QTest::newRow("id above max")
            << FileBuilder().header(1, 3).stop(7, 0, 0, "a", "").bytes << 1 << "outside 0..3";
        QTest::newRow("self-link")
            << FileBuilder().header(1, 0).stop(0, 0, 0, "a", "").link(0, 0, 0, 1, 1).bytes << 1
            << "joins a stop to itself";
        QTest::newRow("twice the same pair") << FileBuilder()
                                                    .header(2, 1)
                                                    .stop(0, 0, 0, "a", "")
                                                    .stop(1, 9, 9, "b", "")
                                                    .link(0, 1, 0, 1, 1)
                                                    .link(0, 1, 0, 2, 1)
                                                    .bytes
                                             << 1 << "a second link for the same ordered pair";
        QTest::newRow("negative length") << FileBuilder()
                                                .header(2, 1)
                                                .stop(0, 0, 0, "a", "")
                                                .stop(1, 9, 9, "b", "")
                                                .link(0, 1, 0, -4, 1)
                                                .bytes
                                         << 1 << "negative length -4";
        QTest::newRow("unreadable") << QByteArray(20, '\0') << 2 << "m.gaf";
    }
    void validate() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, exitCode);
        QFETCH(QString, mentions);
        QTemporaryDir dir;
        const Run r = gaftool({"validate", writeFile(dir, "m.gaf", bytes)});
        QCOMPARE(r.exitCode, exitCode);
        const QString text = QString::fromUtf8(r.out + r.err);
        QVERIFY2(text.contains(mentions), qPrintable(text));
    }

    void unreadableInputIsOneLineAndExitTwo_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("dump missing") << QStringList{"dump", "/nonexistent/x.gaf"};
        QTest::newRow("convert missing") << QStringList{"convert", "/nonexistent/x.gaf", "y.json"};
        QTest::newRow("validate missing") << QStringList{"validate", "/nonexistent/x.json"};
    }
    void unreadableInputIsOneLineAndExitTwo() {
        QFETCH(QStringList, args);
        const Run r = gaftool(args);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.contains("/nonexistent/x."));
    }

    // Every writer on a full disk: the old file stays as it was, and the failure is reported
    // with its cause.
    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("map file") << "convert"
                                  << "map.json"
                                  << "out.gaf";
        QTest::newRow("JSON") << "convert"
                              << "map.gaf"
                              << "out.json";
        QTest::newRow("picture") << "render"
                                 << "map.gaf"
                                 << "out.png";
        QTest::newRow("vectors") << "render"
                                 << "map.gaf"
                                 << "out.pdf";
        QTest::newRow("standard output") << "dump"
                                         << "map.gaf"
                                         << "";
    }
    void failedWriteKeepsTheOldFile() {
        QFETCH(QString, command);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QTemporaryDir dir;
        writeFile(dir, "map.gaf", handWritten());
        QCOMPARE(gaftool({"convert", dir.filePath("map.gaf"), dir.filePath("map.json")}).exitCode,
                 0);
        const QByteArray old(200, 'x');
        const QString target = writeFile(dir, to.isEmpty() ? "stdout.txt" : to, old);
        QStringList args{command, dir.filePath(from)};
        if (to.isEmpty())
            args << "--json";
        else
            args << target;
        const Run r = gaftoolWithFileLimit(args, 300, to.isEmpty() ? target : QString());
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains("файл больше, чем разрешено записать"), r.err.constData());
        if (!to.isEmpty())
            QCOMPARE(readFile(target), old);
    }

    // A device, FIFO or folder is neither read nor replaced by a regular file.
    void refusesWhatIsNotARegularFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("read") << QStringList{"validate", "fifo"};
        QTest::newRow("save map") << QStringList{"convert", "map.gaf", "fifo"};
    }
    void refusesWhatIsNotARegularFile() {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        writeFile(dir, "map.gaf", handWritten());
        const QByteArray fifo = QFile::encodeName(dir.filePath("fifo"));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        for (QString& a : args)
            if (a == "fifo" || a == "map.gaf")
                a = dir.filePath(a);
        const Run r = gaftool(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains("не обычный файл"), r.err.constData());
        struct stat st {};
        QCOMPARE(stat(fifo.constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    void renderNamesTheRealSizeOfATooLargeMap() {
        QTemporaryDir dir;
        const QString map =
            writeFile(dir, "big.gaf",
                      FileBuilder().header(1, 0).stop(0, 40000000, 0, QString(), QString()).bytes);
        const Run r = gaftool({"render", map, dir.filePath("big.png")});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains("40000020 × "), r.err.constData());
    }

    // A map as SVG and PDF: each stop and each link drawn one element, each name text that can be
    // searched, once, in any script; nothing is a picture.
    void renderWritesVectors_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("options");
        // The stops, and the found way's two markers.
        QTest::addColumn<int>("circles");
        // Three links, the one-way arc's arrow head, and each link of the way with its arrow.
        QTest::addColumn<int>("polylines");
        QTest::newRow("SVG") << "out.svg" << QStringList() << 3 << 4;
        QTest::newRow("SVG with a way") << "out.svg" << QStringList{"--way", "0", "2"} << 5 << 8;
        QTest::newRow("PDF") << "out.pdf" << QStringList() << 0 << 0;
        QTest::newRow("PDF with a way, at a scale")
            << "out.pdf" << QStringList{"--way", "Вокзал", "Park Street", "--scale", "2"} << 0 << 0;
    }
    void renderWritesVectors() {
        QFETCH(QString, output);
        QFETCH(QStringList, options);
        QFETCH(int, circles);
        QFETCH(int, polylines);
        const QStringList names{QStringLiteral("Вокзал"), QStringLiteral("東京駅"),
                                QStringLiteral("Park Street")};
        QTemporaryDir dir;
        const QString map = writeFile(dir, "map.json",
                                      QStringLiteral(R"({"stops": [
                {"id": 0, "name": "%1", "left": 40, "top": 40,
                 "links": [{"to": 1, "length": 1200}]},
                {"id": 1, "name": "%2", "left": 240, "top": 60,
                 "links": [{"to": 0, "length": 1200}, {"to": 2, "length": 800}]},
                {"id": 2, "name": "%3", "left": 200, "top": 220}]})")
                                          .arg(names[0], names[1], names[2])
                                          .toUtf8());
        const Run r = gaftool(QStringList{"render", map, dir.filePath(output)} + options);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QStringList texts;
        if (output.endsWith(".svg")) {
            QXmlStreamReader svg(readFile(dir.filePath(output)));
            QHash<QString, int> elements;
            while (!svg.atEnd()) {
                if (svg.readNext() != QXmlStreamReader::StartElement)
                    continue;
                ++elements[svg.name().toString()];
                if (svg.name() == QLatin1String("text"))
                    texts.append(svg.readElementText());
            }
            QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
            QCOMPARE(elements.value("circle"), circles);
            QCOMPARE(elements.value("polyline"), polylines);
            QCOMPARE(elements.value("image"), 0);
        } else {
            const QByteArray pdf = readFile(dir.filePath(output));
            QVERIFY(!pdf.contains("/Subtype /Image"));
            QProcess text;
            text.start("pdftotext", {dir.filePath(output), "-"});
            QVERIFY2(text.waitForFinished(30000), "pdftotext (poppler-utils) is needed");
            texts = QString::fromUtf8(text.readAllStandardOutput()).split('\n');
        }
        for (const QString& name : names)
            QVERIFY2(texts.count(name) == 1, qPrintable(name + ": " + texts.join('|')));
    }

    void cataloguePrintsMenusPathsAndTables() {
        const Run r = gaftool({"catalogue"});
        QCOMPARE(r.exitCode, 0);
        const QString text = QString::fromUtf8(r.out);
        QVERIFY(
            text.contains(QStringLiteral("«Москва»: toolbox/map/MMoscow.gaf, «Карта метро Москвы» "
                                         "[enabled, metro]")));
        QVERIFY(text.contains(
            QStringLiteral("toolbox/map/MPiter.gaf: code P, city none, drawn graph")));
        QVERIFY(text.contains(QStringLiteral("Route table P: 5 rows with the header\n"
                                             "  1\tДевяткино- пр.Ветеранов")));
        QVERIFY(text.contains(QStringLiteral("Route table B: 16 rows with the header")));
    }

    void helpForEveryCommand() {
        for (const char* cmd : {"dump", "convert", "validate", "catalogue", "route"}) {
            const Run r = gaftool({QString::fromLatin1(cmd), "--help", "--lang", "en"});
            QCOMPARE(r.exitCode, 0);
            QVERIFY(r.out.startsWith("usage: gaftool " + QByteArray(cmd)));
        }
        QCOMPARE(gaftool({"frobnicate"}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestGaftool)
#include "tst_gaftool.moc"
