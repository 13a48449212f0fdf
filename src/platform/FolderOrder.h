// The order in which Windows Explorer shows names: letter case ignored,
// runs of digits compared by their value ("Game 2" before "Game 10").
#pragma once

#include <string>

namespace platform {

// Negative, zero or positive, like a comparison function.
int CompareLikeExplorer(const std::wstring& a, const std::wstring& b);

}  // namespace platform
