// The main window on a slow drive (each first access of a file or folder
// costs 100 ms on the simulated clock): only the entry where the selection
// rests is read, on the reader; the window answers every key meanwhile and
// never shows what was read for an entry the user has left.
#include <gtest/gtest.h>

#include <algorithm>

#include "../common/TestPictures.h"
#include "SimDisc.h"
#include "helpwindow/HelpWindow.h"
#include "platform/Keys.h"

using namespace simdisc;

namespace {

using platform::kKeyDown;
using platform::kKeyEscape;
using platform::kKeyReturn;
using platform::kKeyUp;
const std::wstring kGames = kRoot + L"\\games\\";
const std::wstring kSound = L"sound:" + kRoot + L"\\autorun\\load.wav";

std::wstring Game(int k) { return L"Game " + std::to_wstring(k); }
std::wstring Text(int k) { return L"text:About game " + std::to_wstring(k); }
std::wstring Picture(int k) { return L"picture:" + kGames + Game(k) + L"\\screenshot.jpg"; }

// The first accesses of the drive under `folder`.
std::vector<std::wstring> AccessesUnder(const std::wstring& folder) {
  std::vector<std::wstring> found;
  for (const std::wstring& path : sim::TheWorld().drive.firstAccesses)
    if (path.rfind(folder, 0) == 0) found.push_back(path);
  return found;
}

long Count(const std::wstring& line) { return std::count(Log().begin(), Log().end(), line); }

class SlowDiscTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    std::vector<std::wstring> games;
    for (int k = 1; k <= 9; ++k) games.push_back(Game(k));
    MakeDisc("[main]\r\ndisk=Disc\r\n", games);
    for (int k = 1; k <= 9; ++k) {
      sim::AddFile(kGames + Game(k) + L"\\descript.ion", "About game " + std::to_string(k));
      sim::AddFile(kGames + Game(k) + L"\\screenshot.jpg", testpictures::kBlueJpeg);
      sim::AddFile(kGames + Game(k) + L"\\setup.exe", "MZ");
    }
    sim::TheWorld().drive.seekMs = 100;
    ASSERT_FALSE(RunMain());
    Press(kKeyDown);  // the disc: nothing of it on this drive
    sim::TheWorld().drive.firstAccesses.clear();
    sim::TheWorld().drive.windowWaitMs = 0;
    Log().clear();
  }

  // Down to game k, keys 50 ms apart.
  static void DownTo(int k) {
    while (Control(MainLayout::lsGame).selected < k) {
      Press(kKeyDown);
      sim::Advance(50);
    }
  }
};

// Passing six games reads none of them; the one where the user stops gets
// its folder, description and picture read once, in that order, its text
// shown two seeks after the rest, the picture after it, the sound once.
TEST_F(SlowDiscTest, OnlyTheEntryWhereTheSelectionRestsIsRead) {
  DownTo(7);
  EXPECT_EQ(AccessesUnder(kGames), std::vector<std::wstring>{}) << "passed over: nothing read";
  sim::Advance(kRestMs - 50 + 200);
  EXPECT_EQ(Log().back(), kSound) << "the text two seeks after the rest";
  EXPECT_EQ(Count(Text(7)), 1);
  sim::Advance(5000);
  EXPECT_EQ(AccessesUnder(kGames),
            (std::vector<std::wstring>{kGames + Game(7), kGames + Game(7) + L"\\descript.ion",
                                       kGames + Game(7) + L"\\screenshot.jpg"}));
  const std::vector<std::wstring> shown(Log().end() - 3, Log().end());
  EXPECT_EQ(shown, (std::vector<std::wstring>{Text(7), kSound, Picture(7)}));
  EXPECT_EQ(Count(kSound), 1);
  EXPECT_EQ(sim::TheWorld().drive.windowWaitMs, 0u) << "the window never waited for the drive";
}

// While game 1 is being read the user goes on: the list and the button move
// at once and game 1's text never shows. Nor does game 2's, read when the
// user has moved on to game 3, whose own read fails (the disc taken out):
// the box stays empty.
TEST_F(SlowDiscTest, KeysDuringAReadAreAnsweredAndTheReadForALeftEntryIsDropped) {
  DownTo(1);
  sim::Advance(kRestMs);  // game 1's description is being read
  Press(kKeyDown);
  EXPECT_EQ(Control(MainLayout::lsGame).selected, 2);
  EXPECT_TRUE(Control(MainLayout::btInstall).enabled);
  sim::Advance(kRestMs + 50);  // game 1's text arrives, game 2's is being read
  std::erase_if(sim::TheWorld().entries,
                [](const sim::Entry& e) { return e.path.rfind(kGames, 0) == 0; });
  Press(kKeyDown);
  sim::Advance(5000);
  EXPECT_EQ(Count(Text(1)), 0);
  EXPECT_EQ(Count(Text(2)), 0);
  EXPECT_EQ(Count(kSound), 0);
  EXPECT_EQ(Control(MainLayout::edDescript).text, L"");
  EXPECT_EQ(Control(MainLayout::img).picture, L"");
  EXPECT_EQ(sim::TheWorld().drive.windowWaitMs, 0u);
}

