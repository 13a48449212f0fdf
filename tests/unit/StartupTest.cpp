// Start-up over the simulated world: the checks and their messages, the list
// and captions, the sounds, the read-me button, the screen reader, the
// window.
#include <gtest/gtest.h>

#include "SimDisc.h"

using namespace simdisc;

namespace {

class StartupTest : public ProgramTest {};

// The checks run in order; the first that fails shows its message and ends
// the program, before the start sound (a sound may be stopped). A main
// window that cannot be created ends it at once, not left waiting.
TEST_F(StartupTest, AFailedCheckShowsItsMessageAndEndsTheProgram) {
  const struct {
    void (*spoil)();
    const wchar_t* text;  // the message, none for the window
  } cases[] = {
      {[] { sim::TheWorld().windowsCannotBeCreated = true; }, nullptr},
      // A hidden control file, and no games.
      {[] { sim::FindEntry(kRoot + L"\\autorun.ini")->attributes.hidden = true; },
       L"Отсутствует управляющий файл:\r\nD:\\Disc\\autorun.ini\r\nПрограмма будет закрыта."},
      // Only a file in the games folder.
      {[] { sim::AddFile(kRoot + L"\\games\\setup.exe"); },
       L"В папке:\r\nD:\\Disc\\games\\\r\nнет игр."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    Reset();
    MakeDisc("[main]\r\n", {});
    c.spoil();
    EXPECT_TRUE(RunMain());
    for (const sim::SoundCall& sound : sim::TheWorld().sounds)
      EXPECT_FALSE(sound.path) << "a sound played";
    ASSERT_EQ(sim::TheWorld().messages.size(), c.text ? 1u : 0u);
    if (!c.text) continue;
    EXPECT_EQ(sim::TheWorld().messages[0].title, L"Error");
    EXPECT_EQ(sim::TheWorld().messages[0].text, c.text);
    EXPECT_EQ(sim::TheWorld().messages[0].flags, 0x10u) << "the error icon";
  }
}

// The disc's name first, then the games; every caption from the first [main]
// section, "0" where it has none. Games the comparison calls equal (possible
// where names are case sensitive) are listed in one fixed order, not the
// order the system enumerates them in.
TEST_F(StartupTest, TheListAndCaptionsComeFromTheFirstMainSection) {
  MakeDisc("[main]\r\ndisk=\xC8\xE3\xF0\xFB\r\n[main]\r\nlist=a second section\r\n",
           {L"Game 10", L"game 2", L"Game 02", L"GAME 2", L"Alpha"});
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(
      Control(MainLayout::lsGame).items,
      (std::vector<std::wstring>{L"Игры", L"Alpha", L"GAME 2", L"Game 02", L"game 2", L"Game 10"}));
  EXPECT_EQ(Control(MainLayout::lsGame).fillDepth, 0) << "redrawing switched on again";
  for (int control : {MainLayout::lbGame, MainLayout::lbDescript, MainLayout::btInstall,
                      MainLayout::btClose, MainLayout::btReadMe})
    EXPECT_EQ(Control(control).text, L"0") << control;
}

// In a drive's root, without the load sound: the others keep their numbers.
TEST_F(StartupTest, TheStartSoundPlaysWhileStartUpGoesOn) {
  MakeDisc("[main]\r\n", {L"G"}, L"E:\\");
  sim::FindEntry(L"E:\\autorun\\load.wav")->attributes.hidden = true;
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(sim::TheWorld().sounds.at(0).path, L"E:\\autorun\\start.wav");
  EXPECT_EQ(sim::TheWorld().sounds.at(0).flags, 0x20003u) << "asynchronous";
  EXPECT_THROW(sim::Click(fMain().form(), MainLayout::btClose), sim::ProgramExit);
  EXPECT_EQ(sim::TheWorld().sounds.at(1).path, L"E:\\autorun\\stop.wav");
}

// HelpButton, a whole number (halves to even): 1 shows the read-me button, 2
// shows it enabled, anything else hides it. The screen reader is started
// when asked and no window of it or of another reader is open.
TEST_F(StartupTest, TheReadMeButtonAndTheScreenReaderFollowTheirSettings) {
  const struct {
    const char* settings;
    bool visible, enabled, started;
    std::vector<std::wstring> windows = {};  // the titles of the windows open
  } cases[] = {
      {"HelpButton=0\r\nScreenReader=1", false, false, true},
      {"HelpButton=1\r\nScreenReader=0", true, false, false},
      {"HelpButton=2\r\nScreenReader=1", true, true, false, {L"x", L"NVDA"}},
      {"HelpButton=3\r\nScreenReader=1", false, false, false, {L"JAWS"}},
      {"HelpButton=1.5\r\nScreenReader=TrUe", true, true, true, {L"nvda", L"NVDA - x", L"JAWS "}},
      {"HelpButton=99999999999", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    Reset();
    MakeDisc(std::string("[main]\r\n") + c.settings + "\r\n", {L"G"});
    sim::AddFolder(kRoot + L"\\nvda");
    sim::AddFile(kRoot + L"\\nvda\\nvda.exe", "MZ");
    sim::TheWorld().topWindowTitles = c.windows;
    ASSERT_FALSE(RunMain());
    EXPECT_EQ(Control(MainLayout::btReadMe).visible, c.visible);
    EXPECT_EQ(Control(MainLayout::btReadMe).enabled, c.enabled);
    EXPECT_EQ(sim::TheWorld().started.size(), c.started ? 1u : 0u);
  }
}

// A caption too long for any window: the window cannot become narrower, but
// is never held wider than it was made.
TEST_F(StartupTest, TheSmallestSizeIsNeverLargerThanTheFirst) {
  MakeDisc("[main]\r\ninstall=" + std::string(200, 'W') + "\r\n", {L"Alpha"});
  ASSERT_FALSE(RunMain());
  const float width = Window().width, height = Window().height;
  sim::Resize(fMain().form(), 160 * 15, 120 * 15);
  EXPECT_FLOAT_EQ(Window().width, width);
  EXPECT_LT(Window().height, height);
}

}  // namespace
