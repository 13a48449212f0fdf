// The texts the program shows or reads: how each will look to the player.
#include <string>

#include "check/Checker.h"
#include "check/TextFault.h"
#include "util/TextDecodeModule.h"

namespace check {
namespace {

using namespace MainModule;

// How much of a text's start the report can show.
constexpr std::size_t kStartChars = 60;

// Notepad's names for the encodings, which an author can choose when saving.
const wchar_t* EncodingName(TextDecodeModule::Encoding encoding) {
  switch (encoding) {
    case TextDecodeModule::Encoding::Ansi:
      return L"ANSI";
    case TextDecodeModule::Encoding::Utf8:
      return L"UTF-8";
    case TextDecodeModule::Encoding::Utf8Bom:
      return L"UTF-8 с BOM";
    case TextDecodeModule::Encoding::Utf16Le:
      return L"Юникод";
    case TextDecodeModule::Encoding::Utf16Be:
      return L"Юникод big endian";
  }
  return L"";
}

Kind FaultKind(TextFault fault) {
  switch (fault) {
    case TextFault::Dos866:
      return Kind::TextDos866;
    case TextFault::Koi8r:
      return Kind::TextKoi8r;
    case TextFault::Mixed:
      return Kind::TextMixed;
    case TextFault::Utf8Cut:
      return Kind::TextUtf8Cut;
    case TextFault::Utf16NoMark:
      return Kind::TextUtf16NoMark;
    case TextFault::Rtf:
      return Kind::TextRtf;
    case TextFault::Html:
      return Kind::TextHtml;
    case TextFault::Word:
    case TextFault::None:
      break;
  }
  return Kind::TextWord;
}

// The start of a text as its box shows it, on one line.
std::wstring TextStartOf(const std::wstring& text) {
  std::wstring start;
  for (wchar_t c : text) {
    if (start.size() >= kStartChars) break;
    const bool blank = c < 0x20 || c == 0x7F;
    if (blank && (start.empty() || start.back() == L' ')) continue;
    start += blank ? L' ' : c;
  }
  while (!start.empty() && start.back() == L' ') start.pop_back();
  return start;
}

}  // namespace

bool Checker::ReadShownText(const std::wstring& file, LoadFileModule::TextHead& head) {
  bytes_.clear();
  return LoadFileModule::LoadFileHead(file, head, &bytes_);
}

void Checker::TextFaults(const std::wstring& file, const LoadFileModule::TextHead& head,
                         const std::string& bytes, std::size_t limit, bool shown) {
  if (head.cut) Add(Kind::TextCut, file, {}, static_cast<long long>(limit >> 20));
  const TextVerdict verdict = ExamineText(bytes, head.cut);
  if (verdict.fault != TextFault::None) Add(FaultKind(verdict.fault), file, {}, 0, verdict.line);
  if (shown && !head.text.empty()) Add(Kind::TextStart, file, TextStartOf(head.text));
}

void Checker::ReadMe() {
  if (readMeRead_) {
    Add(Kind::TextEncoding, tReadMeFile, EncodingName(readMeHead_.encoding));
    TextFaults(tReadMeFile, readMeHead_, readMeBytes_, LoadFileModule::kMaxTextBytes, true);
  }
  if (readMe_) return;
  const std::wstring near =
      NearName(tAppPath, {L"readme.txt", L"read.me", L"read.me.txt.txt", L"readme"});
  if (!near.empty())
    Add(Kind::Misnamed, tAppPath + near, L"read.me.txt");
  else if (ReadMeButtonVisible(helpButton_) && !HiddenFile(tReadMeFile))
    Add(Kind::ReadMeMissing, tReadMeFile, {}, helpButton_);
}

}  // namespace check