// While game 3 is being read the user moves on: Enter starts the game then
// selected; Esc plays the stop sound and ends at once, nothing of the read
// after them.
TEST_F(SlowDiscTest, EnterAndEscDuringAReadActAtOnce) {
  DownTo(3);
  sim::Advance(kRestMs);
  Press(kKeyDown);
  Press(kKeyReturn);
  EXPECT_EQ(Log().back(), L"start:" + kGames + Game(4) + L"\\setup.exe");
  ASSERT_TRUE(sim::Busy());
  Log().clear();
  EXPECT_THROW(Press(kKeyEscape), sim::ProgramExit);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"sound:" + kRoot + L"\\autorun\\stop.wav",
                                              L"sound:(stop)", L"exit"}));
}

// Game 2's screenshot takes a second to read; the user moves on meanwhile
// and game 3's description comes two seeks after the rest, not after it.
TEST_F(SlowDiscTest, ADescriptionNeverWaitsForAnotherGamesPicture) {
  sim::FindEntry(kGames + Game(2) + L"\\screenshot.jpg")->bytes = std::string(6000000, 'x');
  DownTo(2);
  sim::Advance(kRestMs + 300);  // the text is in, the picture being read
  ASSERT_EQ(Count(Text(2)), 1);
  Press(kKeyDown);
  sim::Advance(kRestMs + 200);
  EXPECT_EQ(Count(Text(3)), 1);
  EXPECT_TRUE(sim::Busy()) << "game 2's picture is still being read";
}

// F1 right after a Down, twice: the read-me is read on the reader while
// the window answers, and opens once, when it comes; nothing is read behind
// it (its load sound would speak over it), and the text of the game then
// selected comes once it is closed.
TEST_F(SlowDiscTest, TheReadMeComesFromTheReaderAndNothingIsReadBehindIt) {
  sim::AddFile(kRoot + L"\\read.me.txt", "Read me");
  DownTo(4);
  int opened = 0;
  sim::TheWorld().waitingEvents.push_back([&] {
    ++opened;
    EXPECT_EQ(sim::StateOf(fHelp().form()).controls.at(HelpLayout::edHelp).text, L"Read me");
    sim::Advance(2000);
    EXPECT_EQ(Count(Text(3)) + Count(Text(4)), 0) << "while the read-me is open";
    sim::RequestClose(fHelp().form());
  });
  Press(platform::kKeyF1);
  Press(platform::kKeyF1);
  Press(kKeyUp);
  EXPECT_EQ(Control(MainLayout::lsGame).selected, 3) << "answered while the read-me is read";
  EXPECT_EQ(opened, 0) << "not before it is read";
  sim::Advance(kRestMs + 200);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(Window().focus, MainLayout::lsGame);
  sim::Advance(kRestMs + 200);
  EXPECT_EQ(Count(Text(3)), 1);
  EXPECT_EQ(sim::TheWorld().drive.windowWaitMs, 0u);
}

// Back and forth between two games read before: each shows at once, with
// its sound once, and the drive is not asked again.
TEST_F(SlowDiscTest, AGameShownBeforeComesBackAtOnceWithoutTheDrive) {
  DownTo(4);
  sim::Advance(5000);
  DownTo(5);
  sim::Advance(5000);
  const std::size_t accesses = sim::TheWorld().drive.firstAccesses.size();
  for (int key : {kKeyUp, kKeyDown, kKeyUp}) {
    Log().clear();
    Press(key);
    const int k = key == kKeyUp ? 4 : 5;
    EXPECT_EQ(Log(), (std::vector<std::wstring>{Picture(k), Text(k), kSound}));
    sim::Advance(5000);
    EXPECT_EQ(Log().size(), 3u) << "nothing more comes";
  }
  EXPECT_EQ(sim::TheWorld().drive.firstAccesses.size(), accesses);
}

// What is kept stays within its budget, the least recently used going first.
TEST(KeptReadsTest, KeepsWithinTheBudgetDroppingTheLeastRecentlyUsed) {
  KeptReads<int> kept(10);
  kept.Keep(L"a", std::make_shared<int>(1), 4);
  kept.Keep(L"b", std::make_shared<int>(2), 4);
  ASSERT_TRUE(kept.Find(L"a"));  // b is now the least recently used
  kept.Keep(L"c", std::make_shared<int>(3), 4);
  kept.Keep(L"huge", std::make_shared<int>(4), 11);
  kept.Keep(L"a", std::make_shared<int>(5), 5);  // in place of the old a
  const struct {
    const wchar_t* key;
    int value;  // 0: not kept
  } cases[] = {{L"a", 5}, {L"b", 0}, {L"c", 3}, {L"huge", 0}};
  for (const auto& c : cases) {
    const auto found = kept.Find(c.key);
    EXPECT_EQ(found ? *found : 0, c.value) << std::wstring(c.key);
  }
  EXPECT_EQ(kept.Bytes(), 9u);
}

}  // namespace
