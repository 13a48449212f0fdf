// Rules every window follows, the real ones and the simulated alike: which
// controls can take the focus and in what order, and where a length in
// twips falls in whole pixels.
#pragma once

#include <vector>

#include "platform/Forms.h"

namespace platform {

constexpr int kTwipsPerInch = 1440;

// Whether a control can take the focus while it is as shown and enabled as
// said: labels, pictures and the hidden folder list never can, nor a
// control outside the tab order.
bool CanTakeFocus(const ControlLayout& control, bool shown, bool enabled);

// The indexes of the layout's controls in tab order; those outside it come
// last, in the layout's order.
std::vector<int> TabOrder(const FormLayout& layout);

// The first control in tab order for which `canFocus(index)` holds, or -1.
template <class CanFocus>
int FirstInTabOrder(const FormLayout& layout, CanFocus canFocus) {
  for (int i : TabOrder(layout))
    if (canFocus(i)) return i;
  return -1;
}

// A length in twips as whole pixels at `dpi`, rounded half away from zero.
int TwipsToPixels(double twips, int dpi);
// A laid-out client length in whole pixels at `dpi`, made smaller by
// `scale` (at most 1) and cut down to a whole pixel, so that the window
// never outgrows the room it was fitted to.
int ScaledPixels(int twips, int dpi, float scale);
// The fewest whole pixels that hold `twips` (a minimum size).
int PixelsToHold(float twips, int dpi);
float PixelsToTwips(int pixels, int dpi);

}  // namespace platform
