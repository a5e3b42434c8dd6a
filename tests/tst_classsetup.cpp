// SPDX-License-Identifier: GPL-3.0-or-later
// A class's set-up as the teacher writes it: what is read, what is refused and why.
#include "ClassSetupReader.h"
#include "CommandLine.h"

#include <QTest>

namespace {
using Settings = QList<ClassSetupReader::Setting>;

ClassSetup offering(std::array<bool, 4> operations, std::array<bool, 4> levels,
                    SoundStart sound = SoundStart::On, bool voice = false)
{
    return {operations, levels, sound, voice};
}

constexpr std::array<bool, 4> All{true, true, true, true};
} // namespace

Q_DECLARE_METATYPE(Settings)
Q_DECLARE_METATYPE(ClassSetup)

class TestClassSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsWhatTheTeacherMeant_data();
    void readsWhatTheTeacherMeant();
    void refusesNamingTheBadPart_data();
    void refusesNamingTheBadPart();
    void commandLine_data();
    void commandLine();
};

void TestClassSetup::readsWhatTheTeacherMeant_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<ClassSetup>("expected");
    QTest::newRow("nothing: everything, with sound") << Settings{} << ClassSetup{};
    QTest::newRow("one operation, two levels, sound off")
        << Settings{{"operazioni", "addizione"}, {"livelli", "1,2"}, {"suoni", "no"}}
        << offering({true, false, false, false}, {true, true, false, false}, SoundStart::Off);
    QTest::newRow("case, blanks, repeats and a stray comma")
        << Settings{{"operazioni", " Divisione , MOLTIPLICAZIONE,divisione,"}, {"livelli", "4, 3"}}
        << offering({false, false, true, true}, {false, false, true, true});
    QTest::newRow("sound never") << Settings{{"suoni", "mai"}}
                                 << offering(All, All, SoundStart::Locked);
    QTest::newRow("sì with its accent, capital") << Settings{{"suoni", "Sì"}} << ClassSetup{};
    QTest::newRow("si without it") << Settings{{"suoni", "si"}} << ClassSetup{};
    // As some keyboards and systems send it: an i followed by a combining grave.
    QTest::newRow("sì decomposed, voice on") << Settings{{"voce", QStringLiteral("si\u0300")}}
                                             << offering(All, All, SoundStart::On, true);
    QTest::newRow("voice off") << Settings{{"voce", "no"}} << ClassSetup{};
}

void TestClassSetup::readsWhatTheTeacherMeant()
{
    QFETCH(Settings, settings);
    QFETCH(ClassSetup, expected);
    const ClassSetupReader::Reading reading = ClassSetupReader::read(settings);
    QVERIFY2(reading.setup, qPrintable(reading.problem));
    QVERIFY(reading.problem.isEmpty());
    QVERIFY(*reading.setup == expected);
}

