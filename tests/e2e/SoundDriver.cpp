// Drives Varnolt for the recorded-sound test, on a disc whose four sounds are
// tones of their own pitch: start 440 Hz (0.3 s), load 660 Hz (0.3 s), click
// 880 Hz (0.2 s), stop 1000 Hz (1.0 s). It uses the program as a blind user
// would, a key at a time: down to the disc entry and to the game (each shows
// a description: the load sound), Enter (the click, the installer starts),
// F1 and Esc (the read-me comes and goes, silently). Then it closes the
// program the way its argument names and prints how long the program lived
// after the request. sounds-test.sh records what was played.
#include <cstdio>
#include <string>

#include "Harness.h"
#include "TestDiscFiles.h"

int main(int argc, char** argv) {
  const std::string way = argc == 2 ? argv[1] : "";
  e2e::Disc disc(L"audio", "[main]\r\ndisk=Disc\r\nhelp=Help\r\n", {L"Game"});
  disc.AddFile(L"autorun\\start.wav", testfiles::Tone(0.3, 440));
  disc.AddFile(L"autorun\\load.wav", testfiles::Tone(0.3, 660));
  disc.AddFile(L"autorun\\click.wav", testfiles::Tone(0.2, 880));
  disc.AddFile(L"autorun\\stop.wav", testfiles::Tone(1.0, 1000));
  disc.AddFile(L"autorun\\descript.ion", "The disc");
  disc.AddFile(L"games\\Game\\descript.ion", "The game");
  disc.AddRecorder(L"games\\Game\\setup.exe");
  disc.AddFile(L"read.me.txt", "Read me");
  const e2e::Program program(disc);
  const HWND main = program.WaitUntilIdle();
  if (!main) {
    std::puts("error=no window");
    return 1;
  }
  // Each key once the sound before has ended. On a busy machine the system's
  // sound starts late, the first most (seen: over a second after the window
  // is idle), a key before its end would rightly cut it short, and the two
  // load sounds must stay apart however long the gaps in the first.
  DWORD wait = 2000;
  for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    ::Sleep(wait);
    wait = 2000;
    e2e::TypeKey(main, key);
  }
  std::printf("installer=%s\n",
              disc.Recorded(L"games\\Game\\setup.exe", 5000).empty() ? "no" : "started");
  e2e::TypeKey(main, VK_F1);
  const HWND help = program.Window(L"Help", 5000);
  std::printf("readme=%s\n", help ? "shown" : "no");
  if (help) e2e::TypeKey(help, VK_ESCAPE);
  ::Sleep(800);
  const DWORD start = ::GetTickCount();
  DWORD_PTR result = 0;
  if (way == "escape") e2e::TypeKey(main, VK_ESCAPE);
  if (way == "button") ::PostMessageW(e2e::FindMainControls(main).btClose, BM_CLICK, 0, 0);
  if (way == "titlebar") ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (way == "alt-f4") e2e::TypeKey(main, VK_F4, {VK_MENU});
  if (way == "logoff") {
    ::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                          &result);
    ::SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000,
                          &result);
  }
  if (!program.WaitForExit(15000)) {
    std::puts("error=still running");
    return 1;
  }
  std::printf("lived_ms=%lu\n", ::GetTickCount() - start);
  return 0;
}
