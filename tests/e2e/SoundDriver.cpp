// Drives Varnolt for the recorded-sound tests, on a disc whose four sounds
// are tones of their own pitch: start 440 Hz (0.3 s), load 660 Hz (0.3 s),
// click 880 Hz (0.2 s), stop 1000 Hz (1.0 s). With a way of closing as its
// argument it starts the program, closes it that way and prints how long
// the program lived after the close request; with "walk" it uses the
// program as a blind user would, a key at a time. The shell script around
// it records what the program played and tells the tones apart.
#include <cstdio>
#include <string>

#include "Harness.h"
#include "TestDiscFiles.h"

namespace {

void Close(HWND main, const std::string& kind) {
  const e2e::MainControls c = e2e::FindMainControls(main);
  if (kind == "button") {
    ::PostMessageW(c.btClose, BM_CLICK, 0, 0);
  } else if (kind == "escape") {
    ::PostMessageW(c.lsGame, WM_KEYDOWN, VK_ESCAPE, 1);
  } else if (kind == "titlebar") {
    ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (kind == "alt-f4") {
    e2e::TypeKey(main, VK_F4, {VK_MENU});
  } else if (kind == "logoff") {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                          &result);
    ::SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000,
                          &result);
  }
}

}  // namespace

// Down to the disc entry and to the game (each shows a description: the
// load sound), Enter (the click sound, the installer starts), F1 and Esc
// (the read-me comes and goes, silently), Esc (the stop sound, the end).
int Walk(const e2e::Disc& disc, const e2e::Program& program, HWND main) {
  const HWND list = e2e::FindMainControls(main).lsGame;
  auto press = [&](WORD key) {
    ::PostMessageW(list, WM_KEYDOWN, key, 1);
    ::PostMessageW(list, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    e2e::Settle(main);
    ::Sleep(700);
  };
  press(VK_DOWN);
  press(VK_DOWN);
  press(VK_RETURN);
  std::printf("installer=%s\n",
              disc.Recorded(L"games\\Game\\setup.exe").empty() ? "not started" : "started");
  e2e::TypeKey(main, VK_F1);
  const HWND help = program.WaitForWindow(L"#32770", L"Help", 5000);
  std::printf("readme=%s\n", help ? "shown" : "not shown");
  if (help) e2e::TypeKey(help, VK_ESCAPE);
  ::Sleep(700);
  press(VK_ESCAPE);
  return program.WaitForExit(15000) ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::puts("usage: sound_driver walk|button|escape|titlebar|alt-f4|logoff");
    return 2;
  }
  e2e::Disc disc(L"audio", "[main]\r\ndisk=Disc\r\nhelp=Help\r\n", {L"Game"});
  disc.AddFile(L"autorun\\start.wav", testfiles::Tone(0.3, 440));
  disc.AddFile(L"autorun\\load.wav", testfiles::Tone(0.3, 660));
  disc.AddFile(L"autorun\\click.wav", testfiles::Tone(0.2, 880));
  disc.AddFile(L"autorun\\stop.wav", testfiles::Tone(1.0, 1000));
  disc.AddFile(L"autorun\\descript.ion", "The disc");
  disc.AddFile(L"games\\Game\\descript.ion", "The game");
  disc.AddRecorder(L"games\\Game\\setup.exe");
  disc.AddFile(L"read.me.txt", "Read me");
  e2e::Program program(disc);
  const HWND main = program.WaitUntilIdle();
  if (!main) {
    std::puts("error=no window");
    return 1;
  }
  ::Sleep(800);  // the start sound has ended
  if (std::string(argv[1]) == "walk") return Walk(disc, program, main);
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  Close(main, argv[1]);
  if (!program.WaitForExit(15000)) {
    std::puts("error=still running");
    return 1;
  }
  ::QueryPerformanceCounter(&end);
  std::printf("lived_ms=%.0f\n",
              1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
  return 0;
}
