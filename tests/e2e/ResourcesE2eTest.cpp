// What the program file itself carries: its icon, its manifest,
// and the names a screen reader speaks for its controls.
#include <gtest/gtest.h>

#include "Harness.h"

namespace {

using namespace e2e;

TEST(Resources, IconAndManifest) {
  const std::wstring exe = BuildFolder() + L"Varnolt.exe";
  HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const BYTE* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(module, group)));
  ASSERT_NE(dir, nullptr);
  EXPECT_EQ(dir[4], 1) << "one picture";
  EXPECT_EQ(dir[6], 16) << "16 pixels wide";
  EXPECT_EQ(dir[7], 16) << "16 pixels high";
  EXPECT_EQ(dir[6 + 6], 24) << "24-bit colour";

  HRSRC manifest = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const char* text = static_cast<const char*>(::LockResource(::LoadResource(module, manifest)));
  const std::string xml(text, ::SizeofResource(module, manifest));
  EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(xml.find("PerMonitorV2"), std::string::npos);
  EXPECT_EQ(xml.find("activeCodePage"), std::string::npos) << "the ANSI code page is the system's";
  ::FreeLibrary(module);
}

TEST(Accessibility, TheDescriptionBoxIsNamedByItsLabel) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Disc disc(L"names", ToCp1251(L"[main]\r\ndisk=D\r\ndescription=Описание игры\r\n"), {L"G"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const MainControls controls = FindMainControls(main);
  ASSERT_NE(controls.edDescript, nullptr);
  EXPECT_EQ(ToUtf8(SpokenName(controls.edDescript)), ToUtf8(L"Описание игры"));
  ::CoUninitialize();
}

}  // namespace
