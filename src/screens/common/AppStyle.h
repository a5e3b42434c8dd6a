// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace AppStyle {
// Names the application and sets the style both forms are drawn with. The program and the
// tests that show its forms call it first.
void apply(QApplication &app);
} // namespace AppStyle
