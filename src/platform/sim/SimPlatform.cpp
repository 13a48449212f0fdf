// The simulated files, programs, messages, windows and sounds.
#include <algorithm>
#include <stdexcept>

#include "platform/Platform.h"
#include "platform/shared/FolderOrder.h"
#include "platform/sim/Sim.h"

namespace sim {
namespace {

wchar_t Fold(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
  return c;
}

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring ParentOf(const std::wstring& path) {
  const std::size_t at = path.rfind(L'\\');
  if (at == std::wstring::npos) return std::wstring();
  return at == 2 ? path.substr(0, 3) : path.substr(0, at);  // "D:\" keeps its backslash
}

std::wstring NameOf(const std::wstring& path) {
  const std::size_t at = path.rfind(L'\\');
  return at == std::wstring::npos ? path : path.substr(at + 1);
}

bool Ordinary(const Entry& e) { return !e.folder && !e.attributes.hidden && !e.attributes.system; }

bool FolderExists(const std::wstring& path) {
  const std::wstring p = WithoutTrailingSlash(path);
  if (p.size() == 3 && p[1] == L':') return true;  // a drive's root
  const Entry* e = FindEntry(p);
  return e != nullptr && e->folder;
}

// 1251, the code page of the discs this program serves.
const wchar_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457,
    // 0xC0 to 0xFF: А to я
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F};

void Log(const std::wstring& line) { TheWorld().log.push_back(line); }

bool IsShortName(const std::wstring& name) {
  const std::size_t dot = name.find(L'.');
  const std::size_t base = std::min(dot, name.size());
  if (base == 0 || base > 8) return false;
  if (dot != std::wstring::npos &&
      (name.size() - dot - 1 > 3 || name.find(L'.', dot + 1) != std::wstring::npos))
    return false;
  return name.find_first_of(L" +,;=[]") == std::wstring::npos;
}

// The 8.3 name the system gives a file whose own name is none: six letters
// of its name, "~1", and the first three letters of its extension.
std::wstring ShortNameOf(const std::wstring& name) {
  if (IsShortName(name)) return name;
  const std::size_t dot = name.rfind(L'.');
  std::wstring base;
  for (std::size_t i = 0; i < std::min(dot, name.size()) && base.size() < 6; ++i)
    if (name[i] != L' ' && name[i] != L'.') base += Fold(name[i]);
  std::wstring shortName = base + L"~1";
  if (dot != std::wstring::npos && dot > 0) {
    shortName += L'.';
    for (std::size_t i = dot + 1; i < name.size() && i <= dot + 3; ++i) shortName += Fold(name[i]);
  }
  return shortName;
}

}  // namespace

World& TheWorld() {
  static World world;
  return world;
}

void ResetWorld() { TheWorld() = World{}; }

void AccessDisc(const std::wstring& path, std::size_t bytes) {
  World& world = TheWorld();
  Drive& drive = world.drive;
  unsigned long cost = 0;
  const std::wstring file = WithoutTrailingSlash(path);
  for (const std::wstring& p : {ParentOf(file), file}) {
    std::wstring key;
    for (wchar_t c : p) key += Fold(c);
    if (p.empty() || !drive.touched.insert(key).second) continue;
    drive.firstAccesses.push_back(p);
    cost += drive.seekMs;
    if (p == file && drive.seekMs > 0) cost += bytes / drive.bytesPerMs;
  }
  if (world.onReader) {
    world.onReader->charged += cost;
  } else {
    drive.windowWaitMs += cost;
    world.now += cost;
  }
}

namespace {

void StartNextTask(Reader& reader) {
  World& world = TheWorld();
  if (reader.running || reader.waiting.empty()) return;
  reader.running = std::move(reader.waiting.front());
  reader.waiting.pop_front();
  world.onReader = &reader;
  reader.charged = 0;
  reader.running->Run();
  world.onReader = nullptr;
  reader.doneAt = world.now + reader.charged;
}

void FinishTask(Reader& reader) {
  std::unique_ptr<platform::BackgroundTask> task = std::move(reader.running);
  task->Finish();
  StartNextTask(reader);
}

}  // namespace

bool Busy() {
  const World& world = TheWorld();
  return !world.timers.empty() || world.readers[0].running || world.readers[1].running;
}

