// Builds disc folders in the simulated world and runs the program on them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/MainWindow.h"
#include "platform/sim/Sim.h"
#include "startup/MainModule.h"

namespace simdisc {

inline const std::wstring kRoot = L"D:\\Disc";

// A usable disc: sounds, control file and the given game folders.
inline void MakeDisc(const std::string& ini, const std::vector<std::wstring>& games,
                     const std::wstring& root = kRoot) {
  sim::TheWorld().executableFolder = root;
  const std::wstring base = root.back() == L'\\' ? root : root + L"\\";
  if (root.size() > 3) sim::AddFolder(root);
  sim::AddFolder(base + L"autorun");
  for (const wchar_t* sound : {L"click", L"load", L"start", L"stop"})
    sim::AddFile(base + L"autorun\\" + sound + L".wav", "RIFF");
  sim::AddFile(base + L"autorun.ini", ini);
  sim::AddFolder(base + L"games");
  for (const std::wstring& game : games) sim::AddFolder(base + L"games\\" + game);
}

// Runs start-up; true when the program ended during it.
inline bool RunMain() {
  try {
    MainModule::Main();
  } catch (const sim::ProgramExit&) {
    return true;
  }
  return false;
}

inline const sim::FormState& Window() { return sim::StateOf(fMain().form()); }
inline const sim::ControlState& Control(int control) { return Window().controls[control]; }
inline std::vector<std::wstring>& Log() { return sim::TheWorld().log; }
// A key pressed and released in the main window.
inline void Press(int key, int shift = 0) { sim::PressKey(fMain().form(), key, shift); }

class ProgramTest : public ::testing::Test {
 protected:
  // The world and the program as before any start: for each test, and for
  // each row of a table that starts the program again.
  static void Reset() {
    sim::ResetWorld();
    MainModule::ResetGlobals();
  }
  void SetUp() override { Reset(); }
  void TearDown() override { MainModule::ResetGlobals(); }
};

}  // namespace simdisc
