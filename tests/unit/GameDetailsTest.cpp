// Choosing entries of the game list and starting a game, over the simulated
// world: the launch button, the picture, the description and the load sound,
// in their order, and what the launch starts or reports.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "platform/Keys.h"

using namespace simdisc;

namespace {

using platform::kKeyDown;
using platform::kKeyReturn;
const std::wstring kGames = kRoot + L"\\games\\";
const std::wstring kAutorun = kRoot + L"\\autorun\\";

class GameDetailsTest : public ProgramTest {
 protected:
  void Start(const std::string& settings = "") {
    MakeDisc("[main]\r\ndisk=Диск\r\n" + settings, {L"Alpha", L"Beta", L"Gamma", L"Диск"});
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
    fMain().lsGame.SetFocus();
    Log().clear();
  }
};

// The disc's entry is told by its text, not by its place: its files lie in
// the sound folder and it has nothing to launch.
TEST_F(GameDetailsTest, EachEntryShowsItsPictureThenItsTextThenPlaysTheLoadSound) {
  Start();
  const std::wstring load = L"sound:" + kAutorun + L"load.wav";
  struct Case {
    const char* entry;
    bool launch;
    std::vector<std::wstring> log;
  };
  const Case cases[] = {
      {"the disc",
       false,
       {L"picture:", L"picture:" + kAutorun + L"screenshot.jpg", L"text:Диск", load}},
      {"Alpha",
       true,
       {L"picture:", L"picture:" + kGames + L"Alpha\\screenshot.jpg", L"text:Alpha\r\nsecond line",
        load}},
      {"Beta, no text: no sound",
       true,
       {L"picture:", L"picture:" + kGames + L"Beta\\screenshot.jpg", L"text:"}},
      {"Gamma, no picture", true, {L"picture:", L"text:Gamma", load}},
      {"the folder named like the disc",
       false,
       {L"picture:", L"picture:" + kAutorun + L"screenshot.jpg", L"text:Диск", load}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    Log().clear();
    Press(kKeyDown);
    EXPECT_EQ(Log(), c.log);
    EXPECT_EQ(Control(MainLayout::btInstall).enabled, c.launch);
  }
}

TEST_F(GameDetailsTest, FocusOnTheListWithNothingChosenEmptiesTheDescription) {
  Start();
  fMain().edDescript.SetText(L"left over");
  fMain().btClose.SetFocus();
  fMain().lsGame.SetFocus();
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"");
  Press(kKeyDown);
  fMain().btClose.SetFocus();
  fMain().lsGame.SetFocus();
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"Диск") << "a chosen entry keeps its text";
}

// The first file whose own name ends in ".exe", started minimised after the
// click sound, as often as Enter is pressed.
TEST_F(GameDetailsTest, EnterStartsTheGamesFirstProgram) {
  Start();
  Press(kKeyDown);
  Press(kKeyDown);  // Alpha
  Log().clear();
  Press(kKeyReturn);
  Press(kKeyReturn);
  const std::wstring click = L"sound:" + kAutorun + L"click.wav";
  const std::wstring start = L"start:" + kGames + L"Alpha\\setup.exe";
  EXPECT_EQ(Log(), (std::vector<std::wstring>{click, start, click, start}));
  EXPECT_EQ(sim::TheWorld().started.at(0).showState, 2);
  EXPECT_TRUE(sim::TheWorld().messages.empty());
}

TEST_F(GameDetailsTest, AFailedLaunchShowsTheMessageWithCodeZero) {
  for (bool ownAddress : {false, true}) {
    SCOPED_TRACE(ownAddress ? "a program that cannot start, the disc's own address" : "no program");
    Reset();
    Start(ownAddress ? "support= games@disc.example \r\n" : "");
    if (ownAddress) {
      sim::AddFile(kGames + L"Beta\\setup.exe", "MZ");
      sim::TheWorld().entries.back().startable = false;
    }
    for (int i = 0; i < 3; ++i) Press(kKeyDown);  // Beta
    Press(kKeyReturn);
    EXPECT_TRUE(sim::TheWorld().started.empty());
    ASSERT_EQ(sim::TheWorld().messages.size(), 1u);
    const sim::Message& m = sim::TheWorld().messages[0];
    EXPECT_EQ(m.title, L"Error! 0");
    EXPECT_EQ(m.text,
              L"0\r\nНе установлена. Пожалуйста, сообщите об этом на:\r\n" +
                  std::wstring(ownAddress ? L"games@disc.example" : L"support@varnolt.org") +
                  L"\r\nИ пришлите пожалуйста ссылку на программу, вызвавшую эту "
                  L"ошибку.\r\nВ письме укажите код ошибки: 0.");
    EXPECT_EQ(m.flags, 0x40u) << "the information icon";
    EXPECT_TRUE(Control(MainLayout::btInstall).enabled) << "nothing else changes";
  }
}

}  // namespace
