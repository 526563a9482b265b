// Places the buttons of a dialog's box: an evenly spaced column when the box is taller than
// the buttons together, an evenly spaced row when it is wider.
#pragma once
#include <vector>

#include "ui/window.h"

// Widgets keep their size; null entries are skipped.
void LayoutButtonRow(const TWindowRect& box, const std::vector<TMyWindow*>& widgets);
