// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClassSetupReader.h"

#include "GameTexts.h"

#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace {
namespace Words = GameTexts::Setup;

QString quoted(const QString &text)
{
    return QStringLiteral("«%1»").arg(text);
}

// "a, b, c e d": how a sentence lists what may be written; "a, b o c" for a choice of one.
QString listed(const QStringList &words, const QString &conjunction = QStringLiteral(" e "))
{
    if (words.size() < 2)
        return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + conjunction + words.last();
}

QString operationWord(std::size_t i)
{
    return GameTexts::Titles[i].title.toLower();
}

QStringList operationWords()
{
    QStringList words;
    for (std::size_t i = 0; i < Operations.size(); ++i)
        words << operationWord(i);
    return words;
}

// The value as the teacher meant it: "Sì", " si " and a decomposed accent all read as "sì".
QString normalised(const QString &value)
{
    return value.trimmed().toLower().normalized(QString::NormalizationForm_C);
}

QStringList items(const QString &value)
{
    QStringList out;
    for (const QString &item : value.split(u','))
        if (!normalised(item).isEmpty())
            out << normalised(item);
    return out;
}

struct Part
{
    QString problem; // empty when the part was read
};

Part readOperations(const QString &value, ClassSetup &setup)
{
    const QStringList chosen = items(value);
    if (chosen.isEmpty())
        return {QStringLiteral("%1 è vuoto: scegli almeno un'operazione tra %2.")
                    .arg(Words::operations, listed(operationWords()))};
    setup.operations.fill(false);
    for (const QString &word : chosen) {
        const qsizetype i = operationWords().indexOf(word);
        if (i < 0)
            return {QStringLiteral("In %1, %2 non è un'operazione: si possono scegliere %3, "
                                   "separate da virgole.")
                        .arg(Words::operations, quoted(word), listed(operationWords()))};
        setup.operations[std::size_t(i)] = true;
    }
    return {};
}

Part readLevels(const QString &value, ClassSetup &setup)
{
    const QStringList chosen = items(value);
    const QString allowed = QStringLiteral("i livelli vanno da 1 a %1, separati da virgole")
                                .arg(LevelTable::LevelCount);
    if (chosen.isEmpty())
        return {QStringLiteral("%1 è vuoto: scegli almeno un livello; %2.")
                    .arg(Words::levels, allowed)};
    setup.levels.fill(false);
    for (const QString &word : chosen) {
        bool number = false;
        const int level = word.toInt(&number);
        // Only the plain digit: "+1" or "01" would be a guess.
        if (!number || word != QString::number(level) || level < 1 ||
            level > LevelTable::LevelCount)
            return {QStringLiteral("In %1, %2 non è un livello: %3.")
                        .arg(Words::levels, quoted(word), allowed)};
        setup.levels[std::size_t(level - 1)] = true;
    }
    return {};
}

// A yes or no, or for the sound also a never; each with what it means, for the message.
struct Choice
{
    const QStringList &spellings;
    QString meaning;
};

Part readChoice(const QString &key, const QString &value, std::initializer_list<Choice> choices,
                int &chosen)
{
    const QString word = normalised(value);
    chosen = 0;
    for (const Choice &c : choices) {
        if (c.spellings.contains(word))
            return {};
        ++chosen;
    }
    QStringList allowed;
    for (const Choice &c : choices)
        allowed << c.spellings.first() + c.meaning;
    const QString what = word.isEmpty()
                             ? QStringLiteral("In %1 manca il valore").arg(key)
                             : QStringLiteral("In %1, %2 non va bene").arg(key, quoted(word));
    return {QStringLiteral("%1: si può scrivere %2.")
                .arg(what, listed(allowed, QStringLiteral(" o ")))};
}

Part readSound(const QString &value, ClassSetup &setup)
{
    int chosen = 0;
    Part part =
        readChoice(Words::sound, value,
                   {{Words::yes, QStringLiteral(" (i suoni ci sono)")},
                    {Words::no, QStringLiteral(" (partono spenti, il bambino può accenderli)")},
                    {Words::never, QStringLiteral(" (spenti, e l'interruttore bloccato)")}},
                   chosen);
    if (part.problem.isEmpty())
        setup.sound = std::array{SoundStart::On, SoundStart::Off, SoundStart::Locked}[chosen];
    return part;
}

Part readVoice(const QString &value, ClassSetup &setup)
{
    int chosen = 0;
    Part part = readChoice(Words::voice, value, {{Words::yes, {}}, {Words::no, {}}}, chosen);
    if (part.problem.isEmpty())
        setup.voice = chosen == 0;
    return part;
}

using PartReader = Part (*)(const QString &, ClassSetup &);
struct Key
{
    const QString &name;
    PartReader read;
};
} // namespace

ClassSetupReader::Reading ClassSetupReader::read(const QList<Setting> &settings)
{
    const std::array<Key, 4> keys{{{Words::operations, readOperations},
                                   {Words::levels, readLevels},
                                   {Words::sound, readSound},
                                   {Words::voice, readVoice}}};
    ClassSetup setup;
    QStringList seen;
    for (const Setting &setting : settings) {
        const QString key = setting.key.trimmed();
        const auto known =
            std::find_if(keys.begin(), keys.end(), [&](const Key &k) { return k.name == key; });
        if (known == keys.end()) {
            QStringList names;
            for (const Key &k : keys)
                names << k.name;
            return {{},
                    QStringLiteral("%1 non è un'impostazione di %2: si possono usare %3.")
                        .arg(quoted(key), GameTexts::WindowTitle, listed(names))};
        }
        if (seen.contains(key))
            return {{},
                    QStringLiteral("%1 è scritto più di una volta: va scritto una volta sola.")
                        .arg(key)};
        seen << key;
        if (const Part part = known->read(setting.value, setup); !part.problem.isEmpty())
            return {{}, part.problem};
    }
    return {setup, {}};
}
