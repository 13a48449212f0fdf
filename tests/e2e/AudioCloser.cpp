// Closes Varnolt one way, for the recorded-sound test: builds a disc whose
// stop sound is a 1.0 s tone of 1000 Hz (the start sound 0.3 s of 440 Hz),
// starts the program, closes it as asked and prints how long the program
// lived after the close request. The shell script around it records what
// the program played and measures the tone.
#include <cmath>
#include <cstdio>
#include <string>

#include "Harness.h"

namespace {

std::string Tone(double seconds, double frequency) {
  const unsigned rate = 22050;
  const auto samples = static_cast<unsigned>(seconds * rate);
  std::string w = "RIFF";
  auto put = [&w](unsigned v, int bytes) {
    for (int i = 0; i < bytes; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(36 + samples * 2, 4);
  w += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
  w += "data";
  put(samples * 2, 4);
  for (unsigned i = 0; i < samples; ++i) {
    const double value = 12000.0 * std::sin(2 * 3.14159265358979 * frequency * i / rate);
    put(static_cast<unsigned>(static_cast<int>(value)) & 0xFFFF, 2);
  }
  return w;
}

void Close(HWND main, const std::string& kind) {
  const std::vector<HWND> c = e2e::ChildrenOf(main);
  if (kind == "button") {
    ::PostMessageW(c.at(5), BM_CLICK, 0, 0);
  } else if (kind == "escape") {
    ::PostMessageW(c.at(1), WM_KEYDOWN, VK_ESCAPE, 1);
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

int main(int argc, char** argv) {
  if (argc != 2) {
    std::puts("usage: audio_closer button|escape|titlebar|alt-f4|logoff");
    return 2;
  }
  e2e::Disc disc(L"audio", "[main]\r\ndisk=Disc\r\n", {L"Game"});
  disc.AddFile(L"autorun\\start.wav", Tone(0.3, 440));
  disc.AddFile(L"autorun\\stop.wav", Tone(1.0, 1000));
  e2e::Program program(disc);
  const HWND main = program.WaitUntilIdle();
  if (!main) {
    std::puts("error=no window");
    return 1;
  }
  ::Sleep(800);  // the start sound has ended
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
