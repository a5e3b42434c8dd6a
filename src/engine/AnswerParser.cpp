// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerParser.h"

#include <QByteArray>

#include <limits>

namespace {
bool skipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool asciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
} // namespace

double AnswerParser::leadingNumber(QStringView text)
{
    QByteArray number;
    bool negative = false;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;
    for (const QChar c : text) {
        if (skipped(c))
            continue;
        if (!signSeen && !pointSeen && !digitSeen && (c == u'+' || c == u'-')) {
            signSeen = true;
            negative = c == u'-';
        } else if (asciiDigit(c)) {
            digitSeen = true;
            number += char(c.unicode());
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            number += '.';
        } else {
            break;
        }
        signSeen = true; // a sign may only come first
    }
    if (!digitSeen)
        return 0.0;

    // Qt's reading ignores the C locale, which an Italian desktop sets to a decimal comma, and
    // is the same in every build (the web's C++ library reads no floating point).
    if (number.endsWith('.'))
        number.chop(1);
    bool read = false;
    double value = number.toDouble(&read);
    if (!read) {
        // Only digits and a point are here: hundreds of digits before the point overflow; a long
        // run of zeros after it underflows.
        const qsizetype point = number.indexOf('.');
        const QByteArray whole = point < 0 ? number : number.left(point);
        const bool huge = whole.count('0') != whole.size();
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}
