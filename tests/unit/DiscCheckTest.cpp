// The disc check over the simulation: a good disc spoilt one way at a time,
// and the finding each fault gives on its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "../common/TestDiscFiles.h"
#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "check/CheckReport.h"
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
    "close=Закрыть\r\nreadme=Справка\r\nhelp=Справка\r\nHelpButton=2\r\nScreenReader=1\r\n"
    "support=igry@mail.ru\r\n";

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
  File(L"autorun.inf", "[autorun]\r\nopen=Varnolt.exe\r\nicon=Varnolt.exe\r\n");
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

// A Russian text in the encodings an author's editor may have saved it in.
const std::string kText1251 =
    "\xc3\xee\xed\xea\xe8 \xef\xee \xed\xee\xf7\xed\xee\xec\xf3 \xe3\xee\xf0\xee\xe4\xf3: \xe2\xfb"
    "\xe1\xe5\xf0\xe8\xf2\xe5 \xec\xe0\xf8\xe8\xed\xf3 \xe8 \xee\xe1\xe3\xee\xed\xe8\xf2\xe5 \xe2"
    "\xf1\xe5\xf5 \xf1\xee\xef\xe5\xf0\xed\xe8\xea\xee\xe2.\r\n";
const std::string kText866 =
    "\x83\xae\xad\xaa\xa8 \xaf\xae \xad\xae\xe7\xad\xae\xac\xe3 \xa3\xae\xe0\xae\xa4\xe3: \xa2\xeb"
    "\xa1\xa5\xe0\xa8\xe2\xa5 \xac\xa0\xe8\xa8\xad\xe3 \xa8 \xae\xa1\xa3\xae\xad\xa8\xe2\xa5 \xa2"
    "\xe1\xa5\xe5 \xe1\xae\xaf\xa5\xe0\xad\xa8\xaa\xae\xa2.\r\n";
const std::string kTextKoi8 =
    "\xe7\xcf\xce\xcb\xc9 \xd0\xcf \xce\xcf\xde\xce\xcf\xcd\xd5 \xc7\xcf\xd2\xcf\xc4\xd5: \xd7\xd9"
    "\xc2\xc5\xd2\xc9\xd4\xc5 \xcd\xc1\xdb\xc9\xce\xd5 \xc9 \xcf\xc2\xc7\xcf\xce\xc9\xd4\xc5 \xd7"
    "\xd3\xc5\xc8 \xd3\xcf\xd0\xc5\xd2\xce\xc9\xcb\xcf\xd7.\r\n";
const std::string kCapitals1251 =
    "\xc3\xce\xcd\xca\xc8 \xcf\xce \xcd\xce\xd7\xcd\xce\xcc\xd3 \xc3\xce\xd0\xce\xc4\xd3: \xc2\xdb"
    "\xc1\xc5\xd0\xc8\xd2\xc5 \xcc\xc0\xd8\xc8\xcd\xd3 \xc8 \xce\xc1\xc3\xce\xcd\xc8\xd2\xc5 \xc2"
    "\xd1\xc5\xd5 \xd1\xce\xcf\xc5\xd0\xcd\xc8\xca\xce\xc2.";
const std::string kTextUtf8 = "Гонки по ночному городу: выберите машину и обгоните всех.\r\n";

std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string out;
  for (char c : ascii) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

