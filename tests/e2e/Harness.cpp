#include "Harness.h"

#include <algorithm>

#include "../common/RemoveTree.h"

namespace e2e {
namespace {

std::wstring Parent(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

using testfiles::RemoveTree;

// A short silent PCM wave file.
std::string SilentWave() {
  const unsigned rate = 8000, samples = 400;
  std::string w = "RIFF";
  auto put32 = [&w](unsigned v) {
    for (int i = 0; i < 4; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [&w](unsigned v) {
    w += static_cast<char>(v & 0xFF);
    w += static_cast<char>((v >> 8) & 0xFF);
  };
  put32(36 + samples);
  w += "WAVEfmt ";
  put32(16);
  put16(1);
  put16(1);
  put32(rate);
  put32(rate);
  put16(1);
  put16(8);
  w += "data";
  put32(samples);
  w += std::string(samples, static_cast<char>(0x80));
  return w;
}

struct FindState {
  DWORD processId;
  const wchar_t* className;
  const std::wstring* title;
  bool titleIsPrefix;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != state->processId) return TRUE;
  if (ClassOf(hwnd) != state->className) return TRUE;
  const std::wstring text = TextOf(hwnd);
  if (state->titleIsPrefix ? text.compare(0, state->title->size(), *state->title) != 0
                           : text != *state->title)
    return TRUE;
  state->found = hwnd;
  return FALSE;
}

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
  RemoveTree(root_);
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

Disc::~Disc() {
  RemoveTree(root_);
  ::RemoveDirectoryW(root_.c_str());
}

void Disc::AddFolder(const std::wstring& relative, DWORD attributes) const {
  const std::wstring path = root_ + relative;
  ::CreateDirectoryW(path.c_str(), nullptr);
  if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
}

void Disc::AddFile(const std::wstring& relative, const std::string& bytes, DWORD attributes) const {
  const std::wstring path = root_ + relative;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
}

void Disc::AddSounds() const {
  AddFolder(L"autorun");
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    AddFile(std::wstring(L"autorun\\") + sound + L".wav", SilentWave());
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
  job_ = ::CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  const std::wstring exe = folder + L"Varnolt.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &info))
    return;
  ::AssignProcessToJobObject(job_, info.hProcess);
  ::ResumeThread(info.hThread);
  ::CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

Program::~Program() {
  if (process_) {
    ::TerminateJobObject(job_, 1);
    ::WaitForSingleObject(process_, 5000);
    ::CloseHandle(process_);
  }
  if (job_) ::CloseHandle(job_);
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
  const DWORD start = ::GetTickCount();
  do {
    FindState state = {processId_, className, &title, prefix, nullptr};
    ::EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    if (::WaitForSingleObject(process_, 10) == WAIT_OBJECT_0) return nullptr;
  } while (::GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND Program::WaitUntilIdle(DWORD timeoutMs) const {
  HWND main = MainWindow(timeoutMs);
  if (!main) return nullptr;
  // Start-up lets messages through twice before it fills the list, and
  // never after: once the list has entries, the next message it handles is
  // handled by the message loop, after start-up has returned.
  HWND list = nullptr;
  for (HWND child : ChildrenOf(main))
    if (ClassOf(child) == L"ListBox" && (::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
      list = child;
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

bool Program::WaitForExit(DWORD timeoutMs) const {
  return process_ && ::WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

int Program::ProcessesInJob() const {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
  if (!::QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof info,
                                   nullptr))
    return -1;
  return static_cast<int>(info.TotalProcesses);
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

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256];
  const int length = ::GetClassNameW(hwnd, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
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
