// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormPrinter.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

QString FormPrinter::print(const QImage &image, const QString &documentName)
{
    const QString failed = QStringLiteral("La stampa non è riuscita. Controlla la stampante e "
                                          "riprova.");
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        return QStringLiteral("Non c'è nessuna stampante pronta: la pagina non è stata stampata.");
    if (image.isNull())
        return failed;

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageOrientation(image.width() > image.height() ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    if (!printer.isValid())
        return failed;
    QPainter painter;
    if (!painter.begin(&printer))
        return failed;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    QRect area(QPoint(), size);
    area.moveCenter(QRect(QPoint(), page.size()).center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, image);
    return painter.end() ? QString() : failed;
}
