// How long Varnolt's window stops answering when it shows a long text: a
// game's description on selection, and the disc's read-me on F1, for texts
// with long lines, with every kind of line end, and up to the 1 MiB that is
// shown of a file at most.
//
//   TextBench [--runs N] [--deadline S] [--texts WORD] VARNOLT_EXE [OTHER_VARNOLT_EXE...]
//
// --texts measures only the texts whose label holds WORD ("tabs", "64 KB").
//
// The programs sit in the root of one disc made here, with a warm-up game
// with a short description and one game per text; before each run the text
// is also written as the disc's read.me.txt. Every run starts a fresh
// process, waits until its list is filled and painted, and chooses the
// warm-up game. Then:
// - selection: the entry before the measured game is selected quietly
//   (LB_SETCURSEL sends no notification), a Down key is posted to the list,
//   and the clock runs until the description box holds at least as many
//   characters as the text and two WM_NULL round trips to the window have
//   returned, the second after the paint the selection caused;
// - read-me: F1 is posted to the list, and the clock runs until the help
//   window shows, its text box holds the text and two WM_NULL round trips to
//   it have returned.
// Until the help window shows, the main window is asked every millisecond
// whether it answers (the read-me may be read on a reader meanwhile); the
// longest wait counts as the window's silence too. Esc closes the help
// window, WM_CLOSE the program. A measurement that passes the
// deadline is given as more than it, and its process is ended.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "BenchDisc.h"
#include "BenchProcess.h"

namespace {

using namespace bench;

constexpr double kStartDeadlineMs = 30000;
constexpr DWORD kSettleMs = 100;
constexpr std::size_t kSmall = 64 * 1024;  // up to here the stricter goal holds
constexpr double kGoalMs = 1000, kSmallGoalMs = 200;

// ---- The texts ---------------------------------------------------------------

// Letters without a blank.
std::string NoBlanks(std::size_t size) {
  std::string s(size, 'x');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

// Words of 2 to 10 letters between single blanks (or tabs), like prose.
std::string Words(std::size_t size, char blank = ' ') {
  std::string s;
  s.reserve(size);
  std::uint32_t seed = 7;
  while (s.size() < size) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t word = 2 + (seed >> 16) % 9;
    for (std::size_t k = 0; k < word && s.size() < size; ++k)
      s += static_cast<char>('a' + (seed >> (k + 8)) % 26);
    if (s.size() < size) s += blank;
  }
  return s;
}

// Prose in lines of about 70 characters, each ended by `end`.
std::string Lines(std::size_t size, const std::string& end, char blank = ' ') {
  const std::string words = Words(size, blank);
  std::string s;
  s.reserve(size + size / 30);
  std::size_t column = 0;
  for (char c : words) {
    if (s.size() + end.size() >= size) break;
    if (c == blank && column >= 70) {
      s += end;
      column = 0;
      continue;
    }
    s += c;
    ++column;
  }
  while (s.size() < size) s += 'x';
  return s;
}

struct Text {
  const char* label;
  std::string bytes;
};

std::vector<Text> Texts() {
  const std::size_t mib = 1024 * 1024;
  return {
      {"200 chars with blanks (the floor)", Words(200)},
      {"20,000 chars, no blanks, one line", NoBlanks(20000)},
      {"50,000 chars, no blanks, one line", NoBlanks(50000)},
      {"64 KB, no blanks, one line", NoBlanks(kSmall)},
      {"64 KB with blanks, one line", Words(kSmall)},
      {"16 KB with tabs, one line", Words(16 * 1024, '\t')},
      {"64 KB with tabs, one line", Words(kSmall, '\t')},
      {"16 KB with tabs, CRLF line ends", Lines(16 * 1024, "\r\n", '\t')},
      {"64 KB with tabs, CRLF line ends", Lines(kSmall, "\r\n", '\t')},
      {"100,000 chars, no blanks, one line", NoBlanks(100000)},
      {"100,000 chars with blanks, one line", Words(100000)},
      {"100 KB, CR-only line ends", Lines(100 * 1024, "\r")},
      {"100 KB, CRLF line ends", Lines(100 * 1024, "\r\n")},
      {"1 MiB, no blanks, one line", NoBlanks(mib)},
      {"1 MiB with blanks, one line", Words(mib)},
      {"1 MiB, CR-only line ends", Lines(mib, "\r")},
      {"1 MiB, CRLF line ends", Lines(mib, "\r\n")},
  };
}

// ---- One run -----------------------------------------------------------------

struct Program {
  std::string label;
  std::wstring exe;
};

// -1: past the deadline.
struct Measured {
  double answerMs = -1, longestMs = -1, wholeMs = -1;
};

struct RunResult {
  Measured selection, readMe;
  std::string error;
};

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
          DWORD timeoutMs) {
  return bench::Send(window, message, wParam, lParam, result, timeoutMs);
}

