// The disc check over the simulation: a disc made for each finding, and the
// finding it must give, naming the right file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../common/TestDiscFiles.h"
#include "../common/TestPictures.h"
#include "check/CheckReport.h"
#include "check/DiscCheck.h"
#include "check/FileBytes.h"
#include "check/ProgramFile.h"
#include "check/WaveFormat.h"
#include "platform/sim/Sim.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/MainModule.h"
#include "util/LoadFileModule.h"

namespace {

using check::Kind;
using check::Severity;

const std::wstring kRoot = L"D:\\Disc\\";

const char kIni[] =
    "[main]\r\ndisk=Игры на слух\r\nlist=Игры\r\ndescription=Описание\r\ninstall=Установить\r\n"
    "close=Закрыть\r\nreadme=Справка\r\nhelp=Справка\r\nHelpButton=2\r\nScreenReader=0\r\n";

// Adds the file, or gives an existing one new content.
void File(const std::wstring& relative, const std::string& bytes, sim::Attributes a = {}) {
  if (sim::Entry* e = sim::FindEntry(kRoot + relative)) {
    e->bytes = bytes;
    e->attributes = a;
  } else {
    sim::AddFile(kRoot + relative, bytes, a);
  }
}

void Game(const std::wstring& name) {
  sim::AddFolder(kRoot + L"games\\" + name);
  File(L"games\\" + name + L"\\descript.ion", "Game");
  File(L"games\\" + name + L"\\screenshot.jpg", testpictures::kRedJpeg);
  File(L"games\\" + name + L"\\setup.exe",
       testfiles::Program(true, testfiles::Manifest("asInvoker")));
}

// A disc on which a player meets nothing amiss.
void GoodDisc(const std::string& ini = kIni) {
  sim::ResetWorld();
  MainModule::ResetGlobals();
  sim::AddFolder(L"D:\\Disc");
  File(L"Varnolt.exe", testfiles::Program(false, testfiles::Manifest("asInvoker")));
  File(L"autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\n");
  File(L"autorun.ini", ini);
  File(L"read.me.txt", "Read me");
  sim::AddFolder(kRoot + L"autorun");
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    File(std::wstring(L"autorun\\") + sound + L".wav", testfiles::Wave());
  File(L"autorun\\descript.ion", "Disc");
  File(L"autorun\\screenshot.jpg", testpictures::kBlueJpeg);
  sim::AddFolder(kRoot + L"games");
  Game(L"Racer 10");
  Game(L"Racer 2");
}

std::vector<check::Finding> Findings(Severity atLeast = Severity::Problem) {
  std::vector<check::Finding> out;
  for (const check::Finding& f : check::CheckDisc(L"D:\\Disc").findings)
    if (f.severity <= atLeast) out.push_back(f);
  return out;
}

std::string Describe(const std::vector<check::Finding>& findings) {
  std::string text;
  for (const check::Finding& f : findings) {
    for (wchar_t c : check::FindingLine(f)) text += c < 0x80 ? static_cast<char>(c) : '.';
    text += '\n';
  }
  return text;
}

class DiscCheckTest : public ::testing::Test {
 protected:
  void TearDown() override { MainModule::ResetGlobals(); }
};

TEST_F(DiscCheckTest, AGoodDiscHasNoProblemsAndListsItsGamesInExplorersOrder) {
  GoodDisc();
  const check::Report report = check::CheckDisc(L"D:\\Disc");
  EXPECT_EQ(check::ExitStatus(report), 0) << Describe(report.findings);
  std::vector<std::wstring> games;
  for (const check::Finding& f : report.findings) {
    EXPECT_EQ(f.severity, Severity::Note) << Describe({f});
    if (f.kind == Kind::Game) games.push_back(f.value);
  }
  EXPECT_EQ(games, (std::vector<std::wstring>{L"Racer 2", L"Racer 10"}));
  EXPECT_EQ(report.games, 2);
  const std::vector<std::wstring> lines = check::ReportLines(report, L"D:\\Disc");
  EXPECT_EQ(lines.back(), L"Итого: игр 2, ошибок запуска 0, проблем 0. Диск готов.");
}

struct Case {
  const char* what;
  std::function<void()> spoil;
  Kind kind;
  std::wstring path;
  std::wstring value;  // checked when not empty
  int status;
};

TEST_F(DiscCheckTest, EachFaultGivesItsFindingOnItsFile) {
  const auto ini = [](const std::string& extra) {
    return [extra] { File(L"autorun.ini", kIni + extra); };
  };
  const auto iniWithout = [](const std::string& line) {
    return [line] {
      std::string text = kIni;
      text.erase(text.find(line), line.size());
      File(L"autorun.ini", text);
    };
  };
  const auto remove = [](const std::wstring& relative) {
    return [relative] {
      auto& entries = sim::TheWorld().entries;
      for (std::size_t i = 0; i < entries.size(); ++i)
        if (sim::SameName(entries[i].path, kRoot + relative) ||
            entries[i].path.compare(0, kRoot.size() + relative.size() + 1,
                                    kRoot + relative + L"\\") == 0)
          entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i--));
    };
  };
  const std::wstring r2 = L"games\\Racer 2\\";
  const std::wstring longName(70, L'n');
  const Case cases[] = {
      {"no program", remove(L"Varnolt.exe"), Kind::ProgramMissing, L"Varnolt.exe", L"", 2},
      {"empty sound folder",
       [&] {
         remove(L"autorun")();
         sim::AddFolder(kRoot + L"autorun");
       },
       Kind::SoundFolderUnusable, L"autorun\\", L"", 2},
      {"no control file", remove(L"autorun.ini"), Kind::ControlFileMissing, L"autorun.ini", L"", 2},
      {"no game folder", remove(L"games"), Kind::NoGames, L"games\\", L"", 2},
      {"no section", [] { File(L"autorun.ini", "[other]\r\ndisk=x\r\n"); }, Kind::SectionMissing,
       L"autorun.ini", L"main", 1},
      {"missing key", iniWithout("list=Игры\r\n"), Kind::KeyMissing, L"autorun.ini", L"list", 1},
      {"key given twice", ini("install=\r\n"), Kind::DuplicateKey, L"autorun.ini", L"install", 1},
      {"misspelt key", ini("Helpbuton=2\r\n"), Kind::UnknownKey, L"autorun.ini", L"Helpbuton", 1},
      {"missing button caption", iniWithout("install=Установить\r\n"), Kind::KeyMissing,
       L"autorun.ini", L"install", 1},
      {"no read-me", remove(L"read.me.txt"), Kind::ReadMeMissing, L"read.me.txt", L"", 1},
      {"sound missing", remove(L"autorun\\load.wav"), Kind::SoundMissing, L"autorun\\load.wav",
       L"load", 1},
      {"sound not a wave", [] { File(L"autorun\\stop.wav", "ID3 mp3 bytes"); },
       Kind::SoundUnplayable, L"autorun\\stop.wav", L"stop", 1},
      {"sound in another format", [] { File(L"autorun\\click.wav", testfiles::Wave(0x161)); },
       Kind::SoundUnplayable, L"autorun\\click.wav", L"click", 1},
      {"no description", remove(r2 + L"descript.ion"), Kind::DescriptionMissing,
       r2 + L"descript.ion", L"Racer 2", 1},
      {"empty description", [&] { File(r2 + L"descript.ion", ""); }, Kind::DescriptionEmpty,
       r2 + L"descript.ion", L"Racer 2", 1},
      {"no screenshot", remove(r2 + L"screenshot.jpg"), Kind::ScreenshotMissing,
       r2 + L"screenshot.jpg", L"", 1},
      {"screenshot not a picture", [&] { File(r2 + L"screenshot.jpg", "text"); },
       Kind::ScreenshotUnshown, r2 + L"screenshot.jpg", L"", 1},
      {"screenshot cut off",
       [&] { File(r2 + L"screenshot.jpg", testpictures::kRedJpeg.substr(0, 250)); },
       Kind::ScreenshotUnshown, r2 + L"screenshot.jpg", L"64x48", 1},
      {"screenshot too large",
       [&] {
         std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60", 24);
         File(r2 + L"screenshot.jpg", png + std::string(100, '\0'));
       },
       Kind::ScreenshotUnshown, r2 + L"screenshot.jpg", L"60000x60000", 1},
      {"no installer", remove(r2 + L"setup.exe"), Kind::NoInstaller, r2, L"Error! 0", 1},
      {"two installers",
       [&] {
         remove(r2 + L"setup.exe")();
         File(r2 + L"dxwebsetup.exe", testfiles::Program(false));
         File(r2 + L"setup.exe", testfiles::Program(false));
       },
       Kind::SeveralInstallers, r2 + L"dxwebsetup.exe", L"dxwebsetup.exe", 1},
      {"installer not a program", [&] { File(r2 + L"setup.exe", "MZ but nothing more"); },
       Kind::InstallerNotProgram, r2 + L"setup.exe", L"setup.exe", 1},
      {"installer path too long",
       [&] {
         const std::wstring deep = L"games\\" + std::wstring(60, L'g');
         sim::AddFolder(kRoot + deep);
         File(deep + L"\\" + std::wstring(200, L's') + L".exe", testfiles::Program(true));
       },
       Kind::InstallerPathTooLong,
       L"games\\" + std::wstring(60, L'g') + L"\\" + std::wstring(200, L's') + L".exe", L"", 1},
      {"game named like the disc",
       [] {
         sim::AddFolder(kRoot + L"games\\Игры на слух");
         File(L"games\\Игры на слух\\setup.exe", testfiles::Program(true));
       },
       Kind::GameIsDiscEntry, L"games\\Игры на слух\\", L"Игры на слух", 1},
      {"hidden game folder",
       [] {
         sim::AddFolder(kRoot + L"games\\Secret", {true, false, false, false});
         File(L"games\\Secret\\setup.exe", testfiles::Program(true));
       },
       Kind::Ignored, L"games\\Secret\\", L"Secret", 1},
      {"system installer",
       [&] {
         File(r2 + L"setup.exe", "", {false, true, false, false});
       },
       Kind::Ignored, r2 + L"setup.exe", L"setup.exe", 1},
      {"name ending in a dot", [&] { File(r2 + L"data.", "x"); }, Kind::BadName, r2 + L"data.",
       L"data.", 1},
      {"name with a question mark", [&] { File(r2 + L"what?.txt", "x"); }, Kind::BadName,
       r2 + L"what?.txt", L"what?.txt", 1},
      {"name too long for the disc", [&] { File(r2 + longName, "x"); }, Kind::LongName,
       r2 + longName, longName, 1},
      {"no autorun.inf", remove(L"autorun.inf"), Kind::AutorunInfMissing, L"autorun.inf", L"", 1},
      {"autorun.inf starting another program",
       [] { File(L"autorun.inf", "[AutoRun]\r\nopen=menu.exe /s\r\n"); }, Kind::AutorunInfWrong,
       L"autorun.inf", L"menu.exe /s", 1},
      {"description cut", [&] { File(r2 + L"descript.ion", std::string((1 << 20) + 10, 'a')); },
       Kind::TextCut, r2 + L"descript.ion", L"", 1},
  };
  for (const Case& c : cases) {
    GoodDisc();
    c.spoil();
    const check::Report report = check::CheckDisc(L"D:\\Disc");
    bool found = false;
    for (const check::Finding& f : report.findings)
      if (f.kind == c.kind && f.path == c.path && (c.value.empty() || f.value == c.value))
        found = true;
    EXPECT_TRUE(found) << c.what << "\n" << Describe(report.findings);
    EXPECT_EQ(check::ExitStatus(report), c.status) << c.what << "\n" << Describe(report.findings);
  }
}

