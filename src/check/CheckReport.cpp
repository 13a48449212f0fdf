#include "check/CheckReport.h"

#include <algorithm>
#include <array>
#include <map>

#include "check/FindingTable.h"
#include "startup/MainModule.h"

namespace check {
namespace {

// A long name shortened to its start and end: the sentence stays short.
std::wstring Shortened(const std::wstring& text, std::size_t most) {
  if (text.size() <= most) return text;
  const std::size_t head = most / 2 - 1, tail = most - head - 1;
  return text.substr(0, head) + L"…" + text.substr(text.size() - tail);
}

std::wstring Moment(const std::wstring& sound) {
  using namespace MainModule;
  if (sound == kSoundClick) return L"запуск установки";
  if (sound == kSoundLoad) return L"показ описания";
  if (sound == kSoundStart) return L"запуск Varnolt";
  return L"закрытие Varnolt";
}

// Where the player sees the text of the key of each use.
constexpr struct {
  MainModule::KeyUse use;
  const wchar_t* where;
} kWhere[] = {
    {.use = MainModule::KeyUse::DiscName, .where = L"в первой строке списка"},
    {.use = MainModule::KeyUse::ListHeading, .where = L"над списком игр"},
    {.use = MainModule::KeyUse::DescriptionHeading, .where = L"над описанием"},
    {.use = MainModule::KeyUse::InstallCaption, .where = L"на кнопке установки"},
    {.use = MainModule::KeyUse::CloseCaption, .where = L"на кнопке закрытия"},
    {.use = MainModule::KeyUse::ReadMeCaption, .where = L"на кнопке справки"},
};

std::wstring Where(const std::wstring& key) {
  if (const MainModule::ControlFileKey* known = MainModule::FindControlFileKey(key))
    for (const auto& place : kWhere)
      if (place.use == known->use) return place.where;
  return L"в заголовке окна справки";
}

// The sentence with the finding's parts in place.
std::wstring Fill(const wchar_t* pattern, const Finding& f) {
  std::wstring out;
  const std::wstring p = pattern;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] != L'{') {
      out += p[i];
      continue;
    }
    const std::size_t close = p.find(L'}', i);
    const std::wstring field = p.substr(i + 1, close - i - 1);
    i = close;
    if (field == L"f") {
      out += f.path.empty() ? std::wstring(L"папка диска") : Shortened(f.path, 72);
    } else if (field == L"l") {
      if (f.line > 0) out += L", строка " + std::to_wstring(f.line);
    } else if (field == L"v") {
      out += Shortened(f.value, f.kind == Kind::TextStart ? 60 : 40);
    } else if (field == L"o") {
      out += f.other;
    } else if (field == L"n") {
      out += std::to_wstring(f.number);
    } else if (field == L"m") {
      out += Moment(f.value);
    } else if (field == L"w") {
      out += Where(f.value);
    } else if (field.starts_with(L"N:")) {
      // {N:one,few,many}
      const std::size_t a = field.find(L','), b = field.find(L',', a + 1);
      const std::wstring one = field.substr(2, a - 2), few = field.substr(a + 1, b - a - 1),
                         many = field.substr(b + 1);
      out += std::to_wstring(f.number) + L" " +
             Plural(f.number, one.c_str(), few.c_str(), many.c_str());
    }
  }
  return out;
}

std::wstring Prefix(Severity severity) {
  switch (severity) {
    case Severity::Stop:
      return L"Ошибка запуска: ";
    case Severity::Problem:
      return L"Проблема: ";
    case Severity::Note:
      break;
  }
  return L"Сведения: ";
}

// Where on the disc a finding is, for the report's order: the files of the
// disc's root, the sound folder, the games in the list's order, the rest.
struct Place {
  int part = 0;
  int game = 0;
  auto operator<=>(const Place&) const = default;
};

// A finding shown, by its group and its place on the disc.
struct Shown {
  Severity severity;
  Place place;
  const Finding* finding;
};

// The line for a folder that could not be checked, "" for one that was.
std::wstring FolderLine(FolderState state, const std::wstring& folder) {
  switch (state) {
    case FolderState::Missing:
      return L"Папка не найдена: " + folder;
    case FolderState::NotAFolder:
      return L"Это файл, а не папка: " + folder;
    case FolderState::Unreadable:
      return L"Папку не удаётся прочитать: " + folder;
    case FolderState::Ok:
      break;
  }
  return std::wstring();
}