void Advance(unsigned long ms) {
  World& world = TheWorld();
  const unsigned long end = world.now + ms;
  for (;;) {
    // The earliest of the timers and the readers' tasks due by the end; a
    // timer before a task due at the same moment.
    auto timer = world.timers.end();
    for (auto t = world.timers.begin(); t != world.timers.end(); ++t)
      if (t->due <= end && (timer == world.timers.end() || t->due < timer->due)) timer = t;
    Reader* task = nullptr;
    for (Reader& reader : world.readers)
      if (reader.running && reader.doneAt <= end && (!task || reader.doneAt < task->doneAt))
        task = &reader;
    if (task && timer != world.timers.end() && timer->due <= task->doneAt) task = nullptr;
    if (timer == world.timers.end() && !task) break;
    world.now = std::max(world.now, task ? task->doneAt : timer->due);
    if (task) {
      FinishTask(*task);
    } else {
      const Timer due = *timer;
      world.timers.erase(timer);
      RaiseTimer(*due.form, due.id);
    }
  }
  world.now = std::max(world.now, end);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool MatchesPattern(const std::wstring& name, const std::wstring& pattern) {
  // Iterative wildcard match with backtracking to the last star.
  std::size_t n = 0, p = 0, star = std::wstring::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++n, ++p;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      mark = n;
    } else if (star != std::wstring::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

Entry* FindEntry(const std::wstring& path) {
  const std::wstring p = WithoutTrailingSlash(path);
  for (Entry& e : TheWorld().entries)
    if (SameName(e.path, p)) return &e;
  return nullptr;
}

void AddFolder(const std::wstring& path, Attributes attributes) {
  Entry e;
  e.path = WithoutTrailingSlash(path);
  e.folder = true;
  e.attributes = attributes;
  TheWorld().entries.push_back(e);
}

void AddFile(const std::wstring& path, const std::string& bytes, Attributes attributes) {
  Entry e;
  e.path = path;
  e.bytes = bytes;
  e.attributes = attributes;
  TheWorld().entries.push_back(e);
}

}  // namespace sim

namespace platform {

using sim::TheWorld;

std::vector<std::wstring> ListOrdinaryFiles(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  std::wstring full = pattern;
  if (!full.empty() && full.back() == L'\\') full += L'*';
  const std::size_t at = full.rfind(L'\\');
  if (at == std::wstring::npos) return names;
  const std::wstring folder = full.substr(0, at == 2 ? 3 : at);
  // A name without wildcards is looked up in its folder; a pattern lists it.
  sim::AccessDisc(full.find_first_of(L"*?") == std::wstring::npos ? full : folder);
  const std::wstring namePattern = full.substr(at + 1);
  if (namePattern.empty() || !sim::FolderExists(folder)) return names;
  for (const sim::Entry& e : TheWorld().entries) {
    if (!sim::Ordinary(e) ||
        !sim::SameName(sim::ParentOf(e.path), sim::WithoutTrailingSlash(folder)))
      continue;
    const std::wstring name = sim::NameOf(e.path);
    if (sim::MatchesPattern(name, namePattern) ||
        sim::MatchesPattern(sim::ShortNameOf(name), namePattern))
      names.push_back(name);
  }
  return names;
}

std::wstring FindOrdinaryFile(const std::wstring& pattern) {
  const std::vector<std::wstring> names = ListOrdinaryFiles(pattern);
  return names.empty() ? std::wstring() : names.front();
}

PathKind KindOfPath(const std::wstring& path) {
  sim::AccessDisc(path);
  if (sim::FolderExists(path)) return PathKind::Folder;
  const sim::Entry* e = sim::FindEntry(sim::WithoutTrailingSlash(path));
  return e == nullptr ? PathKind::Missing : PathKind::File;
}

bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  sim::AccessDisc(folder);
  if (!sim::FolderExists(folder)) return false;
  const std::wstring parent = sim::WithoutTrailingSlash(folder);
  for (const sim::Entry& e : TheWorld().entries) {
    if (!sim::SameName(sim::ParentOf(e.path), parent)) continue;
    FolderEntry entry;
    entry.name = sim::NameOf(e.path);
    entry.folder = e.folder;
    entry.hidden = e.attributes.hidden;
    entry.system = e.attributes.system;
    entry.reparsePoint = e.attributes.reparsePoint;
    entry.size = e.bytes.size();
    entries.push_back(std::move(entry));
  }
  return true;
}

ReadStatus ReadFileAt(const std::wstring& path, std::uint64_t offset, std::size_t maxBytes,
                      std::string& bytes) {
  const sim::Entry* e = sim::FindEntry(path);
  sim::AccessDisc(
      path, e && offset < e->bytes.size() ? std::min<std::size_t>(maxBytes, e->bytes.size()) : 0);
  if (e == nullptr) return ReadStatus::NotFound;
  if (e->folder || e->locked) return ReadStatus::Failed;
  bytes = offset < e->bytes.size() ? e->bytes.substr(static_cast<std::size_t>(offset), maxBytes)
                                   : std::string();
  return ReadStatus::Ok;
}

bool FileSize(const std::wstring& path, std::uint64_t& size) {
  sim::AccessDisc(path);
  const sim::Entry* e = sim::FindEntry(path);
  if (e == nullptr || e->folder || e->locked) return false;
  size = e->bytes.size();
  return true;
}

int CompareFolderNames(const std::wstring& a, const std::wstring& b) {
  return CompareLikeExplorer(a, b);
}

std::wstring AnsiToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += b < 0x80 ? static_cast<wchar_t>(b) : sim::kCp1251High[b - 0x80];
  }
  return out;
}

