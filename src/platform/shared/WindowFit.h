// Placing a window on a screen: the largest size, in the window's own
// proportions, that fits a work area, and a place for it inside that area.
// The same rules serve the real windows (in pixels) and the simulated ones.
#pragma once

#include <algorithm>

#include "platform/Forms.h"

namespace platform {

// A rectangle of the screen: its top left corner and its size.
struct Area {
  float left, top, width, height;
};

// The factor, at most 1, by which a client area must be made smaller, in
// proportion, so that with its frame the window fits `area`. A work area
// too small for any window at all still gets a window a tenth of its size.
inline float FitScale(Extent client, Extent frame, const Area& area) {
  constexpr float kSmallest = 0.1f;
  float scale = 1;
  if (client.width > 0) scale = std::min(scale, (area.width - frame.width) / client.width);
  if (client.height > 0) scale = std::min(scale, (area.height - frame.height) / client.height);
  return std::max(scale, kSmallest);
}

// The edge (left or top) at which a window of `length` is centred on the
// span [from, from + span), moved no more than needed to keep it inside
// [areaFrom, areaFrom + areaLength); a window longer than the area starts
// at the area's edge.
inline float CentredEdge(float length, float from, float span, float areaFrom, float areaLength) {
  const float centred = from + (span - length) / 2;
  return std::max(areaFrom, std::min(centred, areaFrom + areaLength - length));
}

}  // namespace platform
