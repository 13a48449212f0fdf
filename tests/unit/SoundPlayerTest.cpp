// The sound player: how it numbers sounds and what it hands to the system's
// sound call.
#include <gtest/gtest.h>

#include "platform/sim/Sim.h"
#include "sound/ApiPlaySoundClass.h"

namespace {

const std::wstring kFolder = L"D:\\Disc\\autorun\\";

class SoundPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetWorld();
    sim::AddFolder(L"D:\\Disc");
    sim::AddFolder(L"D:\\Disc\\autorun");
    sim::AddFile(kFolder + L"click.wav");
  }
  ApiPlaySoundClass player;
};

TEST_F(SoundPlayerTest, SoundsAreNumberedFrom1To255) {
  EXPECT_EQ(player.AddFile(L"click"), ApiPlaySoundClass::kNotInitialised);
  ASSERT_TRUE(player.Init(kFolder));
  EXPECT_EQ(player.AddFile(L"missing"), ApiPlaySoundClass::kNoSuchFile);
  for (int n = 1; n <= 254; ++n) ASSERT_EQ(player.AddFile(L"click"), n);
  sim::AddFile(kFolder + L"last.wav");
  EXPECT_EQ(player.AddFile(L"last"), 255);
  EXPECT_EQ(player.AddFile(L"click"), ApiPlaySoundClass::kTableFull);
  EXPECT_EQ(player.AddFile(L"missing"), ApiPlaySoundClass::kNoSuchFile)
      << "the file is checked first";
  player.PlayAsync(255);
  EXPECT_EQ(sim::TheWorld().log, std::vector<std::wstring>{L"sound:" + kFolder + L"last.wav"});
}

// A number not handed out, or emptied by Free, stops the sound and plays
// nothing; a number outside the table does nothing at all.
TEST_F(SoundPlayerTest, PlayingHandsThePathAndFlagsToTheSystem) {
  ASSERT_TRUE(player.Init(kFolder));
  player.PlayAsync(player.AddFile(L"click"));
  player.PlaySync(1);
  player.PlayAsync(7);
  for (std::int16_t n : {0, -1, 256, -32768, 32767}) player.PlaySync(n);
  player.Free();
  player.PlayAsync(1);
  const std::wstring click = L"sound:" + kFolder + L"click.wav";
  EXPECT_EQ(sim::TheWorld().log, (std::vector<std::wstring>{click, click, L"sound:(stop)",
                                                            L"sound:(stop)", L"sound:(stop)"}));
  EXPECT_EQ(sim::TheWorld().sounds.at(0).flags, 0x20003u);
  EXPECT_EQ(sim::TheWorld().sounds.at(1).flags, 0x20002u);
}

}  // namespace
