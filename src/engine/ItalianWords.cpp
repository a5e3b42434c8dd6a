// SPDX-License-Identifier: GPL-3.0-or-later
#include "ItalianWords.h"

#include "GameTexts.h"

#include <array>

namespace {
const std::array<QStringView, 20> Small{u"",        u"uno",         u"due",         u"tre",
                                        u"quattro", u"cinque",      u"sei",         u"sette",
                                        u"otto",    u"nove",        u"dieci",       u"undici",
                                        u"dodici",  u"tredici",     u"quattordici", u"quindici",
                                        u"sedici",  u"diciassette", u"diciotto",    u"diciannove"};
const std::array<QStringView, 10> Tens{u"",         u"",          u"venti",    u"trenta",
                                       u"quaranta", u"cinquanta", u"sessanta", u"settanta",
                                       u"ottanta",  u"novanta"};

// 0..99, empty for 0. The tens lose their last vowel before "uno" and "otto": ventuno, ventotto.
QString belowHundred(int n)
{
    if (n < 20)
        return Small[std::size_t(n)].toString();
    QString tens = Tens[std::size_t(n / 10)].toString();
    const int unit = n % 10;
    if (unit == 1 || unit == 8)
        tens.chop(1);
    return tens + Small[std::size_t(unit)].toString();
}

// 0..999, empty for 0. "cento" loses its "o" before one: centotto, centottanta.
QString belowThousand(int n)
{
    const int hundreds = n / 100;
    QString words = hundreds == 0 ? QString()
                    : hundreds == 1
                        ? QStringLiteral("cento")
                        : Small[std::size_t(hundreds)].toString() + QStringLiteral("cento");
    const QString rest = belowHundred(n % 100);
    if (!words.isEmpty() && rest.startsWith(u'o'))
        words.chop(1);
    return words + rest;
}
} // namespace

QString ItalianWords::number(qint32 n)
{
    if (n < 0 || n > 999'999)
        return {};
    if (n == 0)
        return QStringLiteral("zero");
    const int thousands = n / 1000;
    QString words = thousands == 0   ? QString()
                    : thousands == 1 ? QStringLiteral("mille")
                                     : belowThousand(thousands) + QStringLiteral("mila");
    words += belowThousand(n % 1000);
    // A "tre" that ends a longer number is stressed: ventitré, centotré, milletré.
    if (n > 3 && words.endsWith(QStringLiteral("tre")))
        words.replace(words.size() - 1, 1, QStringLiteral("é"));
    return words;
}

QString ItalianWords::problem(Operation operation, qint32 left, qint32 right)
{
    return QStringLiteral("%1 %2 %3")
        .arg(number(left), GameTexts::Titles[operationIndex(operation)].said, number(right));
}
