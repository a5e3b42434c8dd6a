// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QImage;

namespace FormPrinter {
enum class Outcome
{
    Printed,   // the job went to the printer
    NoPrinter, // there is no default printer
    Failed,    // the printer or the picture could not be used
};

// Prints the picture of a form on the default printer, without a dialog, scaled to fit the
// page with its proportions kept.
Outcome print(const QImage &image, const QString &documentName);
} // namespace FormPrinter