TEST_F(DiscCheckTest, ControlFileValuesThatReadAsSomethingElse) {
  struct ValueCase {
    std::string line;
    Kind kind;
    std::wstring value;
    long long number;  // what the value reads as, where that is a number
  };
  const ValueCase cases[] = {
      {"HelpButton=2.5", Kind::HelpButtonValue, L"2.5", 2},
      {"HelpButton=1.5", Kind::HelpButtonValue, L"1.5", 2},
      {"HelpButton=yes", Kind::HelpButtonValue, L"yes", 0},
      {"HelpButton=3", Kind::HelpButtonValue, L"3", 3},
      {"HelpButton=2 кнопки", Kind::HelpButtonValue, L"2 кнопки", 2},
      {"ScreenReader=да", Kind::ScreenReaderValue, L"да", 0},
      {"ScreenReader=on", Kind::ScreenReaderValue, L"on", 0},
      {"install=Установить & играть", Kind::AccessKey, L"install", 0},
      {"list=&Игры", Kind::AccessKey, L"list", 0},
      {"disk=" + std::string(300, 'd'), Kind::ValueCut, L"disk", 300},
      {"install=", Kind::KeyEmpty, L"install", 0},
  };
  for (const ValueCase& c : cases) {
    std::string text = kIni;
    const std::string key = c.line.substr(0, c.line.find('='));
    const std::size_t at = text.find(key + "=");
    text.replace(at, text.find("\r\n", at) - at, c.line);
    GoodDisc(text);
    bool found = false;
    for (const check::Finding& f : Findings())
      if (f.kind == c.kind && f.value == c.value && f.path == L"autorun.ini")
        found = c.number == 0 || f.number == c.number;
    EXPECT_TRUE(found) << c.line << "\n" << Describe(Findings());
  }
  // What is written as meant reads as meant.
  for (const char* line :
       {"HelpButton=2.0", "ScreenReader=TRUE", "ScreenReader=-1", "install=Установить && играть"}) {
    std::string text = kIni;
    const std::string l = line;
    const std::string key = l.substr(0, l.find('='));
    const std::size_t at = text.find(key + "=");
    text.replace(at, text.find("\r\n", at) - at, l);
    GoodDisc(text);
    if (key == "ScreenReader") File(L"nvda\\nvda.exe", testfiles::Program(false));
    EXPECT_TRUE(Findings().empty()) << line << "\n" << Describe(Findings());
  }
}

