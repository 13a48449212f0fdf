// Keeps a window's controls in proportion to the window: each visible
// control is set to its recorded rectangle scaled by the ratio of the
// window's outer size to its recorded outer size. Every control is computed
// from the one recording, so repeated resizing never drifts.
#pragma once

#include <vector>

#include "platform/Forms.h"

namespace AllControlsResizeModule {

struct ControlRect {
  float Height = 0, Left = 0, Top = 0, Width = 0;
};

// One window's recorded geometry. Each window keeps its own, so that the
// main window's controls follow its size for the whole run, whatever other
// windows come and go.
struct ResizeRecord {
  std::vector<ControlRect> aRects;  // by position in the window's control collection
  float sFormWidth = 0, sFormHeight = 0;
};

void ResizeInit(ResizeRecord& record, platform::Form& oForm);
void ResizeControls(const ResizeRecord& record, platform::Form& oForm);

// The smallest outer size down to which ResizeControls keeps every visible
// control of the recorded window usable: each keeps room for what it shows
// (Form::ContentSize) and stays inside the client area, which loses the
// frame as the window shrinks. Never wider than reaches from where the
// window opened to the edge of the screen's work area (Form::RoomOnScreen;
// nor, where that is less, than the recorded width), never taller than the
// recorded height; no limit (0) without a record.
platform::Extent MinimumSize(const ResizeRecord& record, platform::Form& oForm);

}  // namespace AllControlsResizeModule