void TestClassSetup::refusesNamingTheBadPart_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("problem");
    QTest::newRow("unknown key") << Settings{{"colore", "blu"}}
                                 << "«colore» non è un'impostazione di Vortani Puzzle: si possono "
                                    "usare operazioni, livelli, suoni e voce.";
    QTest::newRow("key in capitals")
        << Settings{{"LIVELLI", "1"}} << "«LIVELLI» non è un'impostazione";
    QTest::newRow("repeated key") << Settings{{"livelli", "1"}, {"livelli", "2"}}
                                  << "livelli è scritto più di una volta";
    QTest::newRow("unknown operation")
        << Settings{{"operazioni", "addizione,somma"}}
        << "In operazioni, «somma» non è un'operazione: si possono scegliere addizione, "
           "sottrazione, moltiplicazione e divisione, separate da virgole.";
    QTest::newRow("empty operations")
        << Settings{{"operazioni", " , "}} << "operazioni è vuoto: scegli almeno un'operazione";
    QTest::newRow("level above the table")
        << Settings{{"livelli", "1,5"}}
        << "In livelli, «5» non è un livello: i livelli vanno da 1 a 4, separati da virgole.";
    QTest::newRow("level 0") << Settings{{"livelli", "0"}} << "«0» non è un livello";
    QTest::newRow("level with a sign") << Settings{{"livelli", "+1"}} << "«+1» non è un livello";
    QTest::newRow("level by name") << Settings{{"livelli", "basso"}} << "«basso» non è un livello";
    QTest::newRow("levels with blanks") << Settings{{"livelli", "1 2"}} << "«1 2» non è un livello";
    QTest::newRow("empty levels") << Settings{{"livelli", ""}} << "livelli è vuoto";
    QTest::newRow("unknown sound")
        << Settings{{"suoni", "forse"}}
        << "In suoni, «forse» non va bene: si può scrivere sì (i suoni ci sono), no (partono "
           "spenti, il bambino può accenderli) o mai (spenti, e l'interruttore bloccato).";
    QTest::newRow("sound without a value") << Settings{{"suoni", ""}} << "In suoni manca il valore";
    QTest::newRow("voice never") << Settings{{"voce", "mai"}}
                                 << "In voce, «mai» non va bene: si può scrivere sì o no.";
    // The first bad part is the one named, whatever follows it.
    QTest::newRow("first fault wins")
        << Settings{{"livelli", "9"}, {"colore", "blu"}} << "«9» non è un livello";
}

void TestClassSetup::refusesNamingTheBadPart()
{
    QFETCH(Settings, settings);
    QFETCH(QString, problem);
    const ClassSetupReader::Reading reading = ClassSetupReader::read(settings);
    QVERIFY(!reading.setup);
    QVERIFY2(reading.problem.startsWith(problem) || reading.problem.contains(problem),
             qPrintable(reading.problem));
}

void TestClassSetup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text"); // contained in the request's text
    using K = CommandLine::Kind;
    QTest::newRow("none") << QStringList{} << int(K::Play) << QString();
    QTest::newRow("a class's line")
        << QStringList{"--operazioni=divisione", "--livelli=3,4", "--suoni=no"} << int(K::Play)
        << QString();
    QTest::newRow("value as the next argument")
        << QStringList{"--livelli", "2"} << int(K::Play) << QString();
    QTest::newRow("help") << QStringList{"--help"} << int(K::Help) << "--operazioni=<elenco>";
    QTest::newRow("help, short") << QStringList{"-h"} << int(K::Help) << "--suoni=<sì|no|mai>";
    QTest::newRow("version") << QStringList{"--version"} << int(K::Version) << "Vortani Puzzle 3.5";
    QTest::newRow("check") << QStringList{"--verifica", "--livelli=1"} << int(K::Check)
                           << QString();
    QTest::newRow("check of a bad line")
        << QStringList{"--verifica", "--livelli=7"} << int(K::Refuse) << "«7» non è un livello";
    QTest::newRow("unknown option")
        << QStringList{"--colore=blu"} << int(K::Refuse) << "«colore» non è un'impostazione";
    QTest::newRow("option given twice") << QStringList{"--suoni=no", "--suoni=mai"}
                                        << int(K::Refuse) << "suoni è scritto più di una volta";
    QTest::newRow("a word with no option")
        << QStringList{"addizione"} << int(K::Refuse) << "«addizione» non è un'opzione";
    QTest::newRow("option without its value")
        << QStringList{"--livelli"} << int(K::Refuse) << "senza il suo valore";
}

void TestClassSetup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    QFETCH(QString, text);
    const CommandLine::Request request =
        CommandLine::read(QStringList{QStringLiteral("vortani")} + arguments);
    QCOMPARE(int(request.kind), kind);
    QVERIFY2(request.text.contains(text), qPrintable(request.text));
    if (request.kind == CommandLine::Kind::Refuse)
        QVERIFY(!request.text.isEmpty());
}

QTEST_GUILESS_MAIN(TestClassSetup)
#include "tst_classsetup.moc"
