// Choosing games and starting them in the real program under Wine, as a user
// would with the keyboard: the description box and the launch button follow
// the list, Enter starts the installer minimised by its full path. What a
// failed launch shows is the unit tests'.
#include <gtest/gtest.h>

#include "Harness.h"

namespace {

using namespace e2e;

TEST(GameDetails, ArrowsShowEachEntryAndEnterStartsItsInstaller) {
  Disc disc(L"details", ToCp1251(L"[main]\r\ndisk=Диск\r\nScreenReader=0\r\n"),
            {L"Alpha", L"Beta", L"My Game ΩΨ"});
  disc.AddFile(L"autorun\\descript.ion", ToCp1251(L"Описание диска"));
  // A tab shows as the blanks to the line's next stop of 8 characters.
  disc.AddFile(L"games\\Alpha\\descript.ion", "\xEF\xBB\xBF" + ToUtf8(L"Альфа:\tΩΨ\r\nстрока 2"));
  disc.AddRecorder(L"games\\My Game ΩΨ\\setup.exe");
  // Started by mistake instead of "My Game ΩΨ\setup.exe" when its path were
  // split at the blank.
  disc.AddRecorder(L"games\\My.exe");
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls c = FindMainControls(main);
  // Each entry's description, and whether it can be launched.
  const std::pair<const wchar_t*, bool> steps[] = {
      {L"Описание диска", false}, {L"Альфа:  ΩΨ\r\nстрока 2", true}, {L"", true}};
  for (const auto& [description, launch] : steps) {
    TypeKey(main, VK_DOWN);
    EXPECT_EQ(ToUtf8(TextOnceShown(c.edDescript, description)), ToUtf8(description));
    EXPECT_EQ(::IsWindowEnabled(c.btInstall) != FALSE, launch) << ToUtf8(description);
  }

  TypeKey(main, VK_DOWN);  // My Game ΩΨ
  TypeKey(main, VK_RETURN);
  EXPECT_EQ(disc.Recorded(L"games\\My Game ΩΨ\\setup.exe", 10000),
            L"2 \"" + disc.Root() + L"games\\My Game ΩΨ\\setup.exe\"");
}

}  // namespace
