// The disc check's table of findings: each kind's sentence and advice for the
// report, and how grave it is.
#pragma once

#include "check/DiscCheck.h"

namespace check {

// What each kind of finding is and says. In a sentence {f} is the file, {l}
// its line (", строка 5"), {v} and {o} the finding's texts, {n} its number,
// {N:one,few,many} the number with its noun, {m} the moment a sound marks,
// {w} where a caption shows.
struct FindingText {
  Kind kind;
  Severity severity;
  const wchar_t* sentence;
  const wchar_t* advice;  // "" when there is nothing to do
};

const FindingText& FindingTextOf(Kind kind);

}  // namespace check