TEST_F(DiscCheckTest, ScreenReaderAskedForButMissing) {
  std::string text = kIni;
  text.replace(text.find("ScreenReader=0"), 14, "ScreenReader=true");
  GoodDisc(text);
  const std::vector<check::Finding> findings = Findings();
  ASSERT_EQ(findings.size(), 1u) << Describe(findings);
  EXPECT_EQ(findings[0].kind, Kind::ScreenReaderMissing);
  EXPECT_EQ(findings[0].path, L"nvda\\nvda.exe");
}

TEST_F(DiscCheckTest, TextsNameTheEncodingTheyWereReadIn) {
  GoodDisc("\xEF\xBB\xBF" + std::string(kIni));
  File(L"read.me.txt",
       "\xFF\xFE"
       "R\0e\0",
       {});
  File(L"games\\Racer 2\\descript.ion", "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0");  // UTF-8, no mark
  File(L"games\\Racer 10\\descript.ion", "\xC8\xE3\xF0\xE0");                 // 1251
  std::vector<std::pair<std::wstring, std::wstring>> seen;
  for (const check::Finding& f : Findings(Severity::Note)) {
    if (f.kind == Kind::TextEncoding) seen.emplace_back(f.path, f.value);
    if (f.kind == Kind::Game) seen.emplace_back(f.path, f.detail);
  }
  EXPECT_EQ(seen,
            (std::vector<std::pair<std::wstring, std::wstring>>{{L"autorun.ini", L"UTF-8 BOM"},
                                                                {L"read.me.txt", L"UTF-16LE"},
                                                                {L"games\\Racer 2\\", L"UTF-8"},
                                                                {L"games\\Racer 10\\", L"ANSI"}}));
}

