// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormPrinter.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

FormPrinter::Outcome FormPrinter::print(const QImage &image, const QString &documentName)
{
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        return Outcome::NoPrinter;
    if (image.isNull())
        return Outcome::Failed;

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageOrientation(image.width() > image.height() ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    if (!printer.isValid())
        return Outcome::Failed;
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome::Failed;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    QRect area(QPoint(), size);
    area.moveCenter(QRect(QPoint(), page.size()).center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, image);
    return painter.end() ? Outcome::Printed : Outcome::Failed;
}
