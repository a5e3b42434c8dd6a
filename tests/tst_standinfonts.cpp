// SPDX-License-Identifier: GPL-3.0-or-later
// The look-alikes that stand in for the forms' fonts where the system lacks them.
#include "StandInFonts.h"
#include "TestMain.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTest>

class TestStandInFonts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void standsInOnlyForAMissingFamily_data();
    void standsInOnlyForAMissingFamily();
};

void TestStandInFonts::standsInOnlyForAMissingFamily_data()
{
    // An empty wanted family: the look-alike's own, which the system has.
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("stoodIn");
    QTest::newRow("missing, look-alike beside the program")
        << "Vortani Missing Sans" << true << true;
    QTest::newRow("missing, no look-alike") << "Vortani Missing Serif" << false << false;
    QTest::newRow("the system has it") << QString() << true << false;
}

void TestStandInFonts::standsInOnlyForAMissingFamily()
{
    QFETCH(QString, wanted);
    QFETCH(bool, fileThere);
    QFETCH(bool, stoodIn);
    const QString source = QStringLiteral(":/fonts/LiberationSans-Regular.ttf");
    const int id = QFontDatabase::addApplicationFont(source);
    QVERIFY(id >= 0);
    const QString family = QFontDatabase::applicationFontFamilies(id).constFirst();
    if (wanted.isEmpty())
        wanted = family;
    else
        QVERIFY(!QFontDatabase::families().contains(wanted));
    QTemporaryDir folder;
    const QString file = QStringLiteral("StandIn.ttf");
    if (fileThere)
        QVERIFY(QFile::copy(source, folder.filePath(file)));

    const QStringList result = StandInFonts::install(
        QDir(folder.path()), {{wanted, family, QStringLiteral("StandIn*.ttf")}});
    QCOMPARE(result, stoodIn ? QStringList{wanted} : QStringList{});
    // Qt keeps substitutes in lower case.
    QCOMPARE(QFont::substitutes(wanted).join(u','), stoodIn ? family.toLower() : QString());
    if (stoodIn)
        QCOMPARE(QFontInfo(QFont(wanted, 12)).family(), family);
}

VORTANI_GUI_TEST_MAIN(TestStandInFonts)
#include "tst_standinfonts.moc"
