// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClassSetup.h"

#include <QList>
#include <QString>

#include <optional>

// Reads a class's set-up from its key and value pairs, as every channel gives them: the command
// line, the installer's properties and the link's query all use the same Italian keys and words
// (GameTexts::Setup).
namespace ClassSetupReader {
struct Setting
{
    QString key;
    QString value;
};

struct Reading
{
    // Nothing when the set-up was refused; then the problem says which part is wrong and what
    // is allowed, in Italian, for the grown-up who wrote it.
    std::optional<ClassSetup> setup;
    QString problem;
};

// A key given twice, a key or a word not known, a level outside the table and an empty list are
// refused; words are read whatever their case and the blanks around them.
Reading read(const QList<Setting> &settings);
} // namespace ClassSetupReader
