// The disc check's report as text for a person and a screen reader: one
// finding a line, in plain Russian words, and a summary line with the counts.
#pragma once

#include <string>
#include <vector>

#include "check/DiscCheck.h"

namespace check {

// The report's lines, without line ends. `folder` is the folder as given.
std::vector<std::wstring> ReportLines(const Report& report, const std::wstring& folder);

// One finding's line.
std::wstring FindingLine(const Finding& finding);

}  // namespace check
