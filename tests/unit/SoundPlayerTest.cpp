// The sound player: how it numbers sounds and what it hands to the system's
// sound call.
#include <gtest/gtest.h>

#include "platform/sim/Sim.h"
#include "sound/ApiPlaySoundClass.h"

namespace {

const std::wstring kFolder = L"D:\\Disc\\autorun\\";

// A number not handed out, or emptied by Free, stops the sound and plays
// nothing; a number outside the table does nothing at all. The player is
// initialised once, on a folder named with its backslash.
TEST(SoundPlayerTest, SoundsAreNumberedFrom1To255AndPlayedByTheirNumber) {
  sim::ResetWorld();
  sim::AddFolder(L"D:\\Disc\\autorun");
  sim::AddFile(kFolder + L"click.wav");
  ApiPlaySoundClass player;
  EXPECT_EQ(player.AddFile(L"click"), ApiPlaySoundClass::kNotInitialised);
  EXPECT_FALSE(player.Init(L"D:\\Disc\\autorun")) << "a folder is named by its backslash";
  ASSERT_TRUE(player.Init(kFolder));
  EXPECT_FALSE(player.Init(kFolder)) << "initialised once only";
  EXPECT_EQ(player.AddFile(L"missing"), ApiPlaySoundClass::kNoSuchFile);
  player.PlayAsync(1);  // not handed out yet
  for (int n = 1; n <= 254; ++n) ASSERT_EQ(player.AddFile(L"click"), n);
  sim::AddFile(kFolder + L"last.wav");
  EXPECT_EQ(player.AddFile(L"last"), 255);
  EXPECT_EQ(player.AddFile(L"click"), ApiPlaySoundClass::kTableFull);
  EXPECT_EQ(player.AddFile(L"missing"), ApiPlaySoundClass::kNoSuchFile)
      << "the file is checked first";
  player.PlayAsync(255);
  player.PlaySync(1);
  for (std::int16_t n : {0, -1, 256, -32768, 32767}) player.PlaySync(n);
  player.Free();
  player.PlayAsync(1);
  const std::wstring click = L"sound:" + kFolder + L"click.wav", stop = L"sound:(stop)";
  EXPECT_EQ(sim::TheWorld().log, (std::vector<std::wstring>{stop, L"sound:" + kFolder + L"last.wav",
                                                            click, stop, stop}));
  EXPECT_EQ(sim::TheWorld().sounds[2].mode, platform::SoundMode::Sync) << "waited for";
}

}  // namespace
