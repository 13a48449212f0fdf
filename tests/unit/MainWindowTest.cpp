// The main window over the simulated world: choosing entries of the game list
// (the launch button, the picture, the description and the load sound, in
// their order), starting a game or reporting the failure, and the read-me in
// the help window over it.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "Version.h"
#include "helpwindow/HelpWindow.h"
#include "platform/Keys.h"

using namespace simdisc;

namespace {

using platform::kKeyDown;
using platform::kKeyEscape;
using platform::kKeyF1;
using platform::kKeyReturn;
using platform::kKeyUp;
const std::wstring kGames = kRoot + L"\\games\\";
const std::wstring kAutorun = kRoot + L"\\autorun\\";

class MainWindowTest : public ProgramTest {
 protected:
  void Start(const std::string& settings = "", const std::string& disk = "Диск") {
    MakeDisc("[main]\r\ndisk=" + disk + "\r\n" + settings, {L"Alpha", L"Beta", L"Gamma", L"Диск"});
    sim::AddFile(kAutorun + L"descript.ion", "\xC4\xE8\xF1\xEA");  // "Диск" in 1251
    sim::AddFile(kAutorun + L"screenshot.jpg", testpictures::kRedJpeg);
    sim::AddFile(kGames + L"Alpha\\descript.ion", "Alpha\nsecond line");
    sim::AddFile(kGames + L"Alpha\\screenshot.jpg", testpictures::kBlueJpeg);
    sim::AddFile(kGames + L"Alpha\\readme.exe1", "text");  // README~1.EXE, listed first
    sim::AddFile(kGames + L"Alpha\\setup.exe", "MZ");
    sim::AddFile(kGames + L"Alpha\\second.exe", "MZ");
    sim::AddFile(kGames + L"Beta\\screenshot.jpg", testpictures::kRedJpeg);  // no description
    sim::AddFile(kGames + L"Gamma\\descript.ion", "Gamma");
    sim::AddFile(kGames + L"Gamma\\screenshot.jpg", "not a picture at all, only some text");
    ASSERT_FALSE(RunMain());
  }
};

// The disc's entry is told by its text, not by its place: its files lie in
// the sound folder and it has nothing to launch. Focus on the list with
// nothing chosen empties the description; a chosen entry keeps its text.
// Once the selection rests, the description comes (with the load sound when
// there is one), then the picture; what was read once is shown at once.
TEST_F(MainWindowTest, EachEntryShowsItsTextThenItsPicture) {
  Start();
  fMain().edDescript.SetText(L"left over");
  fMain().btClose.SetFocus();
  fMain().lsGame.SetFocus();
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"");
  const struct {
    const char* entry;
    bool launch;
    std::wstring picture, text;  // the picture shown, "" for none, and the text
    bool kept;                   // read before: shown at once
  } cases[] = {
      {"the disc", false, kAutorun + L"screenshot.jpg", L"Диск", false},
      {"Alpha", true, kGames + L"Alpha\\screenshot.jpg", L"Alpha\r\nsecond line", false},
      {"Beta, no text: no sound", true, kGames + L"Beta\\screenshot.jpg", L"", false},
      {"Gamma, no picture", true, L"", L"Gamma", false},
      {"the folder named like the disc", false, kAutorun + L"screenshot.jpg", L"Диск", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    Log().clear();
    Press(kKeyDown);
    EXPECT_EQ(Control(MainLayout::btInstall).enabled, c.launch) << "at once";
    sim::Advance(kRestMs - 1);
    fMain().btClose.SetFocus();
    fMain().lsGame.SetFocus();
    const std::wstring sound = L"sound:" + kAutorun + L"load.wav";
    // Before the rest: what was kept, else nothing of another entry.
    std::vector<std::wstring> log = {L"picture:", L"text:"};
    if (c.kept) log = {L"picture:" + c.picture, L"text:" + c.text, sound};
    EXPECT_EQ(Log(), log) << "before the rest";
    if (!c.kept && !c.text.empty()) log.insert(log.end(), {L"text:" + c.text, sound});
    if (!c.kept) log.push_back(L"picture:" + c.picture);
    sim::Advance(1);
    EXPECT_EQ(Log(), log);
  }
}

// Only the disc's exact name is the disc: a game whose name differs from it
// in letter case is a game.
TEST_F(MainWindowTest, TheDiscIsToldByItsExactName) {
  Start("", "ALPHA");
  Press(kKeyDown);
  EXPECT_FALSE(Control(MainLayout::btInstall).enabled) << "the disc";
  Press(kKeyDown);
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled) << "the game Alpha";
  sim::Advance(kRestMs);
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Alpha\r\nsecond line");
}

