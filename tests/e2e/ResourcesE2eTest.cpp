// What the program file itself carries: its version, its icon, its manifest,
// and the names a screen reader speaks for its controls.
#include <gtest/gtest.h>
#include <oleacc.h>

#include "Harness.h"
#include "Version.h"

namespace {

using namespace e2e;

std::wstring VersionString(const std::vector<BYTE>& data, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!::VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      !value)
    return std::wstring();
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

TEST(Resources, VersionIconAndManifest) {
  const std::wstring exe = BuildFolder() + L"Varnolt.exe";
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD high = (VARNOLT_VERSION_MAJOR << 16) | VARNOLT_VERSION_MINOR;
  const DWORD low = (VARNOLT_VERSION_PATCH << 16) | VARNOLT_VERSION_REVISION;
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
  EXPECT_EQ(VersionString(data, L"FileVersion"), L"" VARNOLT_VERSION_RESOURCE_TEXT);
  EXPECT_EQ(VersionString(data, L"ProductVersion"), L"" VARNOLT_VERSION_RESOURCE_TEXT);

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

std::wstring SpokenName(HWND control) {
  IAccessible* accessible = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(&accessible))))
    return L"(no accessible object)";
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring result;
  if (SUCCEEDED(accessible->get_accName(self, &name)) && name) result = name;
  ::SysFreeString(name);
  accessible->Release();
  return result;
}

TEST(Accessibility, TheDescriptionBoxIsNamedByItsLabel) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Disc disc(L"names", ToCp1251(L"[main]\r\ndisk=D\r\ndescription=Описание игры\r\n"), {L"G"});
  Program program(disc);
  const HWND main = program.WaitUntilIdle();
  ASSERT_NE(main, nullptr);
  const std::vector<HWND> children = ChildrenOf(main);
  ASSERT_EQ(children.size(), 9u);
  EXPECT_EQ(ToUtf8(SpokenName(children[3])), ToUtf8(L"Описание игры"));
  ::CoUninitialize();
}

}  // namespace