// Follows the text box `edit` of `window` from `start`, just after the key
// was posted, until it holds at least `length` characters and the window has
// painted: `answerMs` is the time until the window first answered with the
// new text begun (its length no longer `before`), `longestMs` the longest the
// window then kept any message waiting (one round trip a millisecond), at
// least `answerMs`, and `wholeMs` the time until the whole text was in. False
// when the deadline passed first.
bool Follow(HWND window, HWND edit, LRESULT before, std::size_t length, LARGE_INTEGER start,
            double deadlineMs, Measured& m, const double* silenceBefore = nullptr) {
  auto left = [&] {
    return static_cast<DWORD>(std::max(0.0, deadlineMs - MsBetween(start, Now())));
  };
  LRESULT n = before;
  while (n == before) {
    if (left() == 0 || !Send(edit, WM_GETTEXTLENGTH, 0, 0, n, left() + 1)) return false;
  }
  const LARGE_INTEGER painting = Now();
  if (left() == 0 || !bench::Painted(window, left() + 1)) return false;
  m.answerMs = m.longestMs = MsBetween(start, Now());
  if (silenceBefore) m.longestMs = std::max(*silenceBefore, MsBetween(painting, Now()));
  for (;;) {
    const LARGE_INTEGER sent = Now();
    if (left() == 0 || !Send(edit, WM_GETTEXTLENGTH, 0, 0, n, left() + 1)) return false;
    m.longestMs = std::max(m.longestMs, MsBetween(sent, Now()));
    if (static_cast<std::size_t>(n) >= length) break;
    ::Sleep(1);
  }
  if (left() == 0 || !bench::Painted(window, left() + 1)) return false;
  m.wholeMs = MsBetween(start, Now());
  return true;
}

