// The measuring programs' handling of the program they measure, tried on
// EmptyWindow.exe (built next to this test): a program left running after
// the benchmark, a window taken for ready that is not, or a close that
// kills instead of closing would spoil every figure without a sign. And the
// dialog template the compared programs are made from.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BenchDialog.h"
#include "BenchDisc.h"
#include "BenchProcess.h"
#include "gtest/gtest.h"

namespace {

constexpr DWORD kTimeoutMs = 10000;

std::wstring NextToThisTest(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.rfind(L'\\') + 1) + name;
}

DWORD ExitCode(HANDLE process) {
  DWORD code = 0;
  ::GetExitCodeProcess(process, &code);
  return code;
}

class ChildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = bench::ExistingFile(NextToThisTest(L"EmptyWindow.exe"));
    ASSERT_FALSE(exe_.empty()) << "EmptyWindow.exe is built with this test";
    job_ = bench::MakeKillOnCloseJob();
    ASSERT_NE(job_, nullptr);
  }
  void TearDown() override {
    if (job_) ::CloseHandle(job_);
  }
  std::wstring exe_;
  HANDLE job_ = nullptr;
};

TEST_F(ChildTest, StartedProgramShowsItsWindowAnswersAndEndsWhenClosed) {
  bench::Child child;
  ASSERT_EQ(child.Start(job_, exe_, "the empty window"), "");
  BOOL inJob = FALSE;
  ASSERT_TRUE(::IsProcessInJob(child.process(), job_, &inJob));
  EXPECT_TRUE(inJob);

  HWND window = nullptr;
  ASSERT_EQ(bench::WaitForWindow(child, L"Empty", bench::Now(), kTimeoutMs, window), "");
  EXPECT_NE(window, nullptr);
  EXPECT_TRUE(bench::Painted(window, kTimeoutMs));
  EXPECT_FALSE(child.Gone());

  // Shown at Varnolt's size for the screen, in the middle of the work area.
  const int dpi = bench::ScreenDpi();
  RECT client, outer, work;
  ASSERT_TRUE(::GetClientRect(window, &client));
  EXPECT_EQ(client.right, ::MulDiv(bench::kMainClientWidth, dpi, 96));
  EXPECT_EQ(client.bottom, ::MulDiv(bench::kMainClientHeight, dpi, 96));
  ::GetWindowRect(window, &outer);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((outer.left - work.left) - (work.right - outer.right)), 1);
  EXPECT_LE(std::abs((outer.top - work.top) - (work.bottom - outer.bottom)), 1);

  // Closed by its window: it ends by itself, with its own exit code.
  child.Close(window);
  EXPECT_TRUE(child.Gone());
  EXPECT_EQ(ExitCode(child.process()), 0u);
}

TEST_F(ChildTest, NoWindowOfAnotherTitleAndNoProgramOutlivesTheJob) {
  bench::Child child;
  ASSERT_EQ(child.Start(job_, exe_, "the empty window"), "");
  HWND window = nullptr;
  const LARGE_INTEGER since = bench::Now();
  EXPECT_EQ(bench::WaitForWindow(child, L"Varnolt", since, 300, window), "no window came");
  EXPECT_EQ(window, nullptr);
  EXPECT_GE(bench::MsBetween(since, bench::Now()), 300);

  // The benchmark ending closes its job, and with it the programs in it.
  ::CloseHandle(job_);
  job_ = nullptr;
  EXPECT_EQ(::WaitForSingleObject(child.process(), kTimeoutMs), WAIT_OBJECT_0);
  if (!child.Gone()) child.Close(nullptr);  // no stray program to hold the test's output open
  EXPECT_EQ(bench::WaitForWindow(child, L"Empty", bench::Now(), kTimeoutMs, window),
            "the program ended before its window showed");
}

TEST_F(ChildTest, WhatCannotStartIsNamedAndHasNoPath) {
  const std::wstring missing = exe_.substr(0, exe_.rfind(L'\\') + 1) + L"NoSuchProgram.exe";
  EXPECT_EQ(bench::ExistingFile(missing), L"");
  bench::Child child;
  const std::string error = child.Start(job_, missing, "NoSuchProgram");
  EXPECT_EQ(error.rfind("cannot start NoSuchProgram (error ", 0), 0u) << error;
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(BenchDialogTest, TemplateGivesTheTitleTheStyleAndAFont) {
  for (const wchar_t* title : {L"Empty window", L"Справка", L""}) {
    const std::vector<WORD> dialog =
        bench::DialogTemplate(WS_POPUP | WS_CAPTION | DS_SETFONT, title);
    HWND window = ::CreateDialogIndirectParamW(
        nullptr, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr, NoDialogProc, 0);
    ASSERT_NE(window, nullptr);
    wchar_t text[64] = L"unread";
    ::GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, title);
    EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
    EXPECT_NE(::SendMessageW(window, WM_GETFONT, 0, 0), 0);
    ::DestroyWindow(window);
  }
}

TEST(BenchProcessTest, VisibleChildOfTheClassCaseIgnoredHiddenOnesPassedOver) {
  // A child counts as visible only in a visible window, as the measured
  // programs' are.
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  auto child = [&](const wchar_t* className, DWORD visible) {
    return ::CreateWindowExW(0, className, L"", WS_CHILD | visible, 0, 0, 10, 10, parent, nullptr,
                             nullptr, nullptr);
  };
  child(L"LISTBOX", 0);
  EXPECT_EQ(bench::VisibleChild(parent, L"ListBox"), nullptr);
  HWND edit = child(L"EDIT", WS_VISIBLE);
  HWND list = child(L"LISTBOX", WS_VISIBLE);
  EXPECT_EQ(bench::VisibleChild(parent, L"ListBox"), list);
  EXPECT_EQ(bench::VisibleChild(parent, L"Edit"), edit);
  EXPECT_EQ(bench::VisibleChild(parent, L"Button"), nullptr);
  ::DestroyWindow(parent);
}

TEST(BenchProcessTest, ScratchFolderGoesWithEverythingInIt) {
  std::wstring folder;
  {
    const std::wstring made = bench::MakeScratchFolder(L"bench-process-test-");
    ASSERT_FALSE(made.empty());
    const bench::RemoveOnExit cleanup{made, "warning: test folder stayed"};
    ASSERT_TRUE(bench::WriteNewFile(made + L"\\file", "x", 1));
    folder = made;
  }
  EXPECT_EQ(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
