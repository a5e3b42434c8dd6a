// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharperPictures.h"

// A desktop program carries every scale inside itself (or draws SVG): nothing to add.
void SharperPictures::install() {}
