#include "Harness.h"

#include <oleacc.h>

#include <cstdlib>

#include "TestDiscFiles.h"

namespace e2e {
namespace {

std::wstring Parent(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

}  // namespace

std::wstring BuildFolder() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return Parent(self) + L"\\";
}

Disc::Disc(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring base = std::wstring(temp) + L"varnolt-e2e\\";
  ::CreateDirectoryW(base.c_str(), nullptr);
  root_ = base + name + L"\\";
  testsupport::RemoveTree(root_);
  ::CreateDirectoryW(root_.c_str(), nullptr);
  ::CopyFileW((BuildFolder() + L"Varnolt.exe").c_str(), (root_ + L"Varnolt.exe").c_str(), FALSE);
}

Disc::Disc(const std::wstring& name, const std::string& ini, const std::vector<std::wstring>& games)
    : Disc(name) {
  AddSounds();
  AddFile(L"autorun.ini", ini);
  AddFolder(L"games");
  for (const std::wstring& game : games) AddFolder(L"games\\" + game);
}

Disc::~Disc() { testsupport::RemoveTree(root_); }

void Disc::AddFolder(const std::wstring& relative, DWORD attributes) const {
  const std::wstring path = root_ + relative;
  ::CreateDirectoryW(path.c_str(), nullptr);
  if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
}

void Disc::AddFile(const std::wstring& relative, const std::string& bytes, DWORD attributes) const {
  const std::wstring path = root_ + relative;
  if (testsupport::WriteFile(path, bytes) && attributes)
    ::SetFileAttributesW(path.c_str(), attributes);
}

void Disc::AddSounds() const {
  AddFolder(L"autorun");
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    AddFile(std::wstring(L"autorun\\") + sound + L".wav", testfiles::Wave());
}

void Disc::AddRecorder(const std::wstring& relative) const {
  ::CopyFileW((BuildFolder() + L"recorder.exe").c_str(), (root_ + relative).c_str(), FALSE);
}

std::string Disc::Recorded(const std::wstring& relative) const {
  HANDLE file = ::CreateFileW((root_ + relative + L".started.txt").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[4096];
  DWORD got = 0;
  ::ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  ::CloseHandle(file);
  return std::string(buffer, got);
}

Program::Program(const Disc& disc) : Program(disc.Root()) {}

Program::Program(const std::wstring& folder) {
  process_.Start(job_.Get(), folder + L"Varnolt.exe");
}

// Ended before the disc goes, so that nothing holds its files.
Program::~Program() {
  ::TerminateJobObject(job_.Get(), 1);
  process_.WaitForExit(5000);
}

HWND Program::MainWindow(DWORD timeoutMs) const {
  return Find(L"#32770", L"Varnolt", true, timeoutMs);
}

HWND Program::WaitForWindow(const wchar_t* className, const std::wstring& title,
                            DWORD timeoutMs) const {
  return Find(className, title, false, timeoutMs);
}

HWND Program::Find(const wchar_t* className, const std::wstring& title, bool prefix,
                   DWORD timeoutMs) const {
  testsupport::WindowQuery query;
  query.processId = process_.Id();
  query.className = className;
  query.title = title;
  query.titleIsPrefix = prefix;
  const DWORD start = ::GetTickCount();
  do {
    if (const HWND found = testsupport::FindWindowOf(query)) return found;
    if (process_.WaitForExit(10)) return nullptr;
  } while (::GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND Program::WaitUntilIdle(DWORD timeoutMs) const {
  HWND main = MainWindow(timeoutMs);
  if (!main) return nullptr;
  // Start-up lets messages through twice before it fills the list, and
  // never after: once the list has entries, the next message it handles is
  // handled by the message loop, after start-up has returned.
  const HWND list = testsupport::FindMainControls(main).lsGame;
  const DWORD start = ::GetTickCount();
  DWORD_PTR count = 0;
  while (list && ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, timeoutMs, &count) &&
         count == 0) {
    if (::GetTickCount() - start > timeoutMs) return nullptr;
    ::Sleep(5);
  }
  // The second reply comes after any painting that was waiting.
  DWORD_PTR result = 0;
  for (int i = 0; i < 2; ++i)
    if (!::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
      return nullptr;
  return main;
}

std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
    return std::wstring();
  std::wstring text(length + 1, L'\0');
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_NORMAL, 5000, &length))
    return std::wstring();
  text.resize(std::min<std::size_t>(length, text.size() - 1));
  return text;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t buffer[1024];
    const LRESULT length =
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    items.emplace_back(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
  }
  return items;
}

std::wstring MessageBoxText(HWND box) { return TextOf(::GetDlgItem(box, 0xFFFF)); }

bool HasIcon(HWND box) {
  for (HWND child : ChildrenOf(box))
    if (ClassOf(child) == L"Static" &&
        (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      return true;
  return false;
}

void PressOk(HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void Settle(HWND window) {
  DWORD_PTR result = 0;
  for (int i = 0; i < 3; ++i)
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

void TypeKey(HWND window, WORD key, std::initializer_list<WORD> held) {
  ::SetForegroundWindow(window);
  Settle(window);
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD vk : held) add(vk, false);
  add(key, false);
  add(key, true);
  for (auto it = held.end(); it != held.begin();) add(*--it, true);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  ::Sleep(50);  // the input reaches the program's queue
  Settle(window);
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

const char* Name(Colour c) {
  static const char* const kNames[] = {"red",  "lime",       "blue", "yellow",
                                       "grey", "background", "other"};
  return kNames[static_cast<int>(c)];
}

Colour ColourOnScreen(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  struct Known {
    Colour colour;
    int r, g, b;
  };
  const Known known[] = {{Colour::Red, 255, 0, 0},
                         {Colour::Lime, 0, 255, 0},
                         {Colour::Blue, 0, 0, 255},
                         {Colour::Yellow, 255, 255, 0},
                         {Colour::Grey, 80, 80, 80}};
  for (const Known& k : known)
    if (std::abs(r - k.r) < 48 && std::abs(g - k.g) < 48 && std::abs(b - k.b) < 48) return k.colour;
  if (r > 200 && g > 200 && b > 200) return Colour::Background;
  return Colour::Other;
}

std::string ToUtf8(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n,
                        nullptr, nullptr);
  return out;
}

std::string ToCp1251(const std::wstring& text) {
  const int n = ::WideCharToMultiByte(1251, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(1251, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
  return out;
}

}  // namespace e2e
