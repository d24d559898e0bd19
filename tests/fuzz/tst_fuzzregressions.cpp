// Replays, in every build, the inputs the map file fuzzer once failed on (kept as hex text in
// regressions/) and the shipped maps through the same steps the fuzz target runs.

#include "mapcheck.h"

#include <QDir>
#include <QFile>
#include <QTest>

using lirsk::fuzz::checkMapBytes;
using lirsk::fuzz::decodeHex;

class TestFuzzRegressions : public QObject {
    Q_OBJECT

private slots:
    void decodesHexText_data();
    void decodesHexText();
    void replaysInput_data();
    void replaysInput();
};

void TestFuzzRegressions::decodesHexText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray() << true << QByteArray();
    QTest::newRow("pairs over lines")
        << QByteArray("0a FF\n10\t7f\r\n") << true << QByteArray("\x0a\xff\x10\x7f", 4);
    QTest::newRow("comment lines")
        << QByteArray("# found 2026-12-07\n41 42 # AB\n43") << true << QByteArray("ABC");
    QTest::newRow("zero byte") << QByteArray("00 41") << true << QByteArray("\0A", 2);
    QTest::newRow("odd count") << QByteArray("414") << false << QByteArray();
    QTest::newRow("not hex") << QByteArray("4g") << false << QByteArray();
}

void TestFuzzRegressions::decodesHexText() {
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(QByteArray, bytes);
    bool decoded = !ok;
    QCOMPARE(decodeHex(text, &decoded), bytes);
    QCOMPARE(decoded, ok);
}

void TestFuzzRegressions::replaysInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QDir regressions(QStringLiteral(LIRSK_FUZZ_REGRESSIONS));
    int rows = 0;
    for (const QString& name : regressions.entryList({QStringLiteral("*.hex")}, QDir::Files)) {
        QFile file(regressions.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        bool ok = false;
        const QByteArray bytes = decodeHex(file.readAll(), &ok);
        QVERIFY2(ok, qPrintable(name));
        QTest::newRow(qPrintable(name)) << bytes;
        ++rows;
    }
    const QDir shipped(QStringLiteral(LIRSK_TOOLBOX_MAPS));
    for (const QString& name : shipped.entryList({QStringLiteral("*.gaf")}, QDir::Files)) {
        QFile file(shipped.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << file.readAll();
        ++rows;
    }
    QVERIFY2(rows > 0, "neither regression inputs nor shipped maps found");
}

void TestFuzzRegressions::replaysInput() {
    QFETCH(QByteArray, bytes);
    const QString fault = checkMapBytes(bytes);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