TEST_F(DiscCheckTest, InstallersThatAskForAdministratorRights) {
  struct AdminCase {
    const wchar_t* name;
    std::string bytes;
    const wchar_t* why;  // nullptr: no consent prompt
  };
  const AdminCase cases[] = {
      {L"setup.exe", testfiles::Program(false, testfiles::Manifest("requireAdministrator")),
       L"manifest"},
      {L"game.exe", testfiles::Program(true, testfiles::Manifest("highestAvailable")), L"manifest"},
      {L"Setup.exe", testfiles::Program(false), L"name"},
      {L"GameUpdate.exe", testfiles::Program(false), L"name"},
      {L"setup.exe", testfiles::Program(true), nullptr},  // 64-bit: no installer detection
      {L"setup.exe", testfiles::Program(false, testfiles::Manifest("asInvoker")), nullptr},
      {L"game.exe", testfiles::Program(false), nullptr},
  };
  for (const AdminCase& c : cases) {
    GoodDisc();
    auto& entries = sim::TheWorld().entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const sim::Entry& e) {
                                   return e.path == kRoot + L"games\\Racer 2\\setup.exe";
                                 }),
                  entries.end());
    File(std::wstring(L"games\\Racer 2\\") + c.name, c.bytes);
    std::wstring why;
    for (const check::Finding& f : Findings(Severity::Note))
      if (f.kind == Kind::InstallerAsksAdmin) {
        EXPECT_EQ(f.path, std::wstring(L"games\\Racer 2\\") + c.name);
        why = f.detail;
      }
    EXPECT_EQ(why, c.why ? c.why : L"") << std::string(c.name, c.name + wcslen(c.name));
  }
}

