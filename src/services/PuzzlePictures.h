// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QObject;

// The hidden pictures of the puzzles, by number. A desktop reads them from the files beside the
// program, at once; a web page fetches them from its site when a puzzle needs one, and the
// answer comes later. Tests put a source of their own here.
class PuzzlePictures
{
public:
    // The picture, or a null image and why it could not be had (for the console, not the child).
    using Done = std::function<void(const QImage &picture, const QString &problem)>;

    virtual ~PuzzlePictures() = default;
    // Asks for pic<number>.jpg. done is called once, at once or later, but never after context
    // has gone.
    virtual void request(int number, QObject *context, Done done) = 0;

    // This edition's own source, for the whole run.
    static PuzzlePictures &system();
};
