// What a program file says about how Windows starts it: whether it is a
// program at all, and whether it asks for administrator rights (the consent
// prompt), read from its embedded manifest or, for a 32-bit program without
// one, by the installer detection Windows applies to names.
#pragma once

#include <string>

#include "check/FileBytes.h"

namespace check {

enum class Elevation { None, Manifest, InstallerName };

struct ProgramFacts {
  bool program = false;  // a Windows program file (MZ, PE)
  // The manifest's requestedExecutionLevel: "asInvoker", "highestAvailable",
  // "requireAdministrator", or "" when there is none.
  std::wstring level;
  Elevation elevation = Elevation::None;  // why a consent prompt comes, if one does
};

// `name` is the file's own name, which the installer detection looks at.
ProgramFacts ExamineProgram(const FileBytes& file, const std::wstring& name);

// The requestedExecutionLevel a manifest's text asks for, "" when none.
std::wstring ManifestLevel(const std::string& manifest);

// Whether Windows' installer detection takes a program of this name for an
// installer ("setup", "install" or "update" in the name, any letter case).
bool NameLooksLikeInstaller(const std::wstring& name);

}  // namespace check
