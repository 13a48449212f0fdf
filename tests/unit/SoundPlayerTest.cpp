// The sound player: which folders it accepts, how it numbers sounds, what
// it hands to the system's sound call.
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

TEST_F(SoundPlayerTest, InitAcceptsOnlyAFolderWithItsBackslashHoldingAnOrdinaryFile) {
  EXPECT_FALSE(player.Init(L"D:\\Disc\\autorun")) << "a folder without its backslash is not a file";
  EXPECT_FALSE(player.Init(L"D:\\Missing\\"));
  EXPECT_FALSE(player.Init(L""));
  EXPECT_FALSE(player.IsInit);
  EXPECT_TRUE(player.Init(kFolder));
  EXPECT_TRUE(player.IsInit);
  EXPECT_FALSE(player.Init(L"D:\\Disc\\")) << "a second Init is refused";
  EXPECT_EQ(player.SoundPath(), kFolder);
}

TEST_F(SoundPlayerTest, InitRefusesFoldersWithoutAnOrdinaryFile) {
  sim::AddFolder(L"D:\\Empty");
  sim::AddFolder(L"D:\\Hidden");
  sim::AddFile(L"D:\\Hidden\\a.wav", "x", {true, false, false});
  sim::AddFile(L"D:\\Hidden\\b.wav", "x", {false, true, false});
  sim::AddFolder(L"D:\\Hidden\\sub");
  sim::AddFolder(L"D:\\ReadOnly");
  sim::AddFile(L"D:\\ReadOnly\\notes.txt", "x", {false, false, true});
  EXPECT_FALSE(player.Init(L"D:\\Empty\\"));
  EXPECT_FALSE(player.Init(L"D:\\Hidden\\"));
  EXPECT_TRUE(player.Init(L"D:\\ReadOnly\\")) << "any ordinary file, read-only ones included";
}

TEST_F(SoundPlayerTest, AddFileNumbersSoundsAndReportsRefusals) {
  EXPECT_EQ(player.AddFile(L"click"), ApiPlaySoundClass::kNotInitialised);
  ASSERT_TRUE(player.Init(kFolder));
  sim::AddFile(kFolder + L"hidden.wav", "x", {true, false, false});
  sim::AddFile(kFolder + L"locked.wav", "x", {false, false, true});
  EXPECT_EQ(player.AddFile(L"missing"), ApiPlaySoundClass::kNoSuchFile);
  EXPECT_EQ(player.AddFile(L"hidden"), ApiPlaySoundClass::kNoSuchFile);
  EXPECT_EQ(player.AddFile(L"click"), 1);
  EXPECT_EQ(player.AddFile(L"locked"), 2) << "read-only files register";
  for (int n = 3; n <= 255; ++n) ASSERT_EQ(player.AddFile(L"click"), n);
  EXPECT_EQ(player.AddFile(L"click"), ApiPlaySoundClass::kTableFull);
  EXPECT_EQ(player.AddFile(L"missing"), ApiPlaySoundClass::kNoSuchFile)
      << "the file is checked first";
  EXPECT_EQ(player.FileCount(), 255);
  player.PlayAsync(255);  // the last entry plays like the first
  ASSERT_EQ(sim::TheWorld().sounds.size(), 1u);
  EXPECT_EQ(sim::TheWorld().sounds[0].path, std::optional<std::wstring>(kFolder + L"click.wav"));
}

TEST_F(SoundPlayerTest, PlayingHandsThePathAndFlagsToTheSystem) {
  ASSERT_TRUE(player.Init(kFolder));
  const std::int16_t click = player.AddFile(L"click");
  player.PlayAsync(click);
  player.PlaySync(click);
  player.PlayAsync(7);  // a number not handed out yet: stops, plays nothing
  const auto& sounds = sim::TheWorld().sounds;
  ASSERT_EQ(sounds.size(), 3u);
  EXPECT_EQ(sounds[0].path, std::optional<std::wstring>(kFolder + L"click.wav"));
  EXPECT_EQ(sounds[0].flags, 0x20003u);
  EXPECT_EQ(sounds[1].flags, 0x20002u);
  EXPECT_EQ(sounds[2].path, std::nullopt);
}

TEST_F(SoundPlayerTest, NumbersOutsideTheTableDoNothing) {
  ASSERT_TRUE(player.Init(kFolder));
  player.AddFile(L"click");
  for (std::int16_t n : {0, -1, -2, 256, -32768, 32767}) {
    player.PlayAsync(n);
    player.PlaySync(n);
  }
  EXPECT_TRUE(sim::TheWorld().sounds.empty());
}

TEST_F(SoundPlayerTest, AMissingSoundLibraryIsSilentForTheCaller) {
  sim::TheWorld().soundLibraryMissing = true;
  ASSERT_TRUE(player.Init(kFolder));
  player.PlayAsync(player.AddFile(L"click"));  // no crash, nothing reported
  EXPECT_TRUE(sim::TheWorld().sounds.empty());
}

TEST_F(SoundPlayerTest, FreeStopsEmptiesAndKeepsCounting) {
  ASSERT_TRUE(player.Init(kFolder));
  EXPECT_EQ(player.AddFile(L"click"), 1);
  EXPECT_EQ(player.AddFile(L"click"), 2);
  player.Free();
  EXPECT_FALSE(player.IsInit);
  ASSERT_EQ(sim::TheWorld().sounds.size(), 1u);
  EXPECT_EQ(sim::TheWorld().sounds[0].path, std::nullopt) << "Free stops the playing sound";
  player.PlayAsync(1);
  EXPECT_EQ(sim::TheWorld().sounds.back().path, std::nullopt) << "entries are empty after Free";
  EXPECT_EQ(player.AddFile(L"click"), 0);
  ASSERT_TRUE(player.Init(kFolder));
  EXPECT_EQ(player.AddFile(L"click"), 3);
}

}  // namespace
