// VarnoltCheck.exe: checks a disc folder (the one given, or the program's own)
// and prints what a player would meet on it. Written to a console, the report
// goes through the console's own wide call, so Cyrillic shows whatever the
// console's code page; into a pipe (`| find`, `| more`) it is in the
// console's code page, which the programs reading it expect; into a file,
// UTF-8 with a byte-order mark, which every Notepad recognises.
#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "check/CheckReport.h"
#include "check/DiscCheck.h"
#include "platform/Platform.h"
#include "platform/win32/ScopedWin.h"

namespace {

constexpr int kStatusCannotRead = 3;

class Output {
 public:
  Output() : handle_(::GetStdHandle(STD_OUTPUT_HANDLE)) {
    DWORD mode = 0;
    const bool valid = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
    console_ = valid && ::GetConsoleMode(handle_, &mode);
    if (valid && !console_ && ::GetFileType(handle_) == FILE_TYPE_PIPE) {
      codePage_ = ::GetConsoleOutputCP();
      if (codePage_ == 0) codePage_ = ::GetOEMCP();
      // A code page without the quotation marks « » (866 among them) would
      // write them as < >, which a screen reader reads as "less" and "more".
      BOOL lacking = FALSE;
      char mark[8];
      if (codePage_ != CP_UTF8)
        ::WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, L"\x00AB\x00BB", 2, mark,
                              sizeof mark, nullptr, &lacking);
      plainQuotes_ = lacking != FALSE;
    } else if (valid && !console_) {
      pending_ = L"\xFEFF";  // the byte-order mark
    }
  }
  bool ToConsole() const { return console_; }

  void Line(const std::wstring& text) {
    pending_ += text;
    pending_ += L"\r\n";
    if (pending_.size() > 32 * 1024) Flush();
  }

  void Flush() {
    if (pending_.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
    if (console_) {
      for (std::size_t done = 0; done < pending_.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(pending_.size() - done, 8192));
        DWORD written = 0;
        if (!::WriteConsoleW(handle_, pending_.data() + done, chunk, &written, nullptr) ||
            written == 0)
          break;
        done += written;
      }
    } else {
      if (plainQuotes_)
        for (wchar_t& c : pending_)
          if (c == L'\x00AB' || c == L'\x00BB') c = L'"';
      const int length = static_cast<int>(pending_.size());
      const int bytes = ::WideCharToMultiByte(codePage_, 0, pending_.data(), length, nullptr, 0,
                                              nullptr, nullptr);
      std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
      if (bytes > 0)
        ::WideCharToMultiByte(codePage_, 0, pending_.data(), length, &utf8[0], bytes, nullptr,
                              nullptr);
      for (std::size_t done = 0; done < utf8.size();) {
        DWORD written = 0;
        if (!::WriteFile(handle_, utf8.data() + done, static_cast<DWORD>(utf8.size() - done),
                         &written, nullptr) ||
            written == 0)
          break;
        done += written;
      }
    }
    pending_.clear();
  }

 private:
  HANDLE handle_;
  bool console_ = false;
  UINT codePage_ = CP_UTF8;
  bool plainQuotes_ = false;
  std::wstring pending_;
};

// Started from Explorer, the program has a console of its own, which closes
// with it: the report stays until a key is pressed.
void WaitForKeyInOwnConsole(Output& out) {
  DWORD processes[2];
  if (!out.ToConsole() || ::GetConsoleProcessList(processes, 2) != 1) return;
  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (input == nullptr || input == INVALID_HANDLE_VALUE || !::GetConsoleMode(input, &mode)) return;
  out.Line(L"Нажмите любую клавишу, чтобы закрыть окно.");
  out.Flush();
  ::FlushConsoleInputBuffer(input);
  for (;;) {
    INPUT_RECORD record;
    DWORD read = 0;
    if (!::ReadConsoleInputW(input, &record, 1, &read) || read == 0) return;
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
  }
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // A disc's folder may hold DLLs: none is ever taken from it.
  platform::win32::HardenDllSearch();
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);  // no "insert a disk" boxes
  Output out;
  check::ReportOptions options;
  std::wstring given;
  int folders = 0;
  bool help = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const wchar_t letter = arg.size() == 2 && (arg[0] == L'/' || arg[0] == L'-')
                               ? static_cast<wchar_t>(std::towlower(arg[1]))
                               : L'\0';
    if (letter == L'p')
      options.problemsOnly = true;
    else if (letter == L't')
      options.textStarts = true;
    else if (letter == L'?')
      help = true;
    else
      given = arg, ++folders;
  }
  if (help || folders > 1) {
    out.Line(L"Проверка диска для Varnolt: VarnoltCheck.exe [ПАПКА] [/p] [/t]");
    out.Line(L"Без папки проверяется папка, в которой лежит VarnoltCheck.exe.");
    out.Line(L"/p — только ошибки запуска и проблемы; /t — как начинается каждый текст.");
    out.Line(
        L"Код выхода: 0 — диск готов, 1 — игрок встретит проблемы, 2 — Varnolt не запустится, "
        L"3 — папку не удаётся прочитать.");
    out.Flush();
    return folders > 1 ? kStatusCannotRead : 0;
  }
  if (folders == 0) given = platform::ExecutableFolder();
  // "D:\Disc\" typed with its closing backslash reaches the program as
  // D:\Disc" (the backslash escapes the quote); no name holds a quote.
  if (!given.empty() && given.back() == L'"') given.back() = L'\\';
  const check::Report report = check::CheckDisc(FullPath(given));
  for (const std::wstring& line : check::ReportLines(report, given, options)) out.Line(line);
  out.Flush();
  WaitForKeyInOwnConsole(out);
  return check::ExitStatus(report);
}
