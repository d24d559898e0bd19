// The program as a desktop user gets it: the help command, the icon, the installed tree, and the
// picture of a found way that the README shows.

#include "app/accessdialog.h"
#include "app/appicon.h"
#include "editfixture.h"
#include "mapstops.h"
#include "testdesktop.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/modal.h"
#include "edit/routereportdialog.h"
#include "model/catalogue.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace lirsk;

namespace {

const QString kHelpPage = QStringLiteral("toolbox/help/index.html");

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The keys of a desktop entry file's main group.
QMap<QString, QString> desktopEntry(const QString& path) {
    QMap<QString, QString> keys;
    bool inMain = false;
    for (const QString& line : readText(path).split('\n')) {
        if (line.startsWith('['))
            inMain = line == QStringLiteral("[Desktop Entry]");
        else if (inMain && line.contains('='))
            keys.insert(line.section('=', 0, 0), line.section('=', 1));
    }
    return keys;
}

QPoint centreOf(const GraphMap& map, StopIndex stop) {
    return testing::centreOf(map.stop(stop));
}

// Every file the build puts under toolbox/ for the built-in maps: the maps and their pictures.
QStringList builtinDataFiles() {
    QStringList files;
    for (const MapMenuEntry& entry : mapMenuCatalogue()) {
        if (entry.path.isEmpty() || !QFileInfo::exists(DataRoots().first() + '/' + entry.path))
            continue;
        files << entry.path;
        const QString picture = builtinSetup(recognizeMapPath(entry.path)).picture;
        if (!picture.isEmpty())
            files << picture;
    }
    files.removeDuplicates();
    return files;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    TestDesktop desktop;
    std::unique_ptr<MainWindow> frame;
    QStringList messages;
    QStringList opened;
    int reports = 0;

private slots:
    void init() {
        messages.clear();
        opened.clear();
        reports = 0;
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        frame = std::make_unique<MainWindow>();
        frame->setDesktopDialogs(&desktop);
        frame->programDialogs().setRunner([this](QDialog& dialog) {
            ++reports;
            return int(dialog.result());
        });
    }

    void cleanup() {
        if (frame)
            edittest::closeMapWindows(*frame);
        frame.reset();
        setMessageHandler({});
    }

    void helpCommand_data() {
        QTest::addColumn<QString>("page");
        // What the opener does: shows the page, finds no viewer, or starts and then gives up.
        QTest::addColumn<QString>("viewer");
        QTest::addColumn<bool>("fromElsewhere");
        QTest::addColumn<int>("openings");
        QTest::addColumn<QString>("message");
        const QString noViewer = QStringLiteral("Не удалось открыть справку");
        QTest::newRow("opens the page") << kHelpPage << "shows" << false << 1 << QString();
        QTest::newRow("from another folder") << kHelpPage << "shows" << true << 1 << QString();
        QTest::newRow("no viewer") << kHelpPage << "none" << true << 1 << noViewer;
        QTest::newRow("viewer gives up") << kHelpPage << "gives up" << true << 1 << noViewer;
        QTest::newRow("no page") << QStringLiteral("toolbox/help/missing.html") << "shows" << true
                                 << 0 << QStringLiteral("Файл справки не найден");
    }

    void helpCommand() {
        QFETCH(QString, page);
        QFETCH(QString, viewer);
        QFETCH(bool, fromElsewhere);
        QFETCH(int, openings);
        QFETCH(QString, message);
        frame->HelpPage = page;
        desktop.viewer = [&](const QString& path, const std::function<void()>& failed) {
            opened << path;
            if (viewer == QLatin1String("none"))
                failed();
            if (viewer == QLatin1String("gives up"))
                QTimer::singleShot(0, failed);
        };
        QTemporaryDir elsewhere;
        const QString home = QDir::currentPath();
        if (fromElsewhere)
            QVERIFY(QDir::setCurrent(elsewhere.path()));
        frame->acHelp->trigger();
        QDir::setCurrent(home);
        QCoreApplication::processEvents();

        QCOMPARE(opened.size(), openings);
        for (const QString& path : opened) {
            // The viewer gets a whole path, whatever the program's current folder.
            QVERIFY2(QFileInfo(path).isAbsolute(), qPrintable(path));
            QVERIFY(QFileInfo(path).isFile());
            QVERIFY(path.endsWith(QStringLiteral("/") + kHelpPage));
        }
        if (message.isEmpty()) {
            QCOMPARE(messages, QStringList());
        } else {
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages[0].startsWith(message), qPrintable(messages[0]));
        }
    }

