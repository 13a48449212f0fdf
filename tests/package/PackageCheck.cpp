// Starts the Varnolt.exe of an unpacked package in its disc folder (given as
// the argument, ending in a backslash) and prints, in UTF-8, what a user and
// a screen reader find there: the title, every control's text, the list,
// the description shown for the first game and the title of the window F1
// shows. package-test.sh compares that with the package's sources.
#include <cstdio>
#include <string>

#include "../e2e/Harness.h"

namespace {

void Print(const char* what, const std::wstring& text) {
  std::printf("%s=%s\n", what, e2e::ToUtf8(text).c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const e2e::Program program{std::wstring(argv[1])};
  const HWND main = program.WaitUntilIdle();
  std::printf("started=%s\n", main ? "yes" : "no");
  if (!main) return 1;
  Print("title", e2e::TextOf(main));
  for (HWND control : e2e::ChildrenOf(main))
    if (::IsWindowVisible(control)) Print("control", e2e::TextOf(control));
  const e2e::MainControls controls = e2e::FindMainControls(main);
  for (const std::wstring& item : e2e::ListItems(controls.lsGame)) Print("item", item);

  // Down to the disc's entry, and on to the first game, whose description
  // shows; a busy machine may show it late.
  e2e::TypeKey(main, VK_DOWN);
  e2e::TypeKey(main, VK_DOWN);
  std::wstring shown;
  for (int i = 0; i < 100 && (shown = e2e::TextOf(controls.edDescript)).find(L"Sample Game") ==
                                 std::wstring::npos;
       ++i)
    ::Sleep(50);
  Print("description", shown);

  e2e::TypeKey(main, VK_F1);
  HWND help = nullptr;
  for (int i = 0; i < 100 && !help; ++i, ::Sleep(50))
    if (::GetWindow(::GetForegroundWindow(), GW_OWNER) == main) help = ::GetForegroundWindow();
  Print("help", help ? e2e::TextOf(help) : std::wstring());
  return 0;
}
