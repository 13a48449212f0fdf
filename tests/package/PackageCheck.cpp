// Starts the Varnolt.exe of an unpacked package in its disc folder (given as
// the argument, ending in a backslash) and prints, in UTF-8, what a user and
// a screen reader find there: the title, every control's text, the list,
// the description shown for the first game and whether F1 shows the
// read-me. package-test.sh compares that with the package's sources.
#include <cstdio>
#include <string>

#include "../e2e/Harness.h"

namespace {

void Print(const char* what, const std::wstring& text) {
  std::printf("%s=%s\n", what, e2e::ToUtf8(text).c_str());
}

// A visible dialog window of the program other than its main window.
HWND OtherDialog(const e2e::Program& program, HWND main) {
  testsupport::WindowQuery query;
  query.processId = program.ProcessId();
  query.titleIsPrefix = true;  // any title
  query.visibleOnly = true;
  query.except = main;
  return testsupport::FindWindowOf(query);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: package_check DISC_FOLDER\\\n");
    return 2;
  }
  const e2e::Program program{std::wstring(argv[1])};
  const HWND main = program.WaitUntilIdle();
  if (!main) {
    std::printf("started=no\n");
    return 1;
  }
  std::printf("started=yes\n");
  Print("title", e2e::TextOf(main));
  for (HWND control : e2e::ChildrenOf(main))
    if (::IsWindowVisible(control)) Print("control", e2e::TextOf(control));
  const e2e::MainControls controls = e2e::FindMainControls(main);
  for (const std::wstring& item : e2e::ListItems(controls.lsGame)) Print("item", item);

  // Down to the disc's entry, and on to the first game: its description is
  // shown. A busy machine may handle a key late, so each step is waited for.
  const HWND list = controls.lsGame, description = controls.edDescript;
  for (LRESULT want = 0; want < 2; ++want) {
    ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageW(list, WM_KEYUP, VK_DOWN, static_cast<LPARAM>(0xC0000001u));
    for (int i = 0; i < 100 && ::SendMessageW(list, LB_GETCURSEL, 0, 0) != want; ++i) ::Sleep(50);
    e2e::Settle(main);
  }
  std::wstring shown = e2e::TextOf(description);
  for (int i = 0; i < 100 && shown.find(L"Sample Game") == std::wstring::npos; ++i) {
    ::Sleep(50);
    shown = e2e::TextOf(description);
  }
  Print("description", shown);

  e2e::TypeKey(main, VK_F1);
  HWND help = nullptr;
  for (int i = 0; i < 100 && !help; ++i, ::Sleep(50)) help = OtherDialog(program, main);
  Print("help", help ? e2e::TextOf(help) : std::wstring());
  return 0;
}
