// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormPrinter.h"

#include "WebPage.h"

#include <QBuffer>
#include <QImage>

// The browser's own print dialog chooses the printer: it opens after this returns, so the page
// always reaches it and the game never learns whether anything was printed.
FormPrinter::Outcome FormPrinter::print(const QImage &image, const QString &documentName)
{
    if (image.isNull())
        return Outcome::Failed;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Outcome::Failed;
    WebPage::print(png, documentName);
    return Outcome::Printed;
}