// Each mistake on an otherwise ready disc: its finding on its file (and
// line), and the disc's status. A row without a path: the disc is read as
// meant, and gives no finding of the kind.
TEST_F(DiscCheckTest, EachMistakeGivesItsFindingOnItsFile) {
  const std::wstring ini = L"autorun.ini", inf = L"autorun.inf", readMe = L"read.me.txt";
  const std::wstring text = kRacer + L"descript.ion", shot = kRacer + L"screenshot.jpg";
  const std::wstring setup = kRacer + L"setup.exe", longName(65, L'n');
  const std::wstring stop = L"autorun\\stop.wav", disc = L"autorun\\descript.ion";
  // An installer whose path on the disc ("D:\" and the path within) is one
  // over the longest a program can be started by.
  const std::wstring tooLong =
      L"games\\" + std::wstring(60, L'g') + L"\\" + std::wstring(186, L's') + L".exe";
  const std::string hugePng("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60", 24);
  // 56 MP of 16-bit channels: more than the program decodes at that depth.
  const std::string deepPng("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x1F\x40\0\0\x1B\x58\x10", 25);
  std::string utf16 =
      "\xFF\xFE" + Utf16("[AutoRun]\r\nshellexecute=\"varnolt.exe\" extra\r\n", false);
  const auto support = [](const std::string& line) { return Ini("support=igry@mail.ru", line); };
  const struct {
    Spoil spoil;
    check::Kind kind;
    std::wstring path;
    int line;  // checked when not 0
    int status;
  } cases[] = {
      {Remove(L"Varnolt.exe"), ProgramMissing, L"Varnolt.exe", 0, 2},
      {[] {  // a problem beside a start-up error leaves the status at 2
         Remove(L"autorun\\load.wav")();
         Remove(L"Varnolt.exe")();
       },
       SoundMissing, L"autorun\\load.wav", 0, 2},
      {Remove(L"autorun\\"), SoundFolderUnusable, L"autorun\\", 0, 2},
      {Remove(ini), ControlFileMissing, ini, 0, 2},
      {Put(ini, kIni, {.hidden = true}), ControlFileHidden, ini, 0, 2},
      {Put(ini, kIni, {.hidden = true}), IgnoredFile, L"", 0, 2},
      {[] {
         Remove(L"autorun.ini")();
         File(L"autorun.ini.txt", kIni);
       },
       ControlFileMisnamed, L"autorun.ini.txt", 0, 2},
      {Remove(L"games\\"), NoGames, L"games\\", 0, 2},
      {[] {
         Remove(L"games\\")();
         File(L"Игры\\Racer\\setup.exe", Program(true));
       },
       GamesFolderMisnamed, L"Игры\\", 0, 2},
      {Ini("[main]", "[other]"), SectionMissing, ini, 0, 1},
      {Ini("list=Игры\r\n", ""), KeyMissing, ini, 0, 1},
      {Ini("install=Установить", "install="), KeyEmpty, ini, 5, 1},
      {[] {  // no read-me and no button: the read-me's heading is never seen
         Remove(L"read.me.txt")();
         Ini("help=Справка\r\nHelpButton=2", "HelpButton=0")();
       },
       KeyMissing, L"", 0, 0},
      {Ini("", "install=\r\n"), DuplicateKey, ini, 12, 1},
      {Ini("", "[main]\r\nlist=x\r\n"), DuplicateKey, L"", 0, 0},  // a second section
      {Ini("", "Screnreder=1\r\n"), MisspeltKey, ini, 12, 1},      // two letters amiss
      {Ini("", "Colour=2\r\n"), UnknownKey, ini, 12, 1},
      {Ini("HelpButton", "HELPBUTTON"), UnknownKey, L"", 0, 0},
      {Ini("list=", "; подписи\r\nlist="), UnknownKey, L"", 0, 0},  // a comment
      {Ini("disk=", "disk=" + std::string(300, 'd')), ValueCut, ini, 2, 1},
      {Ini("HelpButton=2", "HelpButton=2.5"), HelpButtonValue, ini, 9, 1},
      {Ini("HelpButton=2", "HelpButton=3"), HelpButtonValue, ini, 9, 1},
      {Ini("HelpButton=2", "HelpButton=2 кнопки"), HelpButtonValue, ini, 9, 1},
      {Ini("HelpButton=2", "HelpButton=2.0"), HelpButtonValue, L"", 0, 0},
      {Ini("ScreenReader=1", "ScreenReader=on"), ScreenReaderValue, ini, 10, 1},
      {Remove(L"nvda\\nvda.exe"), ScreenReaderMissing, L"nvda\\nvda.exe", 0, 1},
      {Ini("list=", "list=&"), AccessKey, ini, 3, 1},
      // Line numbers count blank lines and lines ended by CR or LF alone.
      {Ini("list=", "\n\r\r\nlist=&"), AccessKey, ini, 6, 1},
      {support(""), SupportMissing, ini, 0, 1},
      {support("support="), SupportEmpty, ini, 11, 1},
      {support("support=support@example.org"), SupportExample, ini, 11, 1},
      {support("support=me@mail.example.com"), SupportExample, ini, 11, 1},
      {support("support=Support@Varnolt.org"), SupportProgramAddress, ini, 11, 1},
      {support("support=igry.mail.ru"), SupportNotAddress, ini, 11, 1},
      // Texts a player would see garbled.
      {Put(text, kText866 + kText866), TextDos866, text, 0, 1},
      {Put(text, kTextKoi8 + kTextKoi8), TextKoi8r, text, 0, 1},
      {Put(text, kText1251 + kText1251), TextDos866, L"", 0, 0},
      {Put(text, kText1251 + kText1251), TextKoi8r, L"", 0, 0},
      {Put(text, kText866.substr(0, 12)), TextDos866, L"", 0, 0},  // too short to tell
      {Put(text, kCapitals1251), TextKoi8r, L"", 0, 0},
      {Ini("close=Закрыть", "close=\xc7\xe0\xea\xf0\xfb\xf2\xfc"), TextMixed, ini, 6, 1},
      {Put(readMe, kTextUtf8 + kText1251), TextMixed, readMe, 2, 1},
      {Put(readMe, "\xEF\xBB\xBF" + kTextUtf8 + kText1251), TextMixed, readMe, 2, 1},
      {Put(text, kTextUtf8 + "\xD0"), TextUtf8Cut, text, 0, 1},
      {Put(readMe, "Read me", {.hidden = true}), IgnoredFile, readMe, 0, 1},
      {Put(readMe, Utf16("Read me, please.\r\n", false)), TextUtf16NoMark, readMe, 0, 1},
      {Put(readMe, Utf16("Read me, please.\r\n", true)), TextUtf16NoMark, readMe, 0, 1},
      {Put(readMe, "\xFF\xFE" + Utf16("Read me, please.\r\n", false)), TextUtf16NoMark, L"", 0, 0},
      {Put(text, "{\\rtf1\\ansi Game}"), TextRtf, text, 0, 1},
      {Put(readMe, "\r\n<!DOCTYPE HTML><html>Read me</html>"), TextHtml, readMe, 0, 1},
      {Put(text, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10)), TextWord, text, 0, 1},
      {Put(text, std::string(LoadFileModule::kMaxTextBytes + 1, 'a')), TextCut, text, 0, 1},
      {Put(text, kTextUtf8 + std::string(LoadFileModule::kMaxTextBytes, 'a')), TextUtf8Cut, L"", 0,
       1},
      {Remove(readMe), ReadMeMissing, readMe, 0, 1},
      {[] {
         Remove(L"read.me.txt")();
         File(L"readme.txt", "Read me");
       },
       Misnamed, L"readme.txt", 0, 1},
      {[] {
         Remove(L"read.me.txt")();
         File(L"readme.txt", "Read me");
       },
       ReadMeMissing, L"", 0, 1},
      {Remove(L"autorun\\load.wav"), SoundMissing, L"autorun\\load.wav", 0, 1},
      {Put(stop, "ID3"), SoundNotWave, stop, 0, 1},
      // A wave without sound, one in a format the sound call does not play
      // (WMA), and two it plays (IMA ADPCM the second).
      {Put(stop, testfiles::Wave(1, 1, 22050, 16, 0)), SoundSilent, stop, 0, 1},
      {Put(stop, testfiles::Wave(0x161)), SoundFormat, stop, 0, 1},
      {Put(stop, testfiles::Wave(1, 2, 11025, 8)), SoundFormat, L"", 0, 0},
      {Put(stop, testfiles::Wave(0x11, 1, 22050, 4)), SoundFormat, L"", 0, 0},
      // A chunk of odd size before the sound is followed by its pad byte.
      {Put(stop, testfiles::Wave().insert(36, std::string("LIST\3\0\0\0abc\0", 12))), SoundSilent,
       L"", 0, 0},
      {Remove(text), DescriptionMissing, text, 0, 1},
      {Put(text, ""), DescriptionEmpty, text, 0, 1},
      {Remove(disc), DiscDescriptionMissing, disc, 0, 0},
      {[&] {
         Remove(text)();
         File(kRacer + L"descript.ion.txt", "Game");
       },
       Misnamed, kRacer + L"descript.ion.txt", 0, 1},
      // One cause, one finding: a hidden description is named as hidden.
      {Put(text, "Game", {.hidden = true}), IgnoredFile, text, 0, 1},
      {Put(text, "Game", {.hidden = true}), DescriptionMissing, L"", 0, 1},
      // A missing picture is for the author to know; a misnamed one is a mistake.
      {Remove(shot), ScreenshotMissing, shot, 0, 0},
      {[&] {
         Remove(shot)();
         File(kRacer + L"screenshot.png", testpictures::kRedJpeg);
       },
       Misnamed, kRacer + L"screenshot.png", 0, 1},
      // The program opens a hidden picture by its path: it is shown.
      {Put(shot, testpictures::kRedJpeg, {.hidden = true}), ScreenshotMissing, L"", 0, 0},
      {Put(shot, testpictures::kRedJpeg, {.system = true}), IgnoredFile, L"", 0, 0},
      {Put(shot, "text"), ScreenshotNotPicture, shot, 0, 1},
      {Put(shot, hugePng + std::string(100, '\0')), ScreenshotTooLarge, shot, 0, 1},
      {Put(shot, deepPng + std::string(100, '\0')), ScreenshotTooLarge, shot, 0, 1},
      {Remove(setup), NoInstaller, kRacer, 0, 1},
      {[&] {
         Remove(setup)();
         File(kRacer + L"setup.msi", "msi");
       },
       InstallerNotExe, kRacer + L"setup.msi", 0, 1},
      {[&] {
         Remove(setup)();
         File(kRacer + L"install.bat", "@echo");
       },
       NoInstaller, L"", 0, 1},
      {[&] {
         Remove(setup)();
         File(kRacer + L"Disk1\\setup.exe", Program(true));
       },
       InstallerInSubfolder, kRacer + L"Disk1\\setup.exe", 0, 1},
      {Put(setup, Program(true), {.hidden = true}), NoInstaller, L"", 0, 1},
      {Put(L"games\\setup.exe", Program(true)), ProgramInGamesFolder, L"games\\setup.exe", 0, 1},
      {Put(kRacer + L"dx.exe", Program(true)), SeveralInstallers, setup, 0, 1},
      {Put(setup, "MZ but nothing more"), InstallerNotProgram, setup, 0, 1},
      {Put(setup, Program(true, Manifest("highestAvailable"))), InstallerAdminByManifest, setup, 0,
       0},
      {Put(setup, Program(false)), InstallerAdminByName, setup, 0, 0},
      {Put(setup, Program(true)), InstallerAdminByName, L"", 0, 0},  // 64-bit
      {Put(tooLong, Program(true)), InstallerPathTooLong, tooLong, 0, 1},
      {Put(L"games\\Игры на слух\\setup.exe", Program(true)), GameIsDiscEntry,
       L"games\\Игры на слух\\", 0, 1},
      {Put(L"games\\Racer 10", "", {.hidden = true}), IgnoredFolder, L"games\\Racer 10\\", 0, 1},
      {Put(kRacer + L"data.", "x"), NameEndsInDot, kRacer + L"data.", 0, 1},
      {Put(kRacer + L"data ", "x"), NameEndsInBlank, kRacer + L"data ", 0, 1},
      // A folder's name is never the last part of a path the program opens.
      {[] {
         File(L"games\\Racer 3 \\setup.exe", Program(true, Manifest("asInvoker")));
         File(L"games\\Racer 3 \\descript.ion", "Game");
       },
       NameEndsInBlank, L"", 0, 0},
      {Put(kRacer + L"a?b", "x"), NameForbiddenCharacter, kRacer + L"a?b", 0, 1},
      {Put(kRacer + L"a;1", "x"), NameSemicolon, kRacer + L"a;1", 0, 1},
      {Put(kRacer + longName, "x"), LongName, kRacer + longName, 0, 1},
      {Remove(inf), AutorunInfMissing, inf, 0, 1},
      {[] {
         Remove(L"autorun.inf")();
         File(L"autorun.inf.txt", "[autorun]");
       },
       Misnamed, L"autorun.inf.txt", 0, 1},
      {Put(inf, "[AutoRun]\r\nopen=menu.exe /s\r\n"), AutorunInfWrong, inf, 2, 1},
      {Put(inf, "[other]\r\nopen=Varnolt.exe\r\n"), AutorunInfNoOpen, inf, 0, 1},
      {Put(inf, utf16), AutorunInfWrong, L"", 0, 0},
      {Put(inf, "[autorun]\r\nopen=.\\Varnolt.exe extra\r\n"), AutorunInfWrong, L"", 0, 0},
      {Put(inf, "[autorun]\r\nopen=Varnolt.exe\r\nlabel=Игры\r\n"), AutorunInfLabelUtf8, inf, 3, 1},
      {Put(inf, "[autorun]\r\nopen=Varnolt.exe\r\nicon=disc.ico,0\r\n"), AutorunInfIconMissing, inf,
       3, 1},
      // A link's content is not walked.
      {[&] {
         File(kRacer + L"loop\\bad?.txt", "x");
         File(kRacer + L"loop", "", {.reparsePoint = true});
       },
       LinkNotFollowed, kRacer + L"loop\\", 0, 0},
  };
  for (const auto& c : cases) {
    const check::Report report = Check(c.spoil);
    bool found = false;
    std::string row = "row " + std::to_string(&c - cases) + ", the kinds found:";
    for (const check::Finding& f : report.findings) {
      found = found || (f.kind == c.kind && f.path == c.path && (c.line == 0 || f.line == c.line));
      row += " " + std::to_string(static_cast<int>(f.kind)) + "@" + std::to_string(f.line);
      // Each finding one short sentence, and what to do in another.
      EXPECT_LE(check::FindingLine(f).size(), 160u) << row;
      EXPECT_LE(check::AdviceLine(f).size(), 160u) << row;
    }
    EXPECT_EQ(found, !c.path.empty()) << row;
    EXPECT_EQ(check::ExitStatus(report), c.status) << row;
    // The gravest finding decides, in whatever order the findings come.
    check::Report reversed = report;
    std::reverse(reversed.findings.begin(), reversed.findings.end());
    EXPECT_EQ(check::ExitStatus(reversed), c.status) << row;
  }
}

