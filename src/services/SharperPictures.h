// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The drawings of the controls at two and four times their size, for screens with more than
// one pixel per point. Resources::picture finds whichever are there.
namespace SharperPictures {
// Makes them readable as the program's own resources, where they are not already: call it
// before the first picture is made.
void install();
} // namespace SharperPictures
