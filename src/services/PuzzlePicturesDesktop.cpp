// SPDX-License-Identifier: GPL-3.0-or-later
#include "PuzzlePictures.h"

#include "ProblemDealer.h"

#include <QDir>
#include <QImageReader>

namespace {
// The files beside the program, in its own folder, which is the current one.
class PictureFiles : public PuzzlePictures
{
public:
    void request(int number, QObject *, Done done) override
    {
        const QString file = ProblemDealer::pictureFileName(number);
        QImageReader reader(file);
        const QImage picture = reader.read();
        if (picture.isNull())
            done(picture, QStringLiteral("%1: %2").arg(QDir::current().absoluteFilePath(file),
                                                       reader.errorString()));
        else
            done(picture, QString());
    }
};
} // namespace

PuzzlePictures &PuzzlePictures::system()
{
    static PictureFiles files;
    return files;
}
