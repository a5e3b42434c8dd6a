// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

namespace AnswerParser {
// Reads the number a typed answer starts with. Blanks, tabs and line feeds are skipped wherever
// they stand; then an optional sign and decimal digits with at most one "." are read, up to the
// first character that cannot continue the number. No number at all reads as 0, so "abc" and
// "" give 0, "3,5" gives 3, "1e999" gives 1 and "0x1F" gives 0. Numbers too large for a double
// give an infinity, which equals no result.
double leadingNumber(QStringView text);
} // namespace AnswerParser
