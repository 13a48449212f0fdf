#include "Harness.h"

#include <oleacc.h>

#include <cstdlib>

#include "TestDiscFiles.h"

namespace e2e {

std::wstring BuildFolder() {
  wchar_t self[MAX_PATH];
  const std::wstring path(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
  return path.substr(0, path.rfind(L'\\') + 1);
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
  AddFolder(L"autorun");
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    AddFile(std::wstring(L"autorun\\") + sound + L".wav", testfiles::Wave());
  AddFile(L"autorun.ini", ini);
  AddFolder(L"games");
  for (const std::wstring& game : games) AddFolder(L"games\\" + game);
}

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

void Disc::AddRecorder(const std::wstring& relative) const {
  ::CopyFileW((BuildFolder() + L"recorder.exe").c_str(), (root_ + relative).c_str(), FALSE);
}

std::wstring Disc::Recorded(const std::wstring& relative, DWORD waitMs) const {
  const std::wstring path = root_ + relative + L".started.txt";
  for (DWORD waited = 0;; waited += 50, ::Sleep(50)) {
    const testsupport::Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    wchar_t record[2048];
    DWORD got = 0;
    if (file.Valid() && ::ReadFile(file.Get(), record, sizeof record, &got, nullptr))
      return std::wstring(record, got / sizeof(wchar_t));
    if (waited >= waitMs) return std::wstring();
  }
}

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
  const HWND main = MainWindow(timeoutMs);
  // Start-up lets messages through twice before it fills the list, and
  // never after: once the list has entries, the next message it handles is
  // handled by the message loop, after start-up has returned.
  const HWND list = main ? FindMainControls(main).lsGame : nullptr;
  const DWORD start = ::GetTickCount();
  DWORD_PTR count = 0;
  while (list && ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, timeoutMs, &count) &&
         count == 0 && ::GetTickCount() - start < timeoutMs)
    ::Sleep(5);
  if (!list || count == 0) return nullptr;
  Settle(main);  // the last reply comes after any painting that was waiting
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
  wchar_t item[1024];
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    items.emplace_back(item, static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
  }
  return items;
}

bool HasIcon(HWND box) {
  // A message box may hold an empty icon control when it shows none.
  for (HWND child : ChildrenOf(box))
    if (ClassOf(child) == L"Static" && ::IsWindowVisible(child) &&
        (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        ::SendMessageW(child, STM_GETICON, 0, 0))
      return true;
  return false;
}

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
  platform::win32::ComPtr<IAccessible> object;
  if (FAILED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(object.Put()))))
    return L"(no accessible object)";
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring result;
  if (SUCCEEDED(object->get_accName(self, &name)) && name) result = name;
  ::SysFreeString(name);
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

namespace {

std::string Encode(UINT codePage, const std::wstring& text) {
  const int size = static_cast<int>(text.size());
  std::string out(static_cast<std::size_t>(::WideCharToMultiByte(codePage, 0, text.c_str(), size,
                                                                 nullptr, 0, nullptr, nullptr)),
                  '\0');
  ::WideCharToMultiByte(codePage, 0, text.c_str(), size, out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
  return out;
}

}  // namespace

std::string ToUtf8(const std::wstring& text) { return Encode(CP_UTF8, text); }
std::string ToCp1251(const std::wstring& text) { return Encode(1251, text); }

}  // namespace e2e
