#include "ContractWorld.h"

#include "platform/sim/Sim.h"

namespace contract {

std::wstring ScratchFolder(const std::wstring& name) {
  sim::ResetWorld();
  sim::AddFolder(L"C:\\scratch");
  sim::AddFolder(L"C:\\scratch\\" + name);
  return L"C:\\scratch\\" + name + L"\\";
}

void MakeFolder(const std::wstring& path, FileAttributes a) {
  sim::AddFolder(path, {a.hidden, a.system, a.readOnly});
}

void WriteFile(const std::wstring& path, const std::string& bytes, FileAttributes a) {
  sim::AddFile(path, bytes, {a.hidden, a.system, a.readOnly});
}

std::optional<std::wstring> SystemReadIni(const std::wstring&, const std::wstring&,
                                          const std::wstring&) {
  return std::nullopt;
}

bool UnderWine() { return false; }

void Lock(const std::wstring& path) { sim::FindEntry(path)->locked = true; }
void Unlock(const std::wstring& path) { sim::FindEntry(path)->locked = false; }

void Pause(int) {}

void PressKey(platform::Form& form, int virtualKey, int shift) {
  sim::PressKey(form, virtualKey, shift);
}

}  // namespace contract
