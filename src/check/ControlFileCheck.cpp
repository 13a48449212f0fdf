// The control file, autorun.ini, read as start-up reads it, and autorun.inf,
// read as Windows reads it when the disc is inserted.
#include <algorithm>
#include <cwctype>
#include <limits>
#include <string>
#include <vector>

#include "check/Checker.h"
#include "startup/IniValueModule.h"

namespace check {
namespace {

using namespace MainModule;

// A key's value read whole, to tell whether the reader's buffer cut it.
constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max() / 4;
// LookUp's answer for a key that is not there: no value can hold a line break.
const std::wstring kAbsent = L"\n";

// Edit distance, for naming the key a misspelt one was meant to be.
std::size_t Distance(const std::wstring& a, const std::wstring& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diagonal + (std::towlower(a[i - 1]) == std::towlower(b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The key a name the program does not know was meant to be: one near it
// ("" when none is).
std::wstring MeantKey(const std::wstring& name) {
  std::wstring meant;
  if (name.size() <= 2) return meant;
  for (const ControlFileKey& key : kControlFileKeys)
    if (Distance(name, key.name) <= 2) meant = key.name;
  return meant;
}

// Whether the key's value is a text the player sees (a missing key shows
// "0" there), and whether it is a control's caption, where a single "&"
// marks an access key instead of showing.
bool ShownAsText(KeyUse use) {
  return use != KeyUse::HelpButtonMode && use != KeyUse::ScreenReader &&
         use != KeyUse::SupportAddress;
}
bool ControlCaption(KeyUse use) {
  return use == KeyUse::ListHeading || use == KeyUse::DescriptionHeading ||
         use == KeyUse::InstallCaption || use == KeyUse::CloseCaption ||
         use == KeyUse::ReadMeCaption;
}

}  // namespace

int Checker::LineOf(const std::wstring& key) const {
  for (const IniEditorModule::IniLine& line : iniLines_)
    if (IniEditorModule::SameName(line.name, key)) return line.number;
  return 0;
}

void Checker::ControlFile() {
  if (iniRead_) TextFaults(tIniFile, iniHead_, iniBytes_, IniEditorModule::kMaxIniBytes, false);
  if (!IniEditorModule::SectionLines(iniHead_.text, kSection, iniLines_)) {
    Add(Kind::SectionMissing, tIniFile, kSection);
    return;
  }
  KeyLines();
  for (const ControlFileKey& key : kControlFileKeys) KeyValue(key);
}

// The section's lines: keys the program does not know, and keys given twice.
void Checker::KeyLines() {
  std::vector<const ControlFileKey*> given;
  for (const IniEditorModule::IniLine& line : iniLines_) {
    if (line.name.starts_with(L';')) continue;  // a comment
    const ControlFileKey* known = FindControlFileKey(line.name);
    if (known == nullptr) {
      const std::wstring meant = MeantKey(line.name);
      Add(meant.empty() ? Kind::UnknownKey : Kind::MisspeltKey, tIniFile, line.name, 0, line.number,
          meant);
    } else if (std::find(given.begin(), given.end(), known) != given.end()) {
      Add(Kind::DuplicateKey, tIniFile, known->name, 0, line.number);
    } else {
      given.push_back(known);
    }
  }
}

// The read-me button's caption shows only with the button, the read-me
// window's heading only with a read-me.
bool Checker::Seen(KeyUse use) const {
  if (use == KeyUse::ReadMeCaption) return ReadMeButtonVisible(helpButton_);
  if (use == KeyUse::HelpHeading) return readMe_;
  return true;
}

// A key the program reads, as it reads it.
void Checker::KeyValue(const ControlFileKey& key) {
  const std::wstring whole =
      IniEditorModule::LookUp(iniHead_.text, key.section, key.name, kAbsent, kWholeValue);
  if (key.use == KeyUse::SupportAddress) {
    Support(key, whole);
    return;
  }
  const std::wstring value = ReadSetting(iniHead_.text, key.use);
  const int line = LineOf(key.name);
  const bool text = ShownAsText(key.use) && Seen(key.use);
  if (whole == kAbsent) {
    if (text) Add(Kind::KeyMissing, tIniFile, key.name);
    return;
  }
  if (whole.size() > value.size())
    Add(Kind::ValueCut, tIniFile, key.name, static_cast<long long>(whole.size()), line);
  if (text && value.empty()) Add(Kind::KeyEmpty, tIniFile, key.name, 0, line);
  if (text && ControlCaption(key.use) && HasAccessKey(value))
    Add(Kind::AccessKey, tIniFile, key.name, 0, line);
  if (key.use == KeyUse::HelpButtonMode) {
    const bool plain =
        IniValueModule::IsNumber(value) && IniValueModule::LeadingNumber(value) == helpButton_;
    if (!plain || helpButton_ < 0 || helpButton_ > 2)
      Add(Kind::HelpButtonValue, tIniFile, value, helpButton_, line);
  }
  if (key.use == KeyUse::ScreenReader) {
    if (!IniValueModule::ReadTruthValue(value))
      Add(Kind::ScreenReaderValue, tIniFile, value, 0, line);
    if (IniValueModule::ToTruthValue(value) &&
        platform::KindOfPath(tNvdaFile) != platform::PathKind::File)
      Add(Kind::ScreenReaderMissing, tNvdaFile);
  }
}

// The address players who meet "Error! 0" are asked to write to: it must be
// the author's own.
void Checker::Support(const ControlFileKey& key, const std::wstring& whole) {
  const int line = LineOf(key.name);
  if (whole == kAbsent) {
    Add(Kind::SupportMissing, tIniFile, kDefaultSupportMail);
    return;
  }
  const std::wstring value = ReadSetting(iniHead_.text, key.use);
  if (value.empty()) {
    Add(Kind::SupportEmpty, tIniFile, kDefaultSupportMail, 0, line);
    return;
  }
  const std::wstring address = Lower(SupportMail(value));
  const std::size_t at = address.rfind(L'@');
  if (address == Lower(kDefaultSupportMail)) {
    Add(Kind::SupportProgramAddress, tIniFile, value, 0, line);
  } else if (at == std::wstring::npos) {
    Add(Kind::SupportNotAddress, tIniFile, value, 0, line);
  } else {
    const std::wstring domain = address.substr(at + 1);
    for (const wchar_t* example : {L"example.org", L"example.com", L"example.net"})
      if (domain == example || EndsWithNoCase(domain, std::wstring(L".") + example)) {
        Add(Kind::SupportExample, tIniFile, value, 0, line);
        break;
      }
  }
}

void Checker::AutorunInf() {
  const std::wstring file = tAppPath + L"autorun.inf";
  LoadFileModule::TextHead head;
  if (platform::KindOfPath(file) != platform::PathKind::File ||
      !IniEditorModule::ReadIniHead(file, head)) {
    const std::wstring near = NearName(tAppPath, {L"autorun.inf.txt", L"autorun.txt"});
    if (near.empty())
      Add(Kind::AutorunInfMissing, file);
    else
      Add(Kind::Misnamed, tAppPath + near, L"autorun.inf");
    return;
  }
  std::vector<IniEditorModule::IniLine> lines;
  IniEditorModule::SectionLines(head.text, L"autorun", lines);
  auto find = [&](const wchar_t* key) -> const IniEditorModule::IniLine* {
    for (const IniEditorModule::IniLine& line : lines)
      if (IniEditorModule::SameName(line.name, key) && line.hasValue && !line.value.empty())
        return &line;
    return nullptr;
  };
  // The program is the first word of open= (or shellexecute=), or the quoted
  // text at its start.
  const IniEditorModule::IniLine* open = find(L"open");
  if (open == nullptr) open = find(L"shellexecute");
  if (open == nullptr) {
    Add(Kind::AutorunInfNoOpen, file);
  } else {
    std::wstring program = open->value;
    if (program.front() == L'"') {
      const std::size_t close = program.find(L'"', 1);
      program = program.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    } else {
      program = program.substr(0, program.find(L' '));
    }
    if (program.compare(0, 2, L".\\") == 0) program = program.substr(2);
    if (Lower(program) != L"varnolt.exe")
      Add(Kind::AutorunInfWrong, file, open->value, 0, open->number);
  }
  // Windows reads the file in the system's ANSI code page unless it is UTF-16.
  const bool utf8 = head.encoding == TextDecodeModule::Encoding::Utf8 ||
                    head.encoding == TextDecodeModule::Encoding::Utf8Bom;
  if (const IniEditorModule::IniLine* label = find(L"label")) {
    const bool plain =
        std::all_of(label->value.begin(), label->value.end(), [](wchar_t c) { return c < 0x80; });
    if (utf8 && !plain) Add(Kind::AutorunInfLabelUtf8, file, {}, 0, label->number);
  }
  if (const IniEditorModule::IniLine* icon = find(L"icon")) {
    std::wstring name = icon->value.substr(0, icon->value.find(L','));  // "file.ico,0"
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
      name = name.substr(1, name.size() - 2);
    if (platform::KindOfPath(tAppPath + name) != platform::PathKind::File)
      Add(Kind::AutorunInfIconMissing, file, name, 0, icon->number);
  }
}

}  // namespace check
