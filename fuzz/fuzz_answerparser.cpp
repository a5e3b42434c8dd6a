// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the input as a typed answer twice: decoded from UTF-8, and taken as raw UTF-16 code units
// (lone surrogates and all). Besides the sanitizers, a few properties every answer must keep stop
// the run when broken.
#include "AnswerParser.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
void require(bool property)
{
    if (!property)
        __builtin_trap();
}

bool blank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

void check(const QString &text)
{
    const double value = AnswerParser::leadingNumber(text);
    require(!std::isnan(value));

    // Only ASCII digits, few enough to be exact in a double: exactly their integer value.
    if (!text.isEmpty() && text.size() <= 15 &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        std::int64_t whole = 0;
        for (const QChar c : text)
            whole = whole * 10 + (c.unicode() - u'0');
        require(value == double(whole));
    }

    // Blanks are skipped wherever they stand.
    QString packed = text;
    packed.removeIf(blank);
    require(AnswerParser::leadingNumber(packed) == value);

    // Something that cannot continue a number changes nothing when it follows.
    require(AnswerParser::leadingNumber(text + u'x') == value);

    // The sign only flips the value.
    require(AnswerParser::leadingNumber(u'-' + text) == -AnswerParser::leadingNumber(u'+' + text));

    // Overflow needs more than 308 digits; a fraction, however long, stays within 0..1.
    if (std::isinf(value))
        require(std::count_if(text.begin(), text.end(),
                              [](QChar c) { return c >= u'0' && c <= u'9'; }) > 308);
    const double fraction = AnswerParser::leadingNumber(QStringLiteral("0.") + text);
    require(fraction >= 0.0 && fraction <= 1.0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    check(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));

    // Copied rather than cast: the bytes need not be aligned for char16_t.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * sizeof(char16_t));
    check(units);
    return 0;
}