TEST_F(DiscCheckTest, LinksAreNotFollowedAndFoldersThatCannotBeCheckedSaySo) {
  GoodDisc();
  sim::AddFolder(kRoot + L"games\\Racer 2\\loop", {false, false, false, true});
  File(L"games\\Racer 2\\loop\\bad?.txt", "x");
  bool link = false;
  for (const check::Finding& f : Findings(Severity::Note)) {
    EXPECT_NE(f.kind, Kind::BadName) << "a link's content was walked";
    link = link || (f.kind == Kind::LinkNotFollowed && f.path == L"games\\Racer 2\\loop\\");
  }
  EXPECT_TRUE(link);

  sim::ResetWorld();
  EXPECT_EQ(check::CheckDisc(L"D:\\Nowhere").folder, check::FolderState::Missing);
  sim::AddFile(L"D:\\file.txt", "x");
  const check::Report file = check::CheckDisc(L"D:\\file.txt");
  EXPECT_EQ(file.folder, check::FolderState::NotAFolder);
  EXPECT_EQ(check::ExitStatus(file), 3);
  EXPECT_EQ(check::ReportLines(file, L"D:\\file.txt").front(),
            L"Это файл, а не папка: D:\\file.txt");
}

TEST(WaveFormatTest, WhatTheSoundCallPlays) {
  struct WaveCase {
    const char* what;
    std::string bytes;
    check::WaveVerdict verdict;
  };
  const WaveCase cases[] = {
      {"PCM 16-bit mono", testfiles::Wave(), check::WaveVerdict::Playable},
      {"PCM 8-bit stereo", testfiles::Wave(1, 2, 11025, 8), check::WaveVerdict::Playable},
      {"IMA ADPCM", testfiles::Wave(0x11, 1, 22050, 4), check::WaveVerdict::Playable},
      {"PCM 12-bit", testfiles::Wave(1, 1, 22050, 12), check::WaveVerdict::BadFormat},
      {"no channels", testfiles::Wave(1, 0), check::WaveVerdict::BadFormat},
      {"WMA in a wave file", testfiles::Wave(0x161), check::WaveVerdict::UnknownFormat},
      {"no samples", testfiles::Wave(1, 1, 22050, 16, 0), check::WaveVerdict::NoSound},
      {"header only", testfiles::Wave().substr(0, 36), check::WaveVerdict::NoSound},
      {"RIFF of another kind", "RIFF\x04\0\0\0AVI LIST", check::WaveVerdict::NotWave},
      {"MP3", "ID3\x03\0\0\0\0\0\0", check::WaveVerdict::NotWave},
      {"empty", "", check::WaveVerdict::NotWave},
  };
  for (const WaveCase& c : cases) {
    sim::ResetWorld();
    sim::AddFile(L"D:\\a.wav", c.bytes);
    EXPECT_EQ(check::ExamineWave(check::FileBytes(L"D:\\a.wav")).verdict, c.verdict) << c.what;
  }
}

