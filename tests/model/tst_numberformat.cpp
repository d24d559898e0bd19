#include "model/numberformat.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace lirsk;

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("comma");
        QTest::addColumn<QString>("point");
        QTest::newRow("zero") << 0.0 << "0"
                              << "0";
        QTest::newRow("negative zero") << -0.0 << "0"
                                       << "0";
        QTest::newRow("fare") << 14.0 << "14"
                              << "14";
        QTest::newRow("km") << 2.35 << "2,35"
                            << "2.35";
        QTest::newRow("half") << 12.5 << "12,5"
                              << "12.5";
        QTest::newRow("whole length") << 350.0 << "350"
                                      << "350";
        QTest::newRow("third") << 1.0 / 3 << "0,333333333333333"
                               << "0.333333333333333";
        QTest::newRow("two thirds") << 2.0 / 3 << "0,666666666666667"
                                    << "0.666666666666667";
        QTest::newRow("1e15 is scientific") << 1e15 << "1E15"
                                            << "1E15";
        QTest::newRow("just below 1e15") << 999999999999999.0 << "999999999999999"
                                         << "999999999999999";
        QTest::newRow("rounds up to 1e15") << 999999999999999.9 << "1E15"
                                           << "1E15";
        QTest::newRow("small scientific") << 1.5e-5 << "1,5E-5"
                                          << "1.5E-5";
        QTest::newRow("smallest fixed") << 0.0001 << "0,0001"
                                        << "0.0001";
        QTest::newRow("negative smallest fixed") << -0.0001 << "-0,0001"
                                                 << "-0.0001";
        QTest::newRow("below 0.0001") << 0.00009 << "9E-5"
                                      << "9E-5";
        QTest::newRow("negative") << -2.5 << "-2,5"
                                  << "-2.5";
        QTest::newRow("15 digits kept") << 123456789.012345 << "123456789,012345"
                                        << "123456789.012345";
        QTest::newRow("16th digit rounded") << 0.1 + 0.2 << "0,3"
                                            << "0.3";
        QTest::newRow("big scientific") << 2.5e20 << "2,5E20"
                                        << "2.5E20";
        QTest::newRow("unreached") << 262136.0 << "262136"
                                   << "262136";
    }
    void format() {
        QFETCH(double, value);
        QFETCH(QString, comma);
        QFETCH(QString, point);
        QCOMPARE(formatGeneral(value, QLatin1Char(',')), comma);
        QCOMPARE(formatGeneral(value, QLatin1Char('.')), point);
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "1500" << true << 1500.0;
        QTest::newRow("comma") << "2,5" << true << 2.5;
        QTest::newRow("point is not the separator") << "2.5" << false << 0.0;
        QTest::newRow("blanks around") << "  12,5 " << true << 12.5;
        QTest::newRow("plus sign") << "+7" << true << 7.0;
        QTest::newRow("minus sign") << "-3" << true << -3.0;
        QTest::newRow("exponent") << "1,5E-5" << true << 1.5e-5;
        QTest::newRow("lower-case exponent") << "2e3" << true << 2000.0;
        QTest::newRow("exponent with plus") << "2E+3" << true << 2000.0;
        QTest::newRow("leading separator") << ",5" << true << 0.5;
        QTest::newRow("trailing separator") << "5," << true << 5.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "   " << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("two separators") << "1,2,3" << false << 0.0;
        QTest::newRow("separator alone") << "," << false << 0.0;
        QTest::newRow("sign alone") << "-" << false << 0.0;
        QTest::newRow("exponent without digits") << "1E" << false << 0.0;
        QTest::newRow("blank inside") << "1 000" << false << 0.0;
        QTest::newRow("trailing letters") << "12abc" << false << 0.0;
        QTest::newRow("overflow") << "1E400" << false << 0.0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const std::optional<double> got = parseGeneral(text, QLatin1Char(','));
        QCOMPARE(got.has_value(), valid);
        if (valid)
            QCOMPARE(*got, value);
    }

    void formatThenParseIsStable_data() {
        QTest::addColumn<double>("value");
        for (double v : {0.0, 1.0, 2.35, 1e-7, 123.456, -98765.4321, 3.14159265358979, 1e20})
            QTest::newRow(qPrintable(QString::number(v))) << v;
    }
    void formatThenParseIsStable() {
        // What the road dialog shows must read back to a value that shows the same way.
        QFETCH(double, value);
        const QString shown = formatGeneral(value, QLatin1Char(','));
        const std::optional<double> back = parseGeneral(shown, QLatin1Char(','));
        QVERIFY(back);
        QCOMPARE(formatGeneral(*back, QLatin1Char(',')), shown);
    }

    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("22.5 to even") << 22.5 << 22;
        QTest::newRow("23.5 to even") << 23.5 << 24;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("2.5001") << 2.5001 << 3;
        QTest::newRow("huge clamps") << 1e20 << std::numeric_limits<int>::max();
        QTest::newRow("huge negative clamps") << -1e20 << std::numeric_limits<int>::min();
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(lirsk::roundHalfEven(value), rounded);
    }

    void shortestRoundTripReadsBack() {
        for (double v : {0.1, 1.0 / 3, 2.35, 262136.0, 1e-300, 5e-324, 1.7976931348623157e308}) {
            bool ok = false;
            QCOMPARE(shortestRoundTrip(v).toDouble(&ok), v);
            QVERIFY(ok);
        }
        QCOMPARE(shortestRoundTrip(2350.0), QStringLiteral("2350"));
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