// The report: problems first, then what the author should know, each in the
// disc's order; each sentence filled in; only problems when asked.
TEST_F(DiscCheckTest, ReportPutsProblemsFirstInTheDiscsOrder) {
  const check::Report report = Check([] {
    Remove(L"autorun\\screenshot.jpg")();
    File(L"autorun\\descript.ion", "Disc\r\n\r\n\tfor the ear");
    Remove(L"games\\Racer 10\\descript.ion")();
    File(L"games\\Racer 2\\descript.ion", kText866 + kText866);
    File(L"autorun.ini", std::string(kIni).replace(kIni.find("support=igry@mail.ru"), 20,
                                                   "support=support@example.org"));
  });
  const std::vector<std::wstring> all = check::ReportLines(report, L"D:\\Disc");
  const std::vector<std::wstring> expected = {
      L"Проверка диска: D:\\Disc\\",
      L"Проблема: autorun.ini, строка 11: адрес support@example.org только для примеров, письма "
      L"игроков никуда не дойдут.",
      L"Что делать: Впишите после support= свой адрес электронной почты.",
      L"Проблема: games\\Racer 2\\descript.ion: текст в кодировке DOS (866), игрок увидит вместо "
      L"букв бессмыслицу.",
      L"Что делать: Пересохраните его в кодировке ANSI или UTF-8 с BOM: в Far Manager кодировку "
      L"меняет Shift+F8.",
      L"Проблема: games\\Racer 10\\descript.ion: описания нет, поле описания будет пустым, звук "
      L"загрузки не прозвучит.",
      L"Что делать: Положите в папку игры файл descript.ion с её описанием.",
      L"Сведения: read.me.txt: кодировка ANSI, как её называет Блокнот.",
      L"Сведения: autorun\\: первая строка списка — диск «Игры на слух».",
      L"Сведения: autorun\\screenshot.jpg: картинки нет, поле картинки будет пустым.",
  };
  ASSERT_GE(all.size(), expected.size() + 2);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(all[i], expected[i]) << i;
  EXPECT_EQ(all.back(), L"Итого: 2 игры, 0 ошибок запуска, 3 проблемы. Игрок встретит проблемы.");

  const std::vector<std::wstring> problems =
      check::ReportLines(report, L"D:\\Disc", {.problemsOnly = true});
  EXPECT_EQ(problems.size(), 8u);
  EXPECT_EQ(problems[6], expected[6]);
  const std::vector<std::wstring> starts =
      check::ReportLines(report, L"D:\\Disc", {.problemsOnly = true, .textStarts = true});
  EXPECT_NE(std::find(starts.begin(), starts.end(),
                      L"Сведения: autorun\\descript.ion: текст начинается так: Disc for the ear"),
            starts.end());
}