TEST(ProgramFileTest, ManifestLevelsAndProgramKinds) {
  EXPECT_EQ(check::ManifestLevel(testfiles::Manifest("requireAdministrator")),
            L"requireAdministrator");
  EXPECT_EQ(check::ManifestLevel("<requestedExecutionLevel uiAccess='false' level = 'asInvoker'/>"),
            L"asInvoker");
  EXPECT_EQ(check::ManifestLevel("<assembly><dependency/></assembly>"), L"");
  EXPECT_EQ(check::ManifestLevel("<requestedExecutionLevel level=\"unclosed"), L"");

  const std::string big = testfiles::Program(true, testfiles::Manifest("highestAvailable"));
  for (std::size_t cut : {std::size_t{2}, std::size_t{0x50}, std::size_t{0x150}, big.size() - 20}) {
    sim::ResetWorld();
    sim::AddFile(L"D:\\p.exe", big.substr(0, cut));
    const check::ProgramFacts facts =
        check::ExamineProgram(check::FileBytes(L"D:\\p.exe"), L"p.exe");
    EXPECT_EQ(facts.elevation, check::Elevation::None) << "cut at " << cut;
  }
  sim::ResetWorld();
  sim::AddFile(L"D:\\p.exe", big);
  const check::ProgramFacts whole = check::ExamineProgram(check::FileBytes(L"D:\\p.exe"), L"p.exe");
  EXPECT_TRUE(whole.program);
  EXPECT_TRUE(whole.is64Bit);
  EXPECT_EQ(whole.level, L"highestAvailable");
}

TEST(NameRulesTest, NamesWindowsCannotOpenAndCaptionsWithAccessKeys) {
  const std::pair<const wchar_t*, const wchar_t*> names[] = {
      {L"Game", L""}, {L"Game.", L"."}, {L"Game ", L" "}, {L"a?b", L"?"},
      {L"a*b", L"*"}, {L"a\"b", L"\""}, {L"a|b", L"|"},   {L"a<b", L"<"},
      {L"a>b", L">"}, {L"a:b", L":"},   {L"Игра 2", L""}, {L".hidden", L""}};
  for (const auto& [name, why] : names)
    EXPECT_EQ(check::ForbiddenInName(name), why) << std::wstring(name);
  const std::pair<const wchar_t*, bool> captions[] = {
      {L"Установить", false}, {L"&Установить", true}, {L"A && B", false},
      {L"A & B", true},       {L"A &&& B", true},     {L"end&", true}};
  for (const auto& [caption, key] : captions) EXPECT_EQ(check::HasAccessKey(caption), key);
}

}  // namespace