std::wstring ExecutableFolder() { return TheWorld().executableFolder; }

std::uint32_t StartProgram(const std::wstring& exePath, ShowState show) {
  sim::Log(L"start:" + exePath);
  const sim::Entry* e = sim::FindEntry(exePath);
  if (e == nullptr || e->folder || !e->startable || exePath.back() == L'\\') return 0;
  const std::uint32_t id = TheWorld().nextProcessId++;
  TheWorld().started.push_back({.path = exePath, .show = show});
  return id;
}

void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
  sim::Log(L"message:" + title);
  TheWorld().messages.push_back({.text = text, .title = title, .icon = icon});
}

WindowHandle DesktopWindow() { return 1; }

// Top-level window k (0 = topmost) has the handle 100 + k.
WindowHandle FirstChildWindow(WindowHandle parent) {
  return parent == 1 && !TheWorld().topWindowTitles.empty() ? 100 : 0;
}

WindowHandle NextWindow(WindowHandle window) {
  if (window < 100) return 0;
  const std::size_t next = window - 100 + 1;
  return next < TheWorld().topWindowTitles.size() ? 100 + next : 0;
}

std::wstring WindowTitle(WindowHandle window, int maxChars) {
  if (window < 100 || window - 100 >= TheWorld().topWindowTitles.size() || maxChars < 1)
    return std::wstring();
  return TheWorld().topWindowTitles[window - 100].substr(0, static_cast<std::size_t>(maxChars - 1));
}

bool PlaySoundCall(const wchar_t* path, SoundMode mode) {
  sim::Log(L"sound:" + std::wstring(path ? path : L"(stop)"));
  if (TheWorld().soundLibraryMissing) return false;
  TheWorld().sounds.push_back(
      {.path = path ? std::optional<std::wstring>(path) : std::nullopt, .mode = mode});
  return true;
}

void RunInBackground(ReaderThread thread, std::unique_ptr<BackgroundTask> task) {
  sim::Reader& reader = TheWorld().readers[thread == ReaderThread::Texts ? 0 : 1];
  reader.waiting.push_back(std::move(task));
  sim::StartNextTask(reader);
}

void DoEvents() {
  sim::Advance(0);
  std::vector<std::function<void()>> waiting;
  waiting.swap(TheWorld().waitingEvents);
  for (auto& event : waiting) event();
}

void WaitForEvent() {
  // Nothing will ever arrive: a test that waits here would hang.
  if (TheWorld().waitingEvents.empty())
    throw std::logic_error("waiting for an event that never comes");
}

void RunEventLoop() {}

Version ProgramVersion() { return TheWorld().version; }

void ExitProgram() {
  sim::Log(L"exit");
  TheWorld().exited = true;
  throw sim::ProgramExit{};
}

}  // namespace platform
