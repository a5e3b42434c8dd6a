// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers and problems as they are read aloud, over every range the levels can deal.
#include "ItalianWords.h"

#include <QTest>

class TestItalianWords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numbers_data();
    void numbers();
    void problems_data();
    void problems();
};

void TestItalianWords::numbers_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("words");
    const std::initializer_list<std::pair<int, const char *>> rows{
        {0, "zero"},
        {1, "uno"},
        {3, "tre"},
        {9, "nove"},
        {10, "dieci"},
        {13, "tredici"},
        {17, "diciassette"},
        {19, "diciannove"},
        {20, "venti"},
        {21, "ventuno"},
        {23, "ventitré"},
        {28, "ventotto"},
        {71, "settantuno"},
        {88, "ottantotto"},
        {99, "novantanove"},
        {100, "cento"},
        {101, "centouno"},
        {103, "centotré"},
        {108, "centotto"},
        {180, "centottanta"},
        {283, "duecentottantatré"},
        {999, "novecentonovantanove"},
        {1000, "mille"},
        {1001, "milleuno"},
        {1008, "milleotto"},
        {1098, "millenovantotto"},
        {2000, "duemila"},
        {3003, "tremilatré"},
        {8080, "ottomilaottanta"},
        {21000, "ventunomila"},
        {23000, "ventitremila"},
        {98901, "novantottomilanovecentouno"},
        {-1, ""},
        {1000000, ""},
    };
    for (const auto &[n, words] : rows)
        QTest::newRow(qPrintable(QString::number(n))) << n << QString::fromUtf8(words);
}

void TestItalianWords::numbers()
{
    QFETCH(int, n);
    QFETCH(QString, words);
    QCOMPARE(ItalianWords::number(n), words);
}

void TestItalianWords::problems_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("words");
    QTest::newRow("addition") << Operation::Addition << 7 << 5 << "sette più cinque";
    QTest::newRow("subtraction") << Operation::Subtraction << 15 << 8 << "quindici meno otto";
    QTest::newRow("multiplication") << Operation::Multiplication << 6 << 7 << "sei per sette";
    QTest::newRow("division") << Operation::Division << 42 << 6 << "quarantadue diviso sei";
    QTest::newRow("the largest dividend")
        << Operation::Division << 98901 << 99 << "novantottomilanovecentouno diviso novantanove";
}

void TestItalianWords::problems()
{
    QFETCH(Operation, operation);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(QString, words);
    QCOMPARE(ItalianWords::problem(operation, left, right), words);
}

QTEST_APPLESS_MAIN(TestItalianWords)
#include "tst_italianwords.moc"
