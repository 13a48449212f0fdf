#include "util/AllControlsResizeModule.h"

#include <algorithm>
#include <cmath>

namespace AllControlsResizeModule {
namespace {

// Products beyond this are refused, as a control would refuse them.
constexpr float kLimit = 1.0e7f;

bool Usable(float value) { return std::isfinite(value) && std::fabs(value) < kLimit; }

}  // namespace

void ResizeInit(ResizeRecord& record, platform::Form& oForm) {
  record.aRects.clear();
  record.sFormWidth = oForm.Width();
  record.sFormHeight = oForm.Height();
  for (int i = 0; i < oForm.ControlCount(); ++i) {
    const platform::Form::Rect r = oForm.ControlRect(i);
    record.aRects.push_back({.Height = r.height, .Left = r.left, .Top = r.top, .Width = r.width});
  }
}

void ResizeControls(const ResizeRecord& record, platform::Form& oForm) {
  const float rW = oForm.Width() / record.sFormWidth;
  const float rH = oForm.Height() / record.sFormHeight;
  const int count = std::min(oForm.ControlCount(), static_cast<int>(record.aRects.size()));
  for (int i = 0; i < count; ++i) {
    if (!oForm.Visible(i)) continue;  // hidden controls keep their geometry
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

platform::Extent MinimumSize(const ResizeRecord& record, platform::Form& oForm) {
  if (record.aRects.empty() || record.sFormWidth <= 0 || record.sFormHeight <= 0) return {0, 0};
  const platform::Extent frame = oForm.FrameSize();
  // A control is placed to whole pixels, its edge up to a pixel further out.
  const float pixel = oForm.PixelSize();
  float rW = 0, rH = 0;
  const int count = std::min(oForm.ControlCount(), static_cast<int>(record.aRects.size()));
  for (int i = 0; i < count; ++i) {
    if (!oForm.Visible(i)) continue;
    const ControlRect& e = record.aRects[static_cast<std::size_t>(i)];
    const platform::Extent content = oForm.ContentSize(i);
    if (e.Width > 0) rW = std::max(rW, content.width / e.Width);
    if (e.Height > 0) rH = std::max(rH, content.height / e.Height);
    // At the ratio r the control ends at r * (Left + Width), the client area
    // at r * sFormWidth - frame: the room to its right shrinks faster.
    const float roomRight = record.sFormWidth - (e.Left + e.Width);
    if (roomRight > 0) rW = std::max(rW, (frame.width + pixel) / roomRight);
    const float roomBelow = record.sFormHeight - (e.Top + e.Height);
    if (roomBelow > 0) rH = std::max(rH, (frame.height + pixel) / roomBelow);
  }
  // Across, what a control holds is kept whole even where that takes more
  // than the window's first width (a list entry longer than the list), but
  // the window grows no further than the edge of the screen it opened on;
  // down, never more
  // than the first height, the most the screen gave the window in its own
  // proportions.
  const float widest = std::max(oForm.RoomOnScreen().width, record.sFormWidth);
  return {std::min(rW * record.sFormWidth, widest), std::min(rH, 1.0f) * record.sFormHeight};
}

}  // namespace AllControlsResizeModule