// Enter starts the first file whose own name ends in ".exe", after the click
// sound, as often as it is pressed. Where there is none, the message with
// code 0 gives the control file's address, or the program's own.
TEST_F(MainWindowTest, EnterStartsTheGamesFirstProgramOrShowsTheFailure) {
  for (const char* support : {"", "support= games@disc.example \r\n"}) {
    SCOPED_TRACE(support);
    Reset();
    Start(support);
    Press(kKeyDown);
    Press(kKeyDown);  // Alpha
    Log().clear();
    Press(kKeyReturn);
    Press(kKeyReturn);
    const std::wstring click = L"sound:" + kAutorun + L"click.wav";
    const std::wstring start = L"start:" + kGames + L"Alpha\\setup.exe";
    EXPECT_EQ(Log(), (std::vector<std::wstring>{click, start, click, start}));
    Press(kKeyDown);  // Beta, which has no program
    Press(kKeyReturn);
    ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
    const sim::Message& m = sim::TheWorld().messages[0];
    EXPECT_EQ(m.title, L"Error! 0");
    EXPECT_EQ(m.text, L"0\r\nНе установлена. Пожалуйста, сообщите об этом на:\r\n" +
                          std::wstring(*support ? L"games@disc.example" : L"support@varnolt.org") +
                          L"\r\nИ пришлите пожалуйста ссылку на программу, вызвавшую эту "
                          L"ошибку.\r\nВ письме укажите код ошибки: 0.");
    EXPECT_EQ(m.icon, platform::MessageIcon::Information);
    // After the message the launcher is exactly as it was.
    Press(kKeyUp);  // Alpha, whose program now fails to start
    sim::Advance(kRestMs);
    sim::FindEntry(kGames + L"Alpha\\setup.exe")->startable = false;
    const sim::FormState before = Window();
    Press(kKeyReturn);
    EXPECT_EQ(sim::TheWorld().messages.size(), 2u);
    EXPECT_TRUE(Window() == before);
  }
}

// Without a read-me, or with an empty one, F1 and the read-me button do
// nothing and the focus stays. However the read-me is opened and dismissed,
// and wherever the focus was: the main window is then enabled and active
// again, with the focus on the list, the choice kept and the launch button
// disabled. The heading is the window's title, none where it is empty.
// Where the read-me's window cannot be made, the main window stays as it was.
TEST_F(MainWindowTest, TheReadMeHoldsUpTheMainWindowUntilDismissed) {
  Start("help=О диске\r\nHelpButton=2\r\n");
  Press(kKeyDown);
  Press(kKeyDown);  // Alpha
  const std::wstring readMe = kRoot + L"\\read.me.txt";
  for (bool present : {false, true}) {
    if (present) sim::AddFile(readMe, "");
    fMain().form().SetFocus(MainLayout::edDescript);
    Log().clear();
    Press(kKeyF1);
    sim::Advance(0);  // the read-me read on the reader
    sim::Click(fMain().form(), MainLayout::btReadMe);
    sim::Advance(0);
    EXPECT_EQ(Log(), std::vector<std::wstring>()) << "read-me present: " << present;
    EXPECT_EQ(Window().focus, MainLayout::edDescript);
  }
  sim::FindEntry(readMe)->bytes = "Read me\rfirst";
  const struct {
    const char* how;
    int focus;  // before
    void (*open)();
    void (*dismiss)();
    const wchar_t* heading;
  } cases[] = {
      {"F1, then Esc with Shift, Ctrl or Alt, then Esc", MainLayout::edDescript,
       [] { Press(kKeyF1), sim::Advance(0); },
       [] {
         for (int shift : {platform::kShiftMask, platform::kCtrlMask, platform::kAltMask}) {
           sim::PressKey(fHelp().form(), kKeyEscape, shift);
           EXPECT_TRUE(sim::StateOf(fHelp().form()).shown) << "left open, shift " << shift;
         }
         sim::PressKey(fHelp().form(), kKeyEscape);
       },
       L"О диске"},
      {"a click on the read-me button, then OK", MainLayout::btClose,
       [] { sim::Click(fMain().form(), MainLayout::btReadMe), sim::Advance(0); },
       [] { sim::Click(fHelp().form(), HelpLayout::btHelp); }, L""},
      {"F1, then closed", MainLayout::btReadMe, [] { Press(kKeyF1), sim::Advance(0); },
       [] { sim::RequestClose(fHelp().form()); }, L"О диске"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    MainModule::tHelpHead = c.heading;
    fMain().btInstall.SetEnabled(true);
    fMain().form().SetFocus(c.focus);
    sim::FormState seen;
    sim::TheWorld().waitingEvents.push_back([&] {
      seen = sim::StateOf(fHelp().form());
      c.dismiss();
    });
    c.open();
    EXPECT_EQ(seen.controls.at(HelpLayout::edHelp).text, L"Read me\r\nfirst");
    EXPECT_EQ(seen.title, c.heading);
    EXPECT_TRUE(Window().enabled);
    EXPECT_EQ(platform::Form::ActiveForm(), &fMain().form());
    EXPECT_EQ(Window().focus, MainLayout::lsGame);
    EXPECT_EQ(Control(MainLayout::lsGame).selected, 1);
    EXPECT_FALSE(Control(MainLayout::btInstall).enabled);
    EXPECT_EQ(Window().title, L"Varnolt - " VARNOLT_VERSION_TEXT) << "the version once";
  }
  // A read-me window that cannot be made changes nothing.
  sim::TheWorld().windowsCannotBeCreated = true;
  fMain().btInstall.SetEnabled(true);
  fMain().form().SetFocus(MainLayout::edDescript);
  Press(kKeyF1);
  sim::Advance(0);
  EXPECT_FALSE(sim::StateOf(fHelp().form()).created);
  EXPECT_TRUE(Window().enabled);
  EXPECT_EQ(platform::Form::ActiveForm(), &fMain().form());
  EXPECT_EQ(Window().focus, MainLayout::edDescript);
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
}

}  // namespace