namespace {

// The rules the check takes from the program's modules, at their edges.
TEST(CheckedRulesTest, TheSizeCutTheKeyLinesAndTheValueReadings) {
  sim::ResetWorld();
  const std::size_t limit = LoadFileModule::kMaxTextBytes;
  const std::pair<std::size_t, bool> sizes[] = {{0, false}, {limit, false}, {limit + 1, true}};
  for (const auto& [size, cut] : sizes) {
    sim::ResetWorld();
    sim::AddFile(L"D:\\t.txt", std::string(size, 'a'));
    LoadFileModule::TextHead head;
    ASSERT_EQ(LoadFileModule::ReadTextHead(L"D:\\t.txt", limit, head), platform::ReadStatus::Ok);
    EXPECT_EQ(head.cut, cut) << size;
    EXPECT_EQ(head.text.size(), std::min(size, limit)) << size;
  }

  std::vector<IniEditorModule::IniLine> lines;
  EXPECT_FALSE(IniEditorModule::SectionLines(L"[other]\r\nkey=1\r\n", L"main", lines));
  ASSERT_TRUE(IniEditorModule::SectionLines(
      L"[ MAIN ]\r\n disk = \"Диск\" \r\nnovalue\r\n[other]\r\nx=1\r\n[main]\r\ny=2\r\n", L"main",
      lines));
  ASSERT_EQ(lines.size(), 2u);  // only the first section of the name counts
  EXPECT_EQ(lines[0].name, L"disk");
  EXPECT_EQ(lines[0].value, L"\"Диск\"");
  EXPECT_TRUE(lines[0].hasValue);
  EXPECT_EQ(lines[1].name, L"novalue");
  EXPECT_FALSE(lines[1].hasValue);
  EXPECT_TRUE(IniEditorModule::SameName(L" HelpButton ", L"helpbutton"));
  EXPECT_FALSE(IniEditorModule::SameName(L"Helpbuton", L"HelpButton"));

  const std::pair<const wchar_t*, bool> numbers[] = {
      {L"2", true}, {L" -1.5e3 ", true},  {L"2.", true},  {L".5", true},
      {L"", false}, {L"2 кнопки", false}, {L"e5", false}, {L"+", false}};
  for (const auto& [text, number] : numbers) EXPECT_EQ(IniValueModule::IsNumber(text), number);
  EXPECT_EQ(IniValueModule::ReadTruthValue(L"TRUE"), std::optional<bool>(true));
  EXPECT_EQ(IniValueModule::ReadTruthValue(L" false "), std::optional<bool>(false));
  EXPECT_EQ(IniValueModule::ReadTruthValue(L"0"), std::optional<bool>(false));
  EXPECT_EQ(IniValueModule::ReadTruthValue(L"yes"), std::nullopt);
  EXPECT_EQ(IniValueModule::ReadTruthValue(L""), std::nullopt);
  EXPECT_EQ(MainModule::HelpButtonMode(L"99999999999"), 0);
  EXPECT_EQ(MainModule::SupportMail(L"0"), MainModule::kDefaultSupportMail);
  EXPECT_EQ(MainModule::SupportMail(L"a@b.c"), L"a@b.c");
}

}  // namespace

namespace {

TEST_F(DiscCheckTest, AutorunInfInAnyEncodingAndEitherKey) {
  const auto utf16 = [](const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
  };
  const std::pair<std::string, bool> files[] = {
      {utf16("[autorun]\r\nopen=Varnolt.exe\r\nlabel=Disc\r\n"), true},
      {"[AutoRun]\r\nshellexecute=\"varnolt.exe\"\r\n", true},
      {"[autorun]\r\nopen=.\\Varnolt.exe\r\n", true},
      {"[autorun]\r\nopen=\"Varnolt.exe\" extra\r\n", true},
      {"[autorun]\r\nlabel=Disc\r\n", false},
      {"[other]\r\nopen=Varnolt.exe\r\n", false},
      {"[autorun]\r\nopen=VarnoltCheck.exe\r\n", false},
  };
  for (const auto& [bytes, starts] : files) {
    GoodDisc();
    File(L"autorun.inf", bytes);
    const std::vector<check::Finding> findings = Findings();
    EXPECT_EQ(findings.empty(), starts) << bytes << "\n" << Describe(findings);
  }
}

}  // namespace
