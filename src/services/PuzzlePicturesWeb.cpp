// SPDX-License-Identifier: GPL-3.0-or-later
#include "PuzzlePictures.h"

#include "ProblemDealer.h"
#include "WebPage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPointer>

namespace {
// The site's files, fetched by the page when a puzzle needs one: a first visit downloads only
// the pictures it shows.
class SitePictures : public PuzzlePictures
{
public:
    void request(int number, QObject *context, Done done) override
    {
        const QString file = ProblemDealer::pictureFileName(number);
        WebPage::fetchPicture(
            file, [file, context = QPointer<QObject>(context),
                   done = std::move(done)](const QByteArray &bytes, const QString &problem) {
                if (!context)
                    return; // the form has gone meanwhile
                if (!problem.isEmpty()) {
                    done(QImage(), QStringLiteral("%1: %2").arg(file, problem));
                    return;
                }
                QBuffer buffer;
                buffer.setData(bytes);
                QImageReader reader(&buffer);
                const QImage picture = reader.read();
                done(picture, picture.isNull()
                                  ? QStringLiteral("%1: %2").arg(file, reader.errorString())
                                  : QString());
            });
    }
};
} // namespace

PuzzlePictures &PuzzlePictures::system()
{
    static SitePictures site;
    return site;
}
