// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnswerParser.h"

#include <charconv>
#include <limits>
#include <string>

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
    std::string number;
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

    double value = 0.0;
    const char *first = number.data();
    const char *last = first + number.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Hundreds of digits before the point overflow; a long run of zeros after it underflows.
        const std::string whole = number.substr(0, number.find('.'));
        const bool huge = whole.find_first_not_of('0') != std::string::npos;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}
