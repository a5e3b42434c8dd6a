// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QImage;

namespace FormPrinter {
// Prints the picture of a form on the default printer, without a dialog, scaled to fit the
// page with its proportions kept. Returns an empty text when the job went to the printer, or a
// short Italian sentence for the child's grown-up saying why it did not.
QString print(const QImage &image, const QString &documentName);
} // namespace FormPrinter
