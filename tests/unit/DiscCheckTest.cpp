// The disc check over the simulation: a good disc spoilt one way at a time,
// and the finding each fault gives on its file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../common/TestDiscFiles.h"
#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "check/DiscCheck.h"
#include "check/ProgramFile.h"
#include "util/LoadFileModule.h"

namespace {

using enum check::Kind;
using testfiles::Manifest;
using testfiles::Program;
using Spoil = std::function<void()>;

const std::wstring kRoot = L"D:\\Disc\\";
const std::wstring kRacer = L"games\\Racer 2\\";
const std::string kIni =
    "[main]\r\ndisk=Игры на слух\r\nlist=Игры\r\ndescription=Описание\r\ninstall=Установить\r\n"
    "close=Закрыть\r\nreadme=Справка\r\nhelp=Справка\r\nHelpButton=2\r\nScreenReader=1\r\n";

// Adds the file and the folders it lies in, or gives an entry new content and
// attributes.
void File(const std::wstring& relative, const std::string& bytes, sim::Attributes a = {}) {
  const std::wstring full = kRoot + relative;
  for (std::size_t at = full.find(L'\\', 3); at != std::wstring::npos;
       at = full.find(L'\\', at + 1))
    if (!sim::FindEntry(full.substr(0, at))) sim::AddFolder(full.substr(0, at));
  if (sim::Entry* e = sim::FindEntry(full))
    *e = {full, e->folder, a, bytes};
  else
    sim::AddFile(full, bytes, a);
}

Spoil Put(const std::wstring& relative, const std::string& bytes, sim::Attributes a = {}) {
  return [=] { File(relative, bytes, a); };
}

// The control file with its first `from` made `to` (`to` added at its end
// when `from` is empty).
Spoil Ini(const std::string& from, const std::string& to) {
  std::string text = kIni;
  return Put(L"autorun.ini",
             text.replace(from.empty() ? text.size() : text.find(from), from.size(), to));
}

// Takes away a file, or a folder and all it holds.
Spoil Remove(const std::wstring& relative) {
  return [relative] {
    const std::wstring within = kRoot + relative + (relative.back() == L'\\' ? L"" : L"\\");
    std::erase_if(sim::TheWorld().entries, [&](const sim::Entry& e) {
      return sim::SameName(e.path + L"\\", within) || e.path.starts_with(within);
    });
  };
}

// Checks a disc on which a player meets nothing amiss, but for the spoil.
check::Report Check(const Spoil& spoil) {
  sim::ResetWorld();
  MainModule::ResetGlobals();
  File(L"Varnolt.exe", Program(false, Manifest("asInvoker")));
  File(L"autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\n");
  File(L"autorun.ini", kIni);
  File(L"read.me.txt", "Read me");
  File(L"nvda\\nvda.exe", Program(false));
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    File(std::wstring(L"autorun\\") + sound + L".wav", testfiles::Wave());
  File(L"autorun\\descript.ion", "Disc");
  File(L"autorun\\screenshot.jpg", testpictures::kBlueJpeg);
  for (const std::wstring game : {L"games\\Racer 10\\", L"games\\Racer 2\\"}) {
    File(game + L"descript.ion", "Game");
    File(game + L"screenshot.jpg", testpictures::kRedJpeg);
    File(game + L"setup.exe", Program(true, Manifest("asInvoker")));
  }
  spoil();
  return check::CheckDisc(L"D:\\Disc");
}

class DiscCheckTest : public simdisc::ProgramTest {};

TEST_F(DiscCheckTest, EachFaultGivesItsFindingOnItsFile) {
  const std::wstring ini = L"autorun.ini", inf = L"autorun.inf", readMe = L"read.me.txt";
  const std::wstring text = kRacer + L"descript.ion", shot = kRacer + L"screenshot.jpg";
  const std::wstring setup = kRacer + L"setup.exe", longName(65, L'n');
  const std::wstring stop = L"autorun\\stop.wav";
  // An installer whose path on the disc ("D:\" and the path within) is one
  // over the longest a program can be started by.
  const std::wstring tooLong =
      L"games\\" + std::wstring(60, L'g') + L"\\" + std::wstring(186, L's') + L".exe";
  const std::string hugePng("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60", 24);
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[AutoRun]\r\nshellexecute=\"varnolt.exe\" extra\r\n"))
    utf16 += {c, '\0'};
  // A row without a path: what is written as meant is read as meant, and
  // gives no finding of the kind.
  const struct {
    Spoil spoil;
    check::Kind kind;
    std::wstring path;
    std::wstring text;  // the finding's value or detail, checked when not empty
    int status;
  } cases[] = {
      {Remove(L"Varnolt.exe"), ProgramMissing, L"Varnolt.exe", L"", 2},
      {Remove(L"autorun\\"), SoundFolderUnusable, L"autorun\\", L"", 2},
      {Remove(ini), ControlFileMissing, ini, L"", 2},
      {Remove(L"games\\"), NoGames, L"games\\", L"", 2},
      {Ini("[main]", "[other]"), SectionMissing, ini, L"main", 1},
      {Ini("list=Игры\r\n", ""), KeyMissing, ini, L"list", 1},
      {Ini("install=Установить", "install="), KeyEmpty, ini, L"install", 1},
      {Ini("", "install=\r\n"), DuplicateKey, ini, L"install", 1},
      {Ini("", "[main]\r\nlist=x\r\n"), DuplicateKey, L"", L"", 0},     // a second section
      {Ini("", "Helpbuton=2\r\n"), UnknownKey, ini, L"HelpButton", 1},  // the key meant
      {Ini("HelpButton", "HELPBUTTON"), UnknownKey, L"", L"", 0},
      {Ini("list=", "; подписи\r\nlist="), UnknownKey, L"", L"", 0},  // a comment
      {Ini("disk=", "disk=" + std::string(300, 'd')), ValueCut, ini, L"disk", 1},
      {Ini("HelpButton=2", "HelpButton=2.5"), HelpButtonValue, ini, L"2.5", 1},
      {Ini("HelpButton=2", "HelpButton=3"), HelpButtonValue, ini, L"3", 1},
      {Ini("HelpButton=2", "HelpButton=2 кнопки"), HelpButtonValue, ini, L"2 кнопки", 1},
      {Ini("HelpButton=2", "HelpButton=2.0"), HelpButtonValue, L"", L"", 0},
      {Ini("ScreenReader=1", "ScreenReader=on"), ScreenReaderValue, ini, L"on", 1},
      {Remove(L"nvda\\nvda.exe"), ScreenReaderMissing, L"nvda\\nvda.exe", L"", 1},
      {Ini("list=", "list=&"), AccessKey, ini, L"list", 1},
      {Ini("[", "\xEF\xBB\xBF["), TextEncoding, ini, L"UTF-8 BOM", 0},
      {Put(readMe, std::string("\xFF\xFER\0", 4)), TextEncoding, readMe, L"UTF-16LE", 0},
      {Put(text, "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0"), Game, kRacer, L"UTF-8", 0},
      {Put(text, std::string(LoadFileModule::kMaxTextBytes + 1, 'a')), TextCut, text, L"", 1},
      {Remove(readMe), ReadMeMissing, readMe, L"", 1},
      {Remove(L"autorun\\load.wav"), SoundMissing, L"autorun\\load.wav", L"load", 1},
      {Put(stop, "ID3"), SoundUnplayable, stop, L"stop", 1},
      // A wave without sound, one in a format the sound call does not play
      // (WMA), and two it plays (IMA ADPCM the second).
      {Put(stop, testfiles::Wave(1, 1, 22050, 16, 0)), SoundUnplayable, stop, L"stop", 1},
      {Put(stop, testfiles::Wave(0x161)), SoundUnplayable, stop,
       L"format 353, 16 bit, 1 ch, 22050 Hz", 1},
      {Put(stop, testfiles::Wave(1, 2, 11025, 8)), SoundUnplayable, L"", L"", 0},
      {Put(stop, testfiles::Wave(0x11, 1, 22050, 4)), SoundUnplayable, L"", L"", 0},
      {Remove(text), DescriptionMissing, text, L"Racer 2", 1},
      {Put(text, ""), DescriptionEmpty, text, L"Racer 2", 1},
      {Remove(shot), ScreenshotMissing, shot, L"", 1},
      // The program opens a hidden picture by its path: it is shown.
      {Put(shot, testpictures::kRedJpeg, {.hidden = true}), ScreenshotMissing, L"", L"", 0},
      {Put(shot, testpictures::kRedJpeg, {.system = true}), Ignored, L"", L"", 0},
      {Put(shot, "text"), ScreenshotUnshown, shot, check::kNotAPicture, 1},
      {Put(shot, hugePng + std::string(100, '\0')), ScreenshotUnshown, shot, check::kTooLarge, 1},
      {Remove(setup), NoInstaller, kRacer, L"Error! 0", 1},
      {Put(kRacer + L"dx.exe", Program(true)), SeveralInstallers, setup, L"setup.exe, dx.exe", 1},
      {Put(setup, "MZ but nothing more"), InstallerNotProgram, setup, L"setup.exe", 1},
      {Put(setup, Program(true, Manifest("highestAvailable"))), InstallerAsksAdmin, setup,
       L"manifest", 0},
      {Put(setup, Program(false)), InstallerAsksAdmin, setup, L"name", 0},
      {Put(setup, Program(true)), InstallerAsksAdmin, L"", L"", 0},  // 64-bit
      {Put(tooLong, Program(true)), InstallerPathTooLong, tooLong, L"", 1},
      {Put(L"games\\Игры на слух\\setup.exe", Program(true)), GameIsDiscEntry,
       L"games\\Игры на слух\\", L"Игры на слух", 1},
      {Put(L"games\\Racer 10", "", {.hidden = true}), Ignored, L"games\\Racer 10\\", L"hidden", 1},
      {Put(kRacer + L"data.", "x"), BadName, kRacer + L"data.", L".", 1},
      {Put(kRacer + longName, "x"), LongName, kRacer + longName, longName, 1},
      {Remove(inf), AutorunInfMissing, inf, L"", 1},
      {Put(inf, "[AutoRun]\r\nopen=menu.exe /s\r\n"), AutorunInfWrong, inf, L"menu.exe /s", 1},
      {Put(inf, "[other]\r\nopen=Varnolt.exe\r\n"), AutorunInfWrong, inf, L"", 1},
      {Put(inf, utf16), AutorunInfWrong, L"", L"", 0},
      {Put(inf, "[autorun]\r\nopen=.\\Varnolt.exe extra\r\n"), AutorunInfWrong, L"", L"", 0},
      // A link's content is not walked.
      {[&] {
         File(kRacer + L"loop\\bad?.txt", "x");
         File(kRacer + L"loop", "", {.reparsePoint = true});
       },
       LinkNotFollowed, kRacer + L"loop\\", L"", 0},
  };
  for (const auto& c : cases) {
    const check::Report report = Check(c.spoil);
    bool found = false;
    for (const check::Finding& f : report.findings)
      found = found || (f.kind == c.kind && (c.path.empty() || f.path == c.path) &&
                        (c.text.empty() || f.value == c.text || f.detail == c.text));
    std::string row = "row " + std::to_string(&c - cases) + ", the kinds found:";
    for (const check::Finding& f : report.findings)
      row += " " + std::to_string(static_cast<int>(f.kind));
    EXPECT_EQ(found, !c.path.empty()) << row;
    EXPECT_EQ(check::ExitStatus(report), c.status) << row;
  }
}

TEST(NameRulesTest, ManifestLevelsNamesWindowsCannotOpenAndCaptionsWithAccessKeys) {
  EXPECT_EQ(check::ManifestLevel("<requestedExecutionLevel uiAccess='false' level = 'asInvoker'/>"),
            L"asInvoker");
  EXPECT_EQ(check::ManifestLevel("<requestedExecutionLevel level=\"unclosed"), L"");
  for (wchar_t c : std::wstring(L"\x01?*\"|<>:/\\"))
    EXPECT_EQ(check::ForbiddenInName(std::wstring(L"a") + c + L"b"), std::wstring(1, c));
  EXPECT_EQ(check::ForbiddenInName(L"Game "), L" ");
  for (const wchar_t* name : {L"Game", L"Игра 2", L".hidden"})
    EXPECT_EQ(check::ForbiddenInName(name), L"") << std::wstring(name);
  const std::pair<const wchar_t*, bool> captions[] = {
      {L"A & B", true}, {L"A && B", false}, {L"A &&& B", true}, {L"end&", true}};
  for (const auto& [caption, key] : captions) EXPECT_EQ(check::HasAccessKey(caption), key);
}

}  // namespace
