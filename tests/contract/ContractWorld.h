// What a contract test needs of the world it runs in: a scratch folder and
// files with attributes. Implemented over the simulation and over the real
// file system; the tests themselves are the same for both.
#pragma once

#include <optional>
#include <string>

#include "platform/Forms.h"

namespace contract {

struct FileAttributes {
  bool hidden = false;
  bool system = false;
  bool readOnly = false;  // as every file on a disc is
};

// A fresh, empty folder for one test; ends in a backslash.
std::wstring ScratchFolder(const std::wstring& name);
void MakeFolder(const std::wstring& path, FileAttributes attributes = {});
void WriteFile(const std::wstring& path, const std::string& bytes, FileAttributes attributes = {});

// The system's own profile reader's answer for one key;
// none where there is no system to ask.
std::optional<std::wstring> SystemReadIni(const std::wstring& file, const std::wstring& section,
                                          const std::wstring& key);

// Whether the system is Wine, whose comparison of names differs from
// Windows' in a few known ways (the simulation and Windows: false).
bool UnderWine();

// Holds the file open without sharing until Unlock (sim: marks it locked).
void Lock(const std::wstring& path);
void Unlock(const std::wstring& path);

// Time for what a real system does in its own time, such as activation
// passed between windows (over the simulation nothing is left to it: none).
void Pause(int milliseconds);

// A key pressed and released on the window's focused control, with the
// given Shift and Ctrl state, and the events it raises handled.
void PressKey(platform::Form& form, int virtualKey, int shift = 0);

}  // namespace contract
