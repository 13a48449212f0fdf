#include "Harness.h"

#include <oleacc.h>

#include <cstdlib>

#include "TestDiscFiles.h"
#include "platform/win32/ModulePath.h"

namespace e2e {

std::wstring BuildFolder() {
  const std::wstring path = platform::win32::ModulePath();
  return path.substr(0, path.rfind(L'\\') + 1);
}

Disc::Disc(const std::wstring& name, const std::string& ini, const std::vector<std::wstring>& games)
    : root_(testsupport::MakeScratchFolder(L"varnolt " + name + L" ") + L"\\") {
  ::CopyFileW((BuildFolder() + L"Varnolt.exe").c_str(), (root_ + L"Varnolt.exe").c_str(), FALSE);
  AddFolder(L"autorun");
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    AddFile(std::wstring(L"autorun\\") + sound + L".wav", testfiles::Wave());
  AddFile(L"autorun.ini", ini);
  AddFolder(L"games");
  for (const std::wstring& game : games) AddFolder(L"games\\" + game);
}

void Disc::AddFolder(const std::wstring& relative, DWORD attributes) const {
  ::CreateDirectoryW((root_ + relative).c_str(), nullptr);
  ::SetFileAttributesW((root_ + relative).c_str(), attributes);
}

void Disc::AddFile(const std::wstring& relative, const std::string& bytes, DWORD attributes) const {
  testsupport::WriteFile(root_ + relative, bytes);
  ::SetFileAttributesW((root_ + relative).c_str(), attributes);
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

HWND Program::Window(const std::wstring& titlePrefix, DWORD timeoutMs) const {
  const DWORD start = ::GetTickCount();
  do {
    if (const HWND found = testsupport::FindDialog(process_.Id(), titlePrefix)) return found;
    if (process_.WaitForExit(10)) return nullptr;
  } while (::GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND Program::WaitUntilIdle(DWORD timeoutMs) const {
  const HWND main = Window(L"Varnolt", timeoutMs);
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
    if (::IsWindowVisible(child) && ::SendMessageW(child, STM_GETICON, 0, 0)) return true;
  return false;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

namespace {
std::vector<HWND> focusSeen;
void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (object == OBJID_CLIENT) focusSeen.push_back(window);
}
}  // namespace

FocusWatch::FocusWatch()
    : hook_(::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent, 0, 0,
                              WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)) {
  focusSeen.clear();
}

FocusWatch::~FocusWatch() {
  if (hook_) ::UnhookWinEvent(hook_);
}

std::vector<HWND> FocusWatch::Seen(DWORD ms) {
  // Out-of-context events come to this thread as messages.
  for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(10)) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  return focusSeen;
}

void Settle(HWND window) {
  DWORD_PTR result = 0;
  for (int i = 0; i < 3; ++i)
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

std::wstring TextOnceShown(HWND control, const std::wstring& expected, DWORD timeoutMs) {
  std::wstring text = TextOf(control);
  for (const DWORD start = ::GetTickCount();
       text != expected && ::GetTickCount() - start < timeoutMs; text = TextOf(control))
    ::Sleep(20);
  return text;
}

void TypeKey(HWND window, WORD key, std::initializer_list<WORD> held) {
  ::SetForegroundWindow(window);
  Settle(window);
  const auto press = [](WORD vk, DWORD up) { ::keybd_event(static_cast<BYTE>(vk), 0, up, 0); };
  for (WORD vk : held) press(vk, 0);
  press(key, 0);
  press(key, KEYEVENTF_KEYUP);
  for (auto it = held.end(); it != held.begin();) press(*--it, KEYEVENTF_KEYUP);
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

std::string ColourOnScreen(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  const struct {
    const char* name;
    int r, g, b;
  } known[] = {{"red", 255, 0, 0},      {"lime", 0, 255, 0},  {"blue", 0, 0, 255},
               {"yellow", 255, 255, 0}, {"grey", 80, 80, 80}, {"background", 255, 255, 255}};
  for (const auto& k : known)
    if (std::abs(GetRValue(c) - k.r) < 48 && std::abs(GetGValue(c) - k.g) < 48 &&
        std::abs(GetBValue(c) - k.b) < 48)
      return k.name;
  return "other";
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
