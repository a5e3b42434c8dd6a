// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"

#include <QString>

// What the game shows, as it is said in Italian, for a child who hears it read aloud.
namespace ItalianWords {
// A whole number from 0 to 999 999 in words, as one word ("ventitré", "centottanta",
// "milleuno", "novantottomilanovecentouno"); empty for a negative number or a larger one.
QString number(qint32 n);
// A problem as a tile shows it: "sette più cinque", "quarantadue diviso sei".
QString problem(Operation operation, qint32 left, qint32 right);
} // namespace ItalianWords