TEST(PluralTest, FormsFollowTheNumbersLastDigits) {
  const std::pair<long long, const wchar_t*> cases[] = {
      {0, L"знаков"},  {1, L"знак"},    {2, L"знака"},    {4, L"знака"},    {5, L"знаков"},
      {11, L"знаков"}, {12, L"знаков"}, {14, L"знаков"},  {21, L"знак"},    {22, L"знака"},
      {25, L"знаков"}, {101, L"знак"},  {111, L"знаков"}, {112, L"знаков"}, {1001, L"знак"}};
  for (const auto& [n, form] : cases)
    EXPECT_STREQ(check::Plural(n, L"знак", L"знака", L"знаков"), form) << n;
}

TEST(NameRulesTest, ManifestLevelsAndCaptionsWithAccessKeys) {
  EXPECT_EQ(check::ManifestLevel("<requestedExecutionLevel uiAccess='false' level = 'asInvoker'/>"),
            L"asInvoker");
  EXPECT_EQ(check::ManifestLevel("<requestedExecutionLevel level=\"unclosed"), L"");
  const std::pair<const wchar_t*, bool> captions[] = {
      {L"A & B", true}, {L"A && B", false}, {L"A &&& B", true}, {L"end&", true}};
  for (const auto& [caption, key] : captions) EXPECT_EQ(check::HasAccessKey(caption), key);
}

}  // namespace
