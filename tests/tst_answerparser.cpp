// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerParser.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestAnswerParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void leadingNumber_data();
    void leadingNumber();
    void hugeNumbersNeverEqualAResult_data();
    void hugeNumbersNeverEqualAResult();
};

void TestAnswerParser::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty box reads 0") << QString() << 0.0;
    QTest::newRow("digits 1 2") << QStringLiteral("12") << 12.0;
    QTest::newRow("leading zeros 007") << QStringLiteral("007") << 7.0;
    QTest::newRow("blank between digits is skipped") << QStringLiteral("  1 2") << 12.0;
    QTest::newRow("tabs and line feeds skipped") << QStringLiteral("\t4\n2 ") << 42.0;
    QTest::newRow("letter stops the number") << QStringLiteral("3a") << 3.0;
    QTest::newRow("comma stops the number") << QStringLiteral("3,5") << 3.0;
    QTest::newRow("letters only read 0") << QStringLiteral("ciao") << 0.0;
    QTest::newRow("one decimal point") << QStringLiteral("2.5") << 2.5;
    QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("point first") << QStringLiteral(".5") << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("8.") << 8.0;
    QTest::newRow("minus sign") << QStringLiteral("-4") << -4.0;
    QTest::newRow("plus sign") << QStringLiteral("+4") << 4.0;
    QTest::newRow("blank after the sign") << QStringLiteral("- 5") << -5.0;
    QTest::newRow("minus zero equals zero") << QStringLiteral("-0") << 0.0;
    QTest::newRow("sign alone reads 0") << QStringLiteral("-") << 0.0;
    QTest::newRow("second sign stops") << QStringLiteral("4-2") << 4.0;
    QTest::newRow("exponent is not read") << QStringLiteral("1e999") << 1.0;
    QTest::newRow("hex prefix reads 0") << QStringLiteral("0x1F") << 0.0;
    QTest::newRow("carriage return stops") << QStringLiteral("5\r6") << 5.0;
    QTest::newRow("non-ASCII digit stops") << QStringLiteral("7\u0663") << 7.0;
    QTest::newRow("largest result") << QStringLiteral("98901") << 98901.0;
    QTest::newRow("many leading zeros") << QString(400, u'0') + QStringLiteral("12") << 12.0;
    QTest::newRow("tiny fraction underflows to 0")
        << QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1") << 0.0;
}

void TestAnswerParser::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(AnswerParser::leadingNumber(text), expected);
}

void TestAnswerParser::hugeNumbersNeverEqualAResult_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("sign");
    QTest::newRow("hundreds of digits") << QString(500, u'9') << 1.0;
    QTest::newRow("hundreds of digits, negative")
        << QStringLiteral("-") + QString(500, u'9') << -1.0;
    QTest::newRow("hundreds of digits after zeros")
        << QStringLiteral("000") + QString(400, u'1') << 1.0;
}

void TestAnswerParser::hugeNumbersNeverEqualAResult()
{
    QFETCH(QString, text);
    QFETCH(double, sign);
    const double value = AnswerParser::leadingNumber(text);
    QVERIFY(std::isinf(value));
    QCOMPARE(value, sign * std::numeric_limits<double>::infinity());
}

QTEST_APPLESS_MAIN(TestAnswerParser)
#include "tst_answerparser.moc"