RunResult RunOnce(HANDLE job, const Program& program, const Text& text, int index,
                  double deadlineMs) {
  RunResult r;
  bench::Child process;
  LARGE_INTEGER started;
  HWND window = nullptr, list = nullptr, edit = nullptr;
  r.error = process.StartAndWait(job, program.exe, L"Varnolt", kStartDeadlineMs, started, window);
  if (!r.error.empty()) return r;
  auto fail = [&](const std::string& why) {
    r.error = why;
    process.Close(window);
    return r;
  };
  for (;;) {
    const testsupport::MainControls controls = testsupport::FindMainControls(window);
    list = controls.lsGame;
    edit = controls.edDescript;
    LRESULT count = 0;
    if (list && edit && Send(list, LB_GETCOUNT, 0, 0, count, 10000) && count > index) break;
    if (process.Gone() || MsBetween(started, Now()) > kStartDeadlineMs)
      return fail("the list never held the games");
    ::Sleep(1);
  }
  if (!bench::Painted(window, 10000)) return fail("the window did not answer");

  // The warm-up game, entry 1: loads what showing any description needs.
  LRESULT ignored = 0;
  Send(list, LB_SETCURSEL, 0, 0, ignored, 10000);
  ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
  ::PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
  Measured warm;
  if (!Follow(window, edit, 0, 10, Now(), 10000, warm)) return fail("the warm-up never showed");
  ::Sleep(kSettleMs);

  // The measured game.
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(index - 1), 0, ignored, 10000);
  LRESULT before = 0;
  Send(edit, WM_GETTEXTLENGTH, 0, 0, before, 10000);
  ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
  ::PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
  LARGE_INTEGER start = Now();
  if (!Follow(window, edit, before, text.bytes.size(), start, deadlineMs, r.selection)) {
    r.selection = Measured{};
    process.Close(window);
    return r;
  }
  ::Sleep(kSettleMs);

  // The read-me.
  ::PostMessageW(list, WM_KEYDOWN, VK_F1, 0x003B0001);
  ::PostMessageW(list, WM_KEYUP, VK_F1, 0xC03B0001);
  start = Now();
  // The read-me is read on a reader: the window answers meanwhile, and the
  // longest it kept a message waiting counts as its silence.
  HWND help = nullptr;
  double silence = 0;
  while (!(help = testsupport::FindDialog(process.pid(), kHelpTitle))) {
    if (process.Gone()) return fail("the program ended");
    const LARGE_INTEGER sent = Now();
    Send(window, WM_NULL, 0, 0, ignored, static_cast<DWORD>(deadlineMs));
    silence = std::max(silence, MsBetween(sent, Now()));
    if (MsBetween(start, Now()) > deadlineMs) {
      process.Close(window);
      return r;
    }
    ::Sleep(1);
  }
  const HWND helpEdit = ::FindWindowExW(help, nullptr, L"Edit", nullptr);
  if (!helpEdit) return fail("the help window has no text box");
  if (!Follow(help, helpEdit, 0, text.bytes.size(), start, deadlineMs, r.readMe, &silence)) {
    r.readMe = Measured{};
    process.Close(window);
    return r;
  }

  ::PostMessageW(helpEdit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageW(helpEdit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  const LARGE_INTEGER closing = Now();
  while (::IsWindowVisible(help) && MsBetween(closing, Now()) < 30000) ::Sleep(1);
  process.Close(window);
  return r;
}

// ---- Figures -----------------------------------------------------------------

struct Series {
  std::vector<Measured> selection, readMe;
};

// The worst of the runs, "> 60 s" when one passed the deadline.
std::string Worst(const std::vector<Measured>& runs, double Measured::*what, double deadlineMs,
                  double& worst) {
  worst = 0;
  for (const Measured& m : runs) {
    if (m.*what < 0) {
      worst = 1e300;
      return Format("> %.0f s", deadlineMs / 1000);
    }
    worst = std::max(worst, m.*what);
  }
  return Format("%.1f", worst);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bench::Arguments args;
  args.runs = 3;
  if (!bench::ParseArguments(
          argc, argv,
          "TextBench [--runs N] [--deadline S] [--texts WORD] VARNOLT_EXE [OTHER_VARNOLT_EXE...]",
          1, 100, 100, args))
    return 2;
  const int runs = args.runs;
  const double deadlineMs = 1000.0 * args.deadline;
  const std::vector<std::wstring>& programs = args.paths;

  bench::Workspace workspace;
  if (!bench::MakeWorkspace(L"varnolt-text-", workspace)) return 1;
  const std::wstring root = workspace.scratch() + L"\\disc";
  std::vector<Text> texts = Texts();
  texts.erase(std::remove_if(texts.begin(), texts.end(),
                             [&](const Text& t) {
                               return std::string(t.label).find(args.texts) == std::string::npos;
                             }),
              texts.end());
  std::wstring werror;
  if (!bench::MakeDisc(root, 0, werror)) {
    Say("error: " + Narrow(werror));
    return 1;
  }
  const std::string warmUp = "A game with a short description.";
  std::vector<std::pair<std::wstring, const std::string*>> games = {{L"T00", &warmUp}};
  // The games are named in the texts' order: T01, T02 ...
  for (std::size_t t = 0; t < texts.size(); ++t)
    games.push_back(
        {L"T" + std::wstring(t < 9 ? L"0" : L"") + std::to_wstring(t + 1), &texts[t].bytes});
  for (const auto& game : games) {
    const std::wstring folder = root + L"\\games\\" + game.first;
    if (!::CreateDirectoryW(folder.c_str(), nullptr) ||
        !testsupport::WriteFile(folder + L"\\descript.ion", *game.second)) {
      Say("error: cannot make the game " + Narrow(game.first));
      return 1;
    }
  }
  std::vector<Program> targets;
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const std::wstring& full = programs[i];
    const std::wstring name = i == 0 ? L"Varnolt.exe" : L"Varnolt" + std::to_wstring(i) + L".exe";
    std::wstring label = full.substr(full.find_last_of(L"\\/") + 1);
    if (!bench::PlaceProgram(full, root + L"\\" + name)) {
      Say("error: cannot place " + Narrow(programs[i]) + " on the disc");
      return 1;
    }
    targets.push_back({Narrow(label), root + L"\\" + name});
  }
  Say("System: " + bench::SystemName());
  Say(Format("Runs: %d per text and program, a fresh process each; deadline %.0f s", runs,
             deadlineMs / 1000));

  // series[text][program]
  std::vector<std::vector<Series>> series(texts.size(), std::vector<Series>(targets.size()));
  for (int round = 1; round <= runs; ++round) {
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const std::wstring readMe = root + L"\\read.me.txt";
      if (!testsupport::WriteFile(readMe, texts[t].bytes)) {
        Say("error: cannot write the read-me");
        return 1;
      }
      for (std::size_t p = 0; p < targets.size(); ++p) {
        // Game T01 is entry 2: after the disc and the warm-up game.
        const RunResult r =
            RunOnce(workspace.job.Get(), targets[p], texts[t], static_cast<int>(t) + 2, deadlineMs);
        if (!r.error.empty()) {
          Say("");
          Say("error: " + targets[p].label + ", " + texts[t].label + ": " + r.error);
          return 1;
        }
        series[t][p].selection.push_back(r.selection);
        series[t][p].readMe.push_back(r.readMe);
        ::Sleep(kPauseBetweenRunsMs);
      }
    }
    std::fputs(Format(" %d", round).c_str(), stdout);
    std::fflush(stdout);
  }
  Say("");
  Say("");
  Say("Worst of the runs, ms: the time until the window first answers with the new text begun");
  Say("(for F1: until the read-me shows), the longest the window keeps a message waiting from");
  Say("the key until the whole text is in, and the time until the whole text is in");
  for (std::size_t p = 0; p < targets.size(); ++p) {
    Say("");
    Say(targets[p].label);
    Say(Format("%-37s %8s %28s %28s %5s", "", "", "selection", "read-me (F1)", "goal"));
    Say(Format("%-37s %8s %9s %9s %8s %9s %9s %8s %5s", "text", "bytes", "answer", "longest",
               "whole", "answer", "longest", "whole", "ms"));
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const Series& s = series[t][p];
      const double goal = texts[t].bytes.size() <= kSmall ? kSmallGoalMs : kGoalMs;
      double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
      const std::string sa = Worst(s.selection, &Measured::answerMs, deadlineMs, a);
      const std::string sb = Worst(s.selection, &Measured::longestMs, deadlineMs, b);
      const std::string sc = Worst(s.selection, &Measured::wholeMs, deadlineMs, c);
      const std::string ra = Worst(s.readMe, &Measured::answerMs, deadlineMs, d);
      const std::string rb = Worst(s.readMe, &Measured::longestMs, deadlineMs, e);
      const std::string rc = Worst(s.readMe, &Measured::wholeMs, deadlineMs, f);
      const bool met = b <= goal && e <= goal;
      Say(Format("%-37s %8lu %9s %9s %8s %9s %9s %8s %5.0f %s", texts[t].label,
                 static_cast<unsigned long>(texts[t].bytes.size()), sa.c_str(), sb.c_str(),
                 sc.c_str(), ra.c_str(), rb.c_str(), rc.c_str(), goal, met ? "met" : "MISSED"));
    }
  }
  Say("");
  Say("Goal: no text up to 1 MiB keeps the window from answering for more than 1 s, none up to "
      "64 KB for more than 200 ms (worst of the runs).");
  return 0;
}