// The findings to show, in the report's order.
std::vector<Shown> InReportOrder(const Report& report, ReportOptions options) {
  // The games' folders, by their place in the list.
  std::map<std::wstring, int> games;
  for (const Finding& f : report.findings)
    if (f.kind == Kind::Game || f.kind == Kind::GameIsDiscEntry)
      games[f.path] = static_cast<int>(f.number);
  auto placeOf = [&](const Finding& f) {
    const std::size_t slash = f.path.find(L'\\');
    if (slash == std::wstring::npos) return Place{.part = 0};
    const std::wstring top = f.path.substr(0, slash + 1);
    if (top == L"autorun\\") return Place{.part = 1};
    if (top != L"games\\") return Place{.part = 3};
    const std::size_t end = f.path.find(L'\\', slash + 1);
    const auto game = games.find(f.path.substr(0, end == std::wstring::npos ? 0 : end + 1));
    return Place{.part = 2, .game = game == games.end() ? 1 << 30 : game->second};
  };
  std::vector<Shown> order;
  for (const Finding& f : report.findings) {
    // The start of a text shows whenever asked for, with the problems too.
    if (f.kind == Kind::TextStart ? !options.textStarts
                                  : options.problemsOnly && SeverityOf(f.kind) == Severity::Note)
      continue;
    order.push_back(Shown{.severity = SeverityOf(f.kind), .place = placeOf(f), .finding = &f});
  }
  std::stable_sort(order.begin(), order.end(), [](const Shown& a, const Shown& b) {
    return a.severity != b.severity ? a.severity < b.severity : a.place < b.place;
  });
  return order;
}

// The last line: what was found, counted, and the verdict.
std::wstring SummaryLine(const Report& report) {
  int stops = 0, problems = 0;
  for (const Finding& f : report.findings) {
    stops += SeverityOf(f.kind) == Severity::Stop;
    problems += SeverityOf(f.kind) == Severity::Problem;
  }
  const int status = ExitStatus(report);
  const std::wstring verdict = status == 2   ? L"Varnolt не запустится."
                               : status == 1 ? L"Игрок встретит проблемы."
                                             : L"Диск готов.";
  auto count = [](int n, const wchar_t* one, const wchar_t* few, const wchar_t* many) {
    return std::to_wstring(n) + L" " + Plural(n, one, few, many);
  };
  return L"Итого: " + count(report.games, L"игра", L"игры", L"игр") + L", " +
         count(stops, L"ошибка запуска", L"ошибки запуска", L"ошибок запуска") + L", " +
         count(problems, L"проблема", L"проблемы", L"проблем") + L". " + verdict;
}

}  // namespace

const wchar_t* Plural(long long n, const wchar_t* one, const wchar_t* few, const wchar_t* many) {
  const long long last = (n < 0 ? -n : n) % 100;
  if (last >= 11 && last <= 14) return many;
  if (last % 10 == 1) return one;
  if (last % 10 >= 2 && last % 10 <= 4) return few;
  return many;
}

std::wstring FindingLine(const Finding& f) {
  const FindingText& entry = FindingTextOf(f.kind);
  return Prefix(entry.severity) + Fill(entry.sentence, f);
}

std::wstring AdviceLine(const Finding& f) {
  const FindingText& entry = FindingTextOf(f.kind);
  return *entry.advice == L'\0' ? std::wstring() : L"Что делать: " + Fill(entry.advice, f);
}

std::vector<std::wstring> ReportLines(const Report& report, const std::wstring& folder,
                                      ReportOptions options) {
  if (report.folder != FolderState::Ok)
    return {FolderLine(report.folder, folder), L"Итого: диск не проверен."};
  std::vector<std::wstring> lines = {L"Проверка диска: " + report.root};
  for (const Shown& shown : InReportOrder(report, options)) {
    lines.push_back(FindingLine(*shown.finding));
    const std::wstring advice = AdviceLine(*shown.finding);
    if (!advice.empty()) lines.push_back(advice);
  }
  lines.push_back(SummaryLine(report));
  return lines;
}

}  // namespace check