    void helpPagesHold() {
        const QString dir = QDir(DataRoots().first()).filePath(QStringLiteral("toolbox/help"));
        const QString page = readText(dir + QStringLiteral("/index.html"));
        QVERIFY2(!page.isEmpty(), qPrintable(dir));
        QVERIFY(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        QVERIFY(page.contains(QStringLiteral("lang=\"ru\"")));
        // Every link within the page has its target, every file it refers to is shipped.
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        for (const QRegularExpressionMatch& m : link.globalMatch(page)) {
            const QString target = m.captured(1);
            if (target.startsWith('#'))
                QVERIFY2(page.contains(QStringLiteral("id=\"%1\"").arg(target.mid(1))),
                         qPrintable(target));
            else
                QVERIFY2(QFileInfo::exists(dir + '/' + target), qPrintable(target));
        }
        // The topics a user looks for.
        for (const char* topic : {"Отчет", "Панель поиска", "Информация об остановке",
                                  "Настройки параметров", "Режим редактора", ".gaf"})
            QVERIFY2(page.contains(QString::fromUtf8(topic)), topic);
        // The editor password is given to map makers only.
        QVERIFY(!AccessDialog::EditorPassword.isEmpty());
        QVERIFY(!page.contains(AccessDialog::EditorPassword));
    }

    void iconAtEverySize_data() {
        QTest::addColumn<int>("side");
        for (int side : appIconSizes())
            QTest::addRow("%d", side) << side;
    }

    void iconAtEverySize() {
        QFETCH(int, side);
        const QImage image = drawAppIcon(side);
        QCOMPARE(image.size(), QSize(side, side));
        // A rounded tile: clear corners, a solid middle.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
        QCOMPARE(qAlpha(image.pixel(side / 2, side / 2)), 255);
        // The frame's window icon has the picture at this very size, not a scaled copy.
        const QIcon icon = frame->windowIcon();
        QVERIFY(icon.availableSizes().contains(QSize(side, side)));
        QCOMPARE(icon.pixmap(QSize(side, side)).toImage().convertToFormat(image.format()), image);
    }

    void menuPicturesAreSharpWhenScaled() {
        // Each command picture is drawn at twice its size too, not enlarged from 16 pixels.
        for (const QIcon& icon : frame->menuImages) {
            QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
            const QImage small = icon.pixmap(QSize(16, 16)).toImage();
            const QImage large = icon.pixmap(QSize(32, 32)).toImage();
            QCOMPARE(large.size(), QSize(32, 32));
            QVERIFY(large != small.scaled(32, 32));
        }
    }

    void installedTreeFindsEverything() {
        QTemporaryDir prefix;
        QProcess install;
        install.start(QStringLiteral(LIRSK_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(LIRSK_BUILD_DIR),
                       QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

        const QDir root(prefix.path());
        for (const char* program : {"bin/lirskmap", "bin/gaftool"})
            QVERIFY2(QFileInfo(root.filePath(QLatin1String(program))).isExecutable(), program);
        // The program looks for its data in ../share/lirskmap beside its own folder.
        const QDir data(root.filePath(QStringLiteral("bin/../share/lirskmap")));
        const QStringList files = builtinDataFiles();
        QVERIFY(files.size() >= 6);
        for (const QString& file : files + QStringList{kHelpPage, "toolbox/help/style.css"})
            QVERIFY2(QFileInfo(data.filePath(file)).isFile(), qPrintable(file));

        const QMap<QString, QString> entry =
            desktopEntry(root.filePath(QStringLiteral("share/applications/lirskmap.desktop")));
        QCOMPARE(entry.value("Type"), QStringLiteral("Application"));
        QCOMPARE(entry.value("Exec"), QStringLiteral("lirskmap"));
        QCOMPARE(entry.value("Icon"), QStringLiteral("lirskmap"));
        QCOMPARE(entry.value("Name[ru]"), QStringLiteral("Карта Лирска"));
        QVERIFY(!entry.value("Comment[ru]").isEmpty());
        for (int side : appIconSizes()) {
            const QString icon = root.filePath(
                QStringLiteral("share/icons/hicolor/%1x%1/apps/lirskmap.png").arg(side));
            QCOMPARE(QImage(icon).size(), QSize(side, side));
        }

        // The installed tool reads the installed maps, started from another folder.
        for (const QString& file : files) {
            if (!file.endsWith(QStringLiteral(".gaf")))
                continue;
            QProcess check;
            check.setWorkingDirectory(QDir::rootPath());
            check.start(root.filePath(QStringLiteral("bin/gaftool")),
                        {QStringLiteral("validate"), data.filePath(file)});
            QVERIFY(check.waitForFinished(60000));
            QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0,
                     qPrintable(file + ": " + check.readAllStandardOutput()));
        }
    }

    void foundWayPicture() {
        // A drag from one stop to another on the Petersburg metro, as the README shows it.
        frame->resize(1000, 800);
        frame->show();
        const MapMenuEntry* piter = nullptr;
        for (const MapMenuEntry& entry : mapMenuCatalogue())
            if (entry.path.endsWith(QStringLiteral("MPiter.gaf")))
                piter = &entry;
        QVERIFY(piter);
        MapWindow* child = frame->OpenBuiltinMap(*piter);
        QVERIFY(child);
        QCOMPARE(child->editor().mode(), lirsk::MapMode::FindWay);
        const QImage plain =
            child->view()->renderMap(QRect(QPoint(0, 0), child->view()->mapSize()));
        const StopIndex from = testing::stopNamed(child->Map(), QStringLiteral("Девяткино"));
        const StopIndex to = testing::stopNamed(child->Map(), QStringLiteral("Купчино"));
        QVERIFY(from != NoStop && to != NoStop);
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {},
                          centreOf(child->Map(), from));
        QTest::mouseMove(child->view()->viewport(), centreOf(child->Map(), to));
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {},
                            centreOf(child->Map(), to));
        QCOMPARE(reports, 1);
        QCOMPARE(messages, QStringList());
        // What the README says of this way.
        QCOMPARE(frame->programDialogs().routeReport()->fareLabel->text(),
                 QStringLiteral("12 руб."));
        QCOMPARE(frame->programDialogs().routeReport()->lengthLabel->text(),
                 QStringLiteral("29.822 км."));
        QCOMPARE(frame->programDialogs().routeReport()->timeLabel->text(),
                 QStringLiteral("49 мин."));
        QCOMPARE(frame->programDialogs().routeReport()->ridesLabel->text().count(
                     QStringLiteral("от ост.")),
                 2);
        QVERIFY(frame->programDialogs().routeReport()->ridesLabel->text().contains(
            QStringLiteral("до ост. Технологический институт\n№ 1")));
        const QImage withWay =
            child->view()->renderMap(QRect(QPoint(0, 0), child->view()->mapSize()));
        QVERIFY(withWay != plain);

        QVERIFY(QDir().mkpath(QStringLiteral(LIRSK_PICTURE_DIR)));
        QVERIFY(withWay.save(
            QDir(QStringLiteral(LIRSK_PICTURE_DIR)).filePath(QStringLiteral("found-way.png"))));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
