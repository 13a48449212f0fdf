#include "platform/shared/FormRules.h"

#include <algorithm>
#include <cmath>

namespace platform {

bool CanTakeFocus(const ControlLayout& c, bool shown, bool enabled) {
  return c.tabIndex != kNoTabStop && c.kind != ControlKind::Label && c.kind != ControlKind::Image &&
         c.kind != ControlKind::FolderList && shown && enabled;
}

std::vector<int> TabOrder(const FormLayout& layout) {
  std::vector<int> order(static_cast<std::size_t>(layout.controlCount));
  for (int i = 0; i < layout.controlCount; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(), [&layout](int a, int b) {
    const int ta = layout.controls[a].tabIndex, tb = layout.controls[b].tabIndex;
    if ((ta == kNoTabStop) != (tb == kNoTabStop)) return tb == kNoTabStop;
    return ta < tb;
  });
  return order;
}

int TwipsToPixels(double twips, int dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int ScaledPixels(int twips, int dpi, float scale) {
  return static_cast<int>(std::floor(static_cast<float>(TwipsToPixels(twips, dpi)) * scale));
}

int PixelsToHold(float twips, int dpi) {
  return static_cast<int>(std::ceil(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

float PixelsToTwips(int pixels, int dpi) {
  return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

}  // namespace platform
