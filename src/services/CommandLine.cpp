// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "AppVersion.h"
#include "ClassSetupReader.h"
#include "GameTexts.h"

#include <QCommandLineParser>

namespace {
namespace Words = GameTexts::Setup;

struct ValueOption
{
    const QString &key;
    QString valueName;
    QString description;
};

QList<ValueOption> valueOptions()
{
    QStringList operations;
    for (const GameTexts::OperationTitles &t : GameTexts::Titles)
        operations << t.title.toLower();
    QStringList levels;
    for (std::size_t i = 0; i < GameTexts::LevelNames.size(); ++i)
        levels << QStringLiteral("%1 %2").arg(i + 1).arg(GameTexts::LevelNames[i]);
    return {
        {Words::operations, QStringLiteral("elenco"),
         QStringLiteral("Le operazioni offerte, separate da virgole: %1.")
             .arg(operations.join(QStringLiteral(", ")))},
        {Words::levels, QStringLiteral("elenco"),
         QStringLiteral("I livelli offerti, separati da virgole: %1.")
             .arg(levels.join(QStringLiteral(", ")))},
        {Words::sound, QStringLiteral("sì|no|mai"),
         QStringLiteral("sì: i suoni ci sono; no: partono spenti, il bambino può accenderli; "
                        "mai: spenti, e l'interruttore bloccato.")},
        {Words::voice, QStringLiteral("sì|no"),
         QStringLiteral("sì: il gioco legge ad alta voce i messaggi e le operazioni, per chi "
                        "non sa ancora leggere; no: come senza l'opzione.")},
    };
}

QString helpText(const QList<ValueOption> &options)
{
    QString text = QStringLiteral("Uso: vortani [opzioni]\n\n%1: addizioni, sottrazioni, "
                                  "moltiplicazioni e divisioni per bambini.\nSenza opzioni offre "
                                  "tutte le operazioni e tutti i livelli, con i suoni.\n\n"
                                  "Opzioni:\n")
                       .arg(GameTexts::WindowTitle);
    const auto line = [&text](const QString &option, const QString &description) {
        text += QStringLiteral("  %1\n      %2\n").arg(option, description);
    };
    for (const ValueOption &o : options)
        line(QStringLiteral("--%1=<%2>").arg(o.key, o.valueName), o.description);
    line(QStringLiteral("--verifica"),
         QStringLiteral("Controlla le altre opzioni e termina, senza far partire il gioco."));
    line(QStringLiteral("-h, --help"), QStringLiteral("Mostra questo aiuto."));
    line(QStringLiteral("--version"), QStringLiteral("Mostra la versione."));
    text += QStringLiteral("\nEsempio: vortani --operazioni=addizione --livelli=1,2 --suoni=no\n");
    return text;
}
} // namespace

CommandLine::Request CommandLine::read(const QStringList &arguments)
{
    const QList<ValueOption> options = valueOptions();
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const ValueOption &o : options)
        parser.addOption({o.key, o.description, o.valueName});
    const QCommandLineOption check(QStringLiteral("verifica"));
    const QCommandLineOption help(
        QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({check, help, version});

    QList<ClassSetupReader::Setting> settings;
    if (!parser.parse(arguments)) {
        // Options not known are read as keys, so that the message is the set-up's own.
        for (const QString &name : parser.unknownOptionNames())
            settings.append({name, {}});
        if (settings.isEmpty())
            return {Kind::Refuse,
                    {},
                    QStringLiteral("Un'opzione è scritta senza il suo valore, o con un valore "
                                   "che non vuole: si scrive per esempio --%1=1,2.")
                        .arg(Words::levels)};
    }
    if (parser.isSet(help))
        return {Kind::Help, {}, helpText(options)};
    if (parser.isSet(version))
        return {Kind::Version,
                {},
                QStringLiteral("%1 %2").arg(GameTexts::WindowTitle, AppVersion::Text)};
    if (!parser.positionalArguments().isEmpty())
        return {Kind::Refuse,
                {},
                QStringLiteral("«%1» non è un'opzione: le opzioni si scrivono come --%2=1,2.")
                    .arg(parser.positionalArguments().first(), Words::levels)};
    for (const QString &key : {Words::operations, Words::levels, Words::sound, Words::voice})
        for (const QString &value : parser.values(key))
            settings.append({key, value});
    const ClassSetupReader::Reading reading = ClassSetupReader::read(settings);
    if (!reading.setup)
        return {Kind::Refuse, {}, reading.problem};
    return {parser.isSet(check) ? Kind::Check : Kind::Play, *reading.setup, {}};
}
