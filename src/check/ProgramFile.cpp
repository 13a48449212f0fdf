#include "check/ProgramFile.h"

#include <cstdint>
#include <cwctype>
#include <vector>

namespace check {
namespace {

constexpr unsigned kMachineI386 = 0x014C;
constexpr unsigned kMagicPe32 = 0x10B, kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kResourceManifest = 24;
constexpr std::uint32_t kSubdirectory = 0x80000000u;
// Bounds for what a hostile file may claim.
constexpr std::uint32_t kMaxHeaderOffset = 16u << 20;
constexpr unsigned kMaxSections = 96;
constexpr unsigned kMaxEntries = 4096;
constexpr std::uint32_t kMaxManifest = 64u << 10;

struct Section {
  std::uint32_t address, virtualSize, rawSize, rawOffset;
};

// The file offset of a relative virtual address, or false.
bool ToOffset(const std::vector<Section>& sections, std::uint32_t rva, std::uint64_t& offset) {
  for (const Section& s : sections) {
    const std::uint32_t span = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
    if (rva >= s.address && rva - s.address < span) {
      if (rva - s.address >= s.rawSize) return false;  // not stored in the file
      offset = std::uint64_t{s.rawOffset} + (rva - s.address);
      return true;
    }
  }
  return false;
}

// The entries of one resource directory at `offset`: the id (or name flag)
// and the offset of what it leads to, relative to the resource section.
bool DirectoryEntries(const FileBytes& file, std::uint64_t base, std::uint32_t offset,
                      std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries) {
  std::string head;
  if (!file.Read(base + offset, 16, head)) return false;
  const unsigned count = Le16(head, 12) + Le16(head, 14);
  if (count > kMaxEntries) return false;
  std::string table;
  if (!file.Read(base + offset + 16, std::size_t{count} * 8, table)) return false;
  entries.clear();
  for (unsigned i = 0; i < count; ++i)
    entries.emplace_back(Le32(table, i * 8), Le32(table, i * 8 + 4));
  return true;
}

// The embedded manifest's bytes, or "" when the program has none.
std::string EmbeddedManifest(const FileBytes& file, std::uint64_t resourceOffset,
                             const std::vector<Section>& sections) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
  if (!DirectoryEntries(file, resourceOffset, 0, entries)) return std::string();
  std::uint32_t next = 0;
  bool found = false;
  for (const auto& [id, target] : entries)
    if (id == kResourceManifest && (target & kSubdirectory))
      next = target & ~kSubdirectory, found = true;
  // Two more levels: the manifest's id, then its language; the first of each.
  for (int level = 0; found && level < 2; ++level) {
    if (!DirectoryEntries(file, resourceOffset, next, entries) || entries.empty())
      return std::string();
    next = entries.front().second;
    if (level == 0 && !(next & kSubdirectory)) return std::string();
    next &= ~kSubdirectory;
  }
  if (!found || (next & kSubdirectory)) return std::string();
  std::string data;
  if (!file.Read(resourceOffset + next, 8, data)) return std::string();
  const std::uint32_t rva = Le32(data, 0), size = Le32(data, 4);
  std::uint64_t at = 0;
  if (size == 0 || !ToOffset(sections, rva, at)) return std::string();
  std::string manifest;
  if (!file.Read(at, size < kMaxManifest ? size : kMaxManifest, manifest)) return std::string();
  return manifest;
}

}  // namespace

std::wstring ManifestLevel(const std::string& manifest) {
  std::string text;  // UTF-16 manifests lose their zero bytes; the names are ASCII
  for (char c : manifest)
    if (c != '\0') text += c;
  const std::size_t element = text.find("requestedExecutionLevel");
  if (element == std::string::npos) return std::wstring();
  const std::size_t end = text.find('>', element);
  const std::string tag =
      text.substr(element, end == std::string::npos ? std::string::npos : end - element);
  std::size_t at = tag.find("level");
  while (at != std::string::npos) {
    std::size_t i = at + 5;
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\r' || tag[i] == '\n'))
      ++i;
    if (i < tag.size() && tag[i] == '=') {
      ++i;
      while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t')) ++i;
      if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
        const std::size_t close = tag.find(tag[i], i + 1);
        if (close == std::string::npos) return std::wstring();
        const std::string value = tag.substr(i + 1, close - i - 1);
        return std::wstring(value.begin(), value.end());
      }
    }
    at = tag.find("level", at + 5);
  }
  return std::wstring();
}

bool NameLooksLikeInstaller(const std::wstring& name) {
  std::wstring lower;
  for (wchar_t c : name) lower += static_cast<wchar_t>(std::towlower(c));
  for (const wchar_t* word : {L"setup", L"install", L"update"})
    if (lower.find(word) != std::wstring::npos) return true;
  return false;
}

ProgramFacts ExamineProgram(const FileBytes& file, const std::wstring& name) {
  ProgramFacts facts;
  std::string dos;
  if (!file.Read(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z') return facts;
  const std::uint32_t peAt = Le32(dos, 0x3C);
  std::string pe;
  if (peAt > kMaxHeaderOffset || !file.Read(peAt, 24, pe) ||
      pe.compare(0, 4, std::string("PE\0\0", 4)) != 0)
    return facts;
  facts.program = true;
  const unsigned machine = Le16(pe, 4);
  const unsigned sectionCount = Le16(pe, 6);
  const unsigned optionalSize = Le16(pe, 20);
  std::string optional;
  if (optionalSize < 2 || !file.Read(peAt + 24, optionalSize, optional)) return facts;
  const unsigned magic = Le16(optional, 0);

  // The resource table's place: the third entry of the data directories.
  const std::size_t countAt = magic == kMagicPe32Plus ? 108 : 92;
  const std::size_t directoryAt = countAt + 4 + 2 * 8;
  std::string manifest;
  if ((magic == kMagicPe32 || magic == kMagicPe32Plus) && optional.size() >= directoryAt + 8 &&
      Le32(optional, countAt) > 2 && sectionCount <= kMaxSections) {
    std::string table;
    std::vector<Section> sections;
    if (file.Read(peAt + 24 + optionalSize, std::size_t{sectionCount} * 40, table))
      for (unsigned i = 0; i < sectionCount; ++i)
        sections.push_back(Section{.address = Le32(table, i * 40 + 12),
                                   .virtualSize = Le32(table, i * 40 + 8),
                                   .rawSize = Le32(table, i * 40 + 16),
                                   .rawOffset = Le32(table, i * 40 + 20)});
    std::uint64_t resources = 0;
    const std::uint32_t rva = Le32(optional, directoryAt);
    if (rva != 0 && ToOffset(sections, rva, resources))
      manifest = EmbeddedManifest(file, resources, sections);
  }
  facts.level = ManifestLevel(manifest);
  if (facts.level == L"requireAdministrator" || facts.level == L"highestAvailable")
    facts.elevation = Elevation::Manifest;
  else if (facts.level.empty() && machine == kMachineI386 && NameLooksLikeInstaller(name))
    facts.elevation = Elevation::InstallerName;
  return facts;
}

}  // namespace check
