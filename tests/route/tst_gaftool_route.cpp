#include "gaftoolrun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Runs "gaftool route" on the hand-written maps of data/ and holds every answer against the one
// worked out by hand in data/cases.json.

namespace {

const QString kData = QStringLiteral(ROUTE_DATA_DIR);

using Run = lirsktest::GaftoolRun;

Run gaftool(const QStringList& args, const QString& workDir = QString()) {
    return lirsktest::runGaftool(args, workDir);
}

} // namespace

class TestGaftoolRoute : public QObject {
    Q_OBJECT

private slots:
    void cases_data();
    void cases();
    void help();
    void batch();
};

void TestGaftoolRoute::cases_data() {
    QTest::addColumn<QJsonObject>("c");
    QFile file(kData + QStringLiteral("/cases.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray cases = QJsonDocument::fromJson(file.readAll()).array();
    QVERIFY(!cases.isEmpty());
    for (const QJsonValue& c : cases)
        QTest::newRow(c[QStringLiteral("name")].toString().toUtf8().constData()) << c.toObject();
}

void TestGaftoolRoute::cases() {
    QFETCH(QJsonObject, c);

    QString mapPath = kData + QLatin1Char('/') + c[QStringLiteral("map")].toString();
    QTemporaryDir dir;
    QString workDir;
    if (c.contains(QStringLiteral("as_path"))) {
        // Under the relative path of a built-in map, as a .gaf file.
        QVERIFY(dir.isValid());
        const QString relative = c[QStringLiteral("as_path")].toString();
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(relative).path()));
        const Run convert = gaftool({QStringLiteral("convert"), mapPath, dir.filePath(relative)});
        QCOMPARE(convert.exitCode, 0);
        mapPath = relative;
        workDir = dir.path();
    }

    QStringList args{QStringLiteral("route"), mapPath};
    for (const QJsonValue& a : c[QStringLiteral("args")].toArray())
        args << a.toString();

    if (c.contains(QStringLiteral("text"))) {
        // The locale the report is written in: C (Russian, a decimal point) unless the case says.
        const QByteArray locale = c[QStringLiteral("locale")].toString("C.UTF-8").toUtf8();
        const QByteArray before = qgetenv("LC_ALL");
        qputenv("LC_ALL", locale);
        const Run r = gaftool(args, workDir);
        qputenv("LC_ALL", before);
        QCOMPARE(r.exitCode, 0);
        QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'));
        QCOMPARE(lines.takeLast(), QString());
        QStringList expected;
        for (const QJsonValue& line : c[QStringLiteral("text")].toArray())
            expected << line.toString();
        QCOMPARE(lines, expected);
        return;
    }

    args << QStringLiteral("--json");
    const Run r = gaftool(args, workDir);
    const int exitCode = c[QStringLiteral("exit")].toInt(0);
    QCOMPARE(r.exitCode, exitCode);
    if (exitCode != 0) {
        // One line that names the file.
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.contains(c[QStringLiteral("map")].toString().toUtf8()));
        return;
    }
    QCOMPARE(r.out.count('\n'), 1);
    QJsonParseError error;
    const QJsonDocument answer = QJsonDocument::fromJson(r.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(answer.isObject());
    // Both sides read from JSON text the same way, so equal texts mean equal numbers, bit for bit.
    const QJsonDocument expected(c[QStringLiteral("expect")].toObject());
    QCOMPARE(QString::fromUtf8(answer.toJson(QJsonDocument::Compact)),
             QString::fromUtf8(expected.toJson(QJsonDocument::Compact)));
}

void TestGaftoolRoute::help() {
    const Run r = gaftool({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("route"),
                           QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith("usage: gaftool route FILE FROM_ID TO_ID"));
    const Run bad =
        gaftool({QStringLiteral("route"), QStringLiteral("x.json"), QStringLiteral("1")});
    QCOMPARE(bad.exitCode, 2);
    QCOMPARE(bad.err.count('\n'), 1);
    for (const QString& criterion : {QString(), QStringLiteral("slowest")})
        QCOMPARE(
            gaftool({QStringLiteral("route"), kData + QStringLiteral("/notimes.json"),
                     QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("--by"), criterion})
                .exitCode,
            2);
    // Ids are digits with an optional minus: no spaces, no plus sign.
    for (const QString& id : {QStringLiteral(" 1"), QStringLiteral("+1")})
        QCOMPARE(gaftool({QStringLiteral("route"), kData + QStringLiteral("/looping.json"), id,
                          QStringLiteral("3")})
                     .exitCode,
                 2);
}

// Queries one a line: each answered with one line as --json gives it (with from and to), a bad
// line with its error and number, and the batch goes on to the end.
void TestGaftoolRoute::batch() {
    const QString map = kData + QStringLiteral("/changes.json");
    const QStringList options{QStringLiteral("--map-code"),          QStringLiteral("A"),
                              QStringLiteral("--map-city"),          QStringLiteral("Lirsk"),
                              QStringLiteral("--decimal-separator"), QStringLiteral(".")};
    QStringList single;
    for (const char* by : {"shortest", "changes"}) {
        const Run r = gaftool(QStringList{QStringLiteral("route"), map, QStringLiteral("0"),
                                          QStringLiteral("2"), QStringLiteral("--by"),
                                          QString::fromLatin1(by), QStringLiteral("--json")} +
                              options);
        QCOMPARE(r.exitCode, 0);
        QJsonObject o = QJsonDocument::fromJson(r.out).object();
        o.insert(QStringLiteral("from"), 0);
        o.insert(QStringLiteral("to"), 2);
        single << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
    }

    QProcess p;
    p.start(QStringLiteral(GAFTOOL_PATH),
            QStringList{QStringLiteral("route"), map, QStringLiteral("--batch")} + options);
    QVERIFY(p.waitForStarted());
    p.write("0 2\n 0  2 changes \n\n0 9\n0 x\n0 2 slowest\n2 2\n");
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QStringList expected{
        single[0],
        single[1],
        QStringLiteral(R"({"error":"ожидается «FROM_ID TO_ID [критерий]»","line":3})"),
        QStringLiteral(R"({"error":"нет остановки с номером 9","line":4})"),
        QStringLiteral(R"({"error":"номера остановок должны быть целыми числами","line":5})"),
        QStringLiteral(
            R"({"error":"неизвестный критерий «slowest»: shortest, fastest или changes","line":6})"),
        QStringLiteral(R"({"error":"начало и конец пути — одна и та же остановка","line":7})"),
        QString()};
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')), expected);
}

QTEST_GUILESS_MAIN(TestGaftoolRoute)
#include "tst_gaftool_route.moc"
