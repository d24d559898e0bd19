#include "app/desktopdialogs.h"
#include "platform/messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// The desktop's own file dialogs, answered by a test: where they start, and what they ask.
class TestDesktopDialogs : public QObject {
    Q_OBJECT

    QStringList messages;
    QStringList dialogFolders;

    // Answers the next file dialogs in turn: each answer chooses a file, or cancels when empty.
    void answerDialogs(QStringList answers) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timer, answers]() mutable {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            dialogFolders << dialog->directory().absolutePath();
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            if (answer.isEmpty()) {
                dialog->reject();
                timer->deleteLater();
                return;
            }
            // Typed, as a user does: the list of an existing file's folder may not be read yet.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(answer);
            static_cast<QDialog*>(dialog)->accept();
        });
        timer->start(10);
    }

private slots:
    void init() {
        messages.clear();
        dialogFolders.clear();
        lirsk::setMessageHandler([this](const lirsk::MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Yes;
        });
    }
    void cleanup() { lirsk::setMessageHandler({}); }

    void dialogsStartInTheFolderUsedLast() {
        QTemporaryDir dir;
        SystemDesktopDialogs desktop;
        const QString file = dir.filePath(QStringLiteral("new.gaf"));
        answerDialogs({file, QString()});
        QCOMPARE(desktop.saveFileName(nullptr, {}), file);
        QCOMPARE(desktop.openFileName(nullptr), QString());
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(dialogFolders,
                 QStringList({QFileInfo(documents).isDir() ? documents : QDir::homePath(),
                              QDir(dir.path()).absolutePath()}));
    }

    void refusedNameIsRefusedBeforeReplacing() {
        QTemporaryDir dir;
        const QString builtin = dir.filePath(QStringLiteral("builtin.gaf"));
        const QString other = dir.filePath(QStringLiteral("other.gaf"));
        for (const QString& path : {builtin, other}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        SystemDesktopDialogs desktop;
        answerDialogs({builtin, other});
        const QString chosen = desktop.saveFileName(nullptr, [&](const QString& path) {
            return path == builtin ? QStringLiteral("нельзя") : QString();
        });
        QCOMPARE(chosen, other);
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0], QStringLiteral("нельзя"));
        QVERIFY(messages[1].endsWith(QStringLiteral("Заменить?")));
    }
};

QTEST_MAIN(TestDesktopDialogs)
#include "tst_desktopdialogs.moc"
