#include "util/AllControlsResizeModule.h"

#include <cmath>

namespace AllControlsResizeModule {
namespace {

// Products beyond this are refused, as a control would refuse them.
constexpr float kLimit = 1.0e7f;

bool Usable(float value) { return std::isfinite(value) && std::fabs(value) < kLimit; }

}  // namespace

void ResizeInit(ResizeRecord& record, platform::Form& oForm) {
  const int count = oForm.ControlCount();
  record.aRects.assign(static_cast<std::size_t>(count), ControlRect{});
  record.iFirst = 0;
  record.iLast = count - 1;
  record.sFormWidth = oForm.Width();
  record.sFormHeight = oForm.Height();
  for (int i = record.iFirst; i <= record.iLast; ++i) {
    const platform::Form::Rect r = oForm.ControlRect(i);
    record.aRects[static_cast<std::size_t>(i)] = ControlRect{r.height, r.left, r.top, r.width};
  }
}

void ResizeControls(const ResizeRecord& record, platform::Form& oForm) {
  const float rW = oForm.Width() / record.sFormWidth;
  const float rH = oForm.Height() / record.sFormHeight;
  for (int i = record.iFirst; i <= record.iLast; ++i) {
    if (i >= oForm.ControlCount()) break;
    if (!oForm.Visible(i)) continue;  // hidden controls keep their geometry
    if (static_cast<std::size_t>(i) >= record.aRects.size()) continue;  // no record: nothing moves
    const ControlRect& e = record.aRects[static_cast<std::size_t>(i)];
    platform::Form::Rect r = oForm.ControlRect(i);
    // Each value is its own step: one that cannot be applied is skipped.
    const float width = rW * e.Width, left = rW * e.Left, height = rH * e.Height, top = rH * e.Top;
    if (Usable(width) && width >= 0) r.width = width;
    if (Usable(left)) r.left = left;
    if (Usable(height) && height >= 0) r.height = height;
    if (Usable(top)) r.top = top;
    oForm.SetControlRect(i, r);
  }
}

void ResizeFree(ResizeRecord& record) { record.aRects.clear(); }

}  // namespace AllControlsResizeModule
