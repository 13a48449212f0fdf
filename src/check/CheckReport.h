// The disc check's report as text for a person and a screen reader: start-up
// errors and problems first, then what the author should know, each group in
// the disc's order; each finding one short sentence, and what to do on a line
// of its own; a summary line with the counts.
#pragma once

#include <string>
#include <vector>

#include "check/DiscCheck.h"

namespace check {

struct ReportOptions {
  bool problemsOnly = false;  // start-up errors and problems, no information
  bool textStarts = false;    // how the start of each text will look (with problemsOnly too)
};

// The report's lines, without line ends. `folder` is the folder as given.
std::vector<std::wstring> ReportLines(const Report& report, const std::wstring& folder,
                                      ReportOptions options = {});

// One finding's sentence, and what to do about it ("" when nothing need be done).
std::wstring FindingLine(const Finding& finding);
std::wstring AdviceLine(const Finding& finding);

// The form of a Russian noun after the number `n`: `one` after 1, 21, 101;
// `few` after 2-4, 22-24; `many` after 0, 5-20, 25-30, 111.
const wchar_t* Plural(long long n, const wchar_t* one, const wchar_t* few, const wchar_t* many);

}  // namespace check
