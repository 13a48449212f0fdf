#include "check/CheckReport.h"

#include <algorithm>
#include <array>
#include <map>

#include "startup/MainModule.h"

namespace check {
namespace {

using S = Severity;

// What each kind of finding is and says. In a sentence {f} is the file, {l}
// its line (", строка 5"), {v} and {o} the finding's texts, {n} its number,
// {N:one,few,many} the number with its noun, {m} the moment a sound marks,
// {w} where a caption shows.
struct Entry {
  Kind kind;
  Severity severity;
  const wchar_t* sentence;
  const wchar_t* advice;  // "" when there is nothing to do
};

// The advice for every sound the system will not play.
constexpr const wchar_t* kSaveAsWave = L"Сохраните звук в формате WAV, PCM 16 бит.";
// The advice for every support address that reaches no one.
constexpr const wchar_t* kWriteSupportAddress =
    L"Впишите после support= свой адрес электронной почты.";
// The advice for a document saved under a text's name.
constexpr const wchar_t* kResaveInNotepad =
    L"Скопируйте текст в Блокнот и сохраните там под тем же именем, в кодировке UTF-8 с BOM.";

constexpr Entry kTable[] = {
    {Kind::ProgramMissing, S::Stop, L"{f}: файла нет, на диске нечего запускать.",
     L"Положите в корень диска Varnolt.exe из папки disc."},
    {Kind::SoundFolderUnusable, S::Stop,
     L"{f}: папки нет или в ней нет файлов, Varnolt сообщит об ошибке и закроется.",
     L"Положите в папку autorun четыре звука из заготовки."},
    {Kind::ControlFileMissing, S::Stop, L"{f}: файла нет, Varnolt сообщит об этом и закроется.",
     L"Скопируйте autorun.ini из заготовки и впишите свои надписи."},
    {Kind::ControlFileHidden, S::Stop,
     L"{f}: файл скрытый или системный, Varnolt его не видит и не запустится.",
     L"Снимите в свойствах файла отметку «Скрытый»."},
    {Kind::ControlFileMisnamed, S::Stop,
     L"{f}: Varnolt ищет autorun.ini, а этот файл назван иначе, и Varnolt не запустится.",
     L"Переименуйте {v} в autorun.ini."},
    {Kind::NoGames, S::Stop,
     L"{f}: нет ни одной папки игры, Varnolt сообщит «нет игр» и закроется.",
     L"Создайте в папке games по папке на каждую игру."},
    {Kind::GamesFolderMisnamed, S::Stop,
     L"{f}: Varnolt ищет игры в папке games, а не {v}, и не запустится.",
     L"Переименуйте папку {v} в games."},
    {Kind::SectionMissing, S::Problem, L"{f}: нет раздела [main], все надписи будут «0».",
     L"Напишите строку [main] перед ключами."},
    {Kind::KeyMissing, S::Problem, L"{f}: нет ключа {v}, игрок увидит «0» {w}.",
     L"Добавьте в раздел [main] строку {v}= с надписью после знака равенства."},
    {Kind::KeyEmpty, S::Problem, L"{f}{l}: ключ {v} пуст, {w} ничего не будет.",
     L"Впишите надпись после знака равенства."},
    {Kind::UnknownKey, S::Problem, L"{f}{l}: ключа «{v}» Varnolt не знает и не читает.",
     L"Исправьте имя ключа или удалите строку."},
    {Kind::MisspeltKey, S::Problem,
     L"{f}{l}: ключа «{v}» Varnolt не знает, видимо, имелся в виду {o}.",
     L"Исправьте имя ключа на {o}."},
    {Kind::DuplicateKey, S::Problem,
     L"{f}{l}: ключ {v} задан повторно, Varnolt читает только первый.", L"Удалите лишнюю строку."},
    {Kind::ValueCut, S::Problem,
     L"{f}{l}: в значении {v} {N:знак,знака,знаков}, Varnolt покажет 254.",
     L"Сократите значение до 254 знаков."},
    {Kind::HelpButtonValue, S::Problem, L"{f}{l}: HelpButton={v} читается как {n}.",
     L"Напишите 0 (кнопки нет), 1 (видна, но не нажимается) или 2 (работает)."},
    {Kind::ScreenReaderValue, S::Problem,
     L"{f}{l}: ScreenReader={v} читается как «нет», NVDA с диска не запустится.",
     L"Напишите ScreenReader=1, чтобы запускать NVDA с диска, или 0."},
    {Kind::ScreenReaderMissing, S::Problem,
     L"{f}: файла нет, а ScreenReader велит запустить его, если программа экранного доступа не "
     L"работает.",
     L"Положите в папку nvda переносную NVDA или напишите ScreenReader=0."},
    {Kind::AccessKey, S::Problem,
     L"{f}{l}: в надписи {v} одиночный знак &, Windows его не покажет и подчеркнёт следующую "
     L"букву.",
     L"Чтобы показать знак &, напишите его дважды: &&."},
    {Kind::SupportMissing, S::Problem,
     L"{f}: нет ключа support, при сбое установки игрок получит адрес {v}, а не ваш.",
     L"Добавьте в раздел [main] строку support= и свой адрес электронной почты."},
    {Kind::SupportEmpty, S::Problem,
     L"{f}{l}: ключ support пуст, при сбое установки игрок получит адрес {v}, а не ваш.",
     kWriteSupportAddress},
    {Kind::SupportProgramAddress, S::Problem,
     L"{f}{l}: в support адрес программы Varnolt, а не автора диска.", kWriteSupportAddress},
    {Kind::SupportExample, S::Problem,
     L"{f}{l}: адрес {v} только для примеров, письма игроков никуда не дойдут.",
     kWriteSupportAddress},
    {Kind::SupportNotAddress, S::Problem, L"{f}{l}: support={v} не адрес почты, в нём нет знака @.",
     kWriteSupportAddress},
    {Kind::TextEncoding, S::Note, L"{f}: кодировка {v}, как её называет Блокнот.", L""},
    {Kind::TextStart, S::Note, L"{f}: текст начинается так: {v}", L""},
    {Kind::TextCut, S::Problem, L"{f}: файл больше {n} МБ, Varnolt покажет только его начало.",
     L"Сократите текст."},
    {Kind::TextDos866, S::Problem,
     L"{f}: текст в кодировке DOS (866), игрок увидит вместо букв бессмыслицу.",
     L"Пересохраните его в кодировке ANSI или UTF-8 с BOM: в Far Manager кодировку меняет "
     L"Shift+F8."},
    {Kind::TextKoi8r, S::Problem,
     L"{f}: текст в кодировке KOI8-R, игрок увидит вместо букв бессмыслицу.",
     L"Пересохраните его в кодировке ANSI или UTF-8 с BOM."},
    {Kind::TextMixed, S::Problem,
     L"{f}{l}: здесь кончается UTF-8 и начинается другая кодировка, игрок увидит бессмыслицу.",
     L"Наберите испорченные строки заново и сохраните файл в Блокноте как UTF-8 с BOM."},
    {Kind::TextUtf8Cut, S::Problem,
     L"{f}: текст в UTF-8 оборван посреди буквы, и весь он покажется бессмыслицей.",
     L"Допишите или сотрите последнюю букву и сохраните файл в Блокноте как UTF-8 с BOM."},
    {Kind::TextUtf16NoMark, S::Problem,
     L"{f}: текст в UTF-16 без метки в начале, игрок увидит бессмыслицу.",
     L"Сохраните файл в Блокноте в кодировке «Юникод» или UTF-8 с BOM."},
    {Kind::TextRtf, S::Problem,
     L"{f}: это документ RTF, а не простой текст, игрок увидит его разметку.", kResaveInNotepad},
    {Kind::TextHtml, S::Problem,
     L"{f}: это страница HTML, а не простой текст, игрок увидит её разметку.", kResaveInNotepad},
    {Kind::TextWord, S::Problem,
     L"{f}: это документ Word, а не простой текст, игрок увидит бессмыслицу.", kResaveInNotepad},
    {Kind::ReadMeMissing, S::Problem,
     L"{f}: файла нет или он пуст, а HelpButton={n} показывает кнопку справки.",
     L"Положите в корень диска read.me.txt или напишите HelpButton=0."},
    {Kind::SoundMissing, S::Problem, L"{f}: звука нет, {m} пройдёт беззвучно.",
     L"Положите сюда звук WAV, лучше всего PCM 16 бит."},
    {Kind::SoundNotWave, S::Problem, L"{f}: это не звук WAV, {m} пройдёт беззвучно.", kSaveAsWave},
    {Kind::SoundNoFormat, S::Problem,
     L"{f}: в файле WAV нет описания формата, {m} пройдёт беззвучно.", kSaveAsWave},
    {Kind::SoundSilent, S::Problem, L"{f}: в файле WAV нет звука, {m} пройдёт беззвучно.",
     kSaveAsWave},
    {Kind::SoundFormat, S::Problem,
     L"{f}: этот вид WAV (код формата {n}) Windows не играет, {m} пройдёт беззвучно.", kSaveAsWave},
    {Kind::DiscEntry, S::Note, L"{f}: первая строка списка — диск «{v}».", L""},
    {Kind::Game, S::Note, L"{f}: игра {n} в списке, «{v}».", L""},
    {Kind::GameIsDiscEntry, S::Problem,
     L"{f}: папка названа так же, как диск в ключе disk, и эту игру нельзя установить.",
     L"Переименуйте папку или поменяйте значение disk."},
    {Kind::NoInstaller, S::Problem,
     L"{f}: в папке игры нет файла .exe, при установке игрок увидит «Error! 0».",
     L"Положите в папку игры её установщик, файл с окончанием .exe."},
    {Kind::InstallerNotExe, S::Problem,
     L"{f}: Varnolt запускает только файлы .exe, а в папке игры есть лишь {v}.",
     L"Положите рядом установщик .exe."},
    {Kind::InstallerInSubfolder, S::Problem,
     L"{f}: программа лежит во вложенной папке, а Varnolt ищет .exe прямо в папке игры.",
     L"Переложите установщик прямо в папку игры."},
    {Kind::ProgramInGamesFolder, S::Problem,
     L"{f}: программа лежит прямо в папке games, такой игры нет в списке.",
     L"Создайте для игры папку в games и переложите программу туда."},
    {Kind::SeveralInstallers, S::Problem,
     L"{f}: в папке игры {N:программа,программы,программ}, запустится первая по имени, {v}.",
     L"Оставьте в папке игры одну программу .exe."},
    {Kind::InstallerNotProgram, S::Problem,
     L"{f}: это не программа Windows, при установке игрок увидит «Error! 0».",
     L"Положите вместо него настоящий установщик."},
    {Kind::InstallerAdminByManifest, S::Note,
     L"{f}: установщик просит права администратора ({v}), Windows спросит разрешения.", L""},
    {Kind::InstallerAdminByName, S::Note,
     L"{f}: в имени есть setup, install или update, Windows спросит права администратора.", L""},
    {Kind::InstallerPathTooLong, S::Problem,
     L"{f}: путь на диске будет {N:знак,знака,знаков}, больше 259, и установщик не запустится.",
     L"Сократите имена папки игры и установщика."},
    {Kind::DescriptionMissing, S::Problem,
     L"{f}: описания нет, поле описания будет пустым, звук загрузки не прозвучит.",
     L"Положите в папку игры файл descript.ion с её описанием."},
    {Kind::DescriptionEmpty, S::Problem,
     L"{f}: описание пусто, поле описания будет пустым, звук загрузки не прозвучит.",
     L"Впишите в файл описание игры."},
    {Kind::DiscDescriptionMissing, S::Note,
     L"{f}: описания диска нет, у первой строки списка поле описания будет пустым.", L""},
    {Kind::ScreenshotMissing, S::Note, L"{f}: картинки нет, поле картинки будет пустым.", L""},
    {Kind::ScreenshotNotPicture, S::Problem,
     L"{f}: это не картинка JPEG, PNG, BMP или GIF, поле картинки будет пустым.",
     L"Сохраните картинку в формате JPEG под именем screenshot.jpg."},
    {Kind::ScreenshotTooLarge, S::Problem,
     L"{f}: картинка больше {n} мегапикселей или 65535 точек в сторону, её не покажут.",
     L"Уменьшите картинку."},
    {Kind::ScreenshotCutOff, S::Problem, L"{f}: картинка обрезана, поле картинки будет пустым.",
     L"Скопируйте картинку заново."},
    {Kind::ScreenshotUnreadable, S::Problem, L"{f}: файл не читается, поле картинки будет пустым.",
     L"Скопируйте картинку заново."},
    {Kind::Misnamed, S::Problem, L"{f}: Varnolt ищет не этот файл, а {v}, и не найдёт его.",
     L"Переименуйте файл в {v}; Проводник может прятать окончание имени, например .txt."},
    {Kind::IgnoredFile, S::Problem, L"{f}: файл скрытый или системный, Varnolt его не видит.",
     L"Снимите в свойствах файла отметку «Скрытый»."},
    {Kind::IgnoredFolder, S::Problem, L"{f}: папка скрытая или системная, Varnolt её не видит.",
     L"Снимите в свойствах папки отметку «Скрытый»."},
    {Kind::NameEndsInDot, S::Problem, L"{f}: имя кончается точкой, Windows не откроет этот файл.",
     L"Переименуйте файл."},
    {Kind::NameEndsInBlank, S::Problem,
     L"{f}: имя кончается пробелом, Windows не откроет этот файл.", L"Переименуйте файл."},
    {Kind::NameControlCharacter, S::Problem,
     L"{f}: в имени управляющий знак с кодом {n}, Windows не откроет его.", L"Переименуйте его."},
    {Kind::NameForbiddenCharacter, S::Problem,
     L"{f}: в имени знак {v}, которого Windows в именах не допускает.", L"Переименуйте его."},
    {Kind::NameSemicolon, S::Problem,
     L"{f}: в имени точка с запятой, которой на компакт-диске быть не может.",
     L"Переименуйте его без точки с запятой."},
    {Kind::LongName, S::Problem,
     L"{f}: в имени {N:знак,знака,знаков}, на компакт-диске помещается 64, имя обрежут.",
     L"Сократите имя до 64 знаков."},
    {Kind::AutorunInfMissing, S::Problem,
     L"{f}: файла нет, вставленный диск не предложит запустить Varnolt.",
     L"Скопируйте autorun.inf из заготовки."},
    {Kind::AutorunInfNoOpen, S::Problem,
     L"{f}: нет строки open=Varnolt.exe, вставленный диск не предложит запустить Varnolt.",
     L"Напишите в разделе [autorun] строку open=Varnolt.exe."},
    {Kind::AutorunInfWrong, S::Problem, L"{f}{l}: open={v} запускает не Varnolt.exe.",
     L"Напишите open=Varnolt.exe."},
    {Kind::AutorunInfLabelUtf8, S::Problem,
     L"{f}{l}: название диска в UTF-8, Проводник покажет вместо него бессмыслицу.",
     L"Сохраните autorun.inf в Блокноте в кодировке «Юникод»."},
    {Kind::AutorunInfIconMissing, S::Problem,
     L"{f}{l}: файла значка {v} нет, у диска будет обычный значок.",
     L"Напишите icon=Varnolt.exe или положите файл значка в корень диска."},
    {Kind::LinkNotFollowed, S::Note, L"{f}: ссылка на другое место, проверка в неё не заходит.",
     L""},
    {Kind::FolderUnreadable, S::Problem, L"{f}: папку не удаётся прочитать.",
     L"Проверьте права доступа к папке."},
    {Kind::TooDeep, S::Note, L"{f}: вложенность больше {n} папок, глубже проверка не идёт.", L""},
    {Kind::TooManyEntries, S::Note,
     L"{f}: на диске больше {n} файлов и папок, остальные не проверены.", L""},
};

// Every kind has its entry, in the order of the kinds.
constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < std::size(kTable); ++i)
    if (kTable[i].kind != static_cast<Kind>(i)) return false;
  return std::size(kTable) == static_cast<std::size_t>(Kind::Count);
}
static_assert(InKindOrder(), "kTable must hold one entry for each Kind, in its order");

const Entry& EntryOf(Kind kind) { return kTable[static_cast<std::size_t>(kind)]; }

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

std::wstring Where(const std::wstring& key) {
  using namespace MainModule;
  if (key == kKeyDisk) return L"в первой строке списка";
  if (key == kKeyList) return L"над списком игр";
  if (key == kKeyDescription) return L"над описанием";
  if (key == kKeyInstall) return L"на кнопке установки";
  if (key == kKeyClose) return L"на кнопке закрытия";
  if (key == kKeyReadMe) return L"на кнопке справки";
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

}  // namespace

Severity SeverityOf(Kind kind) { return EntryOf(kind).severity; }

const wchar_t* Plural(long long n, const wchar_t* one, const wchar_t* few, const wchar_t* many) {
  const long long last = (n < 0 ? -n : n) % 100;
  if (last >= 11 && last <= 14) return many;
  if (last % 10 == 1) return one;
  if (last % 10 >= 2 && last % 10 <= 4) return few;
  return many;
}

std::wstring FindingLine(const Finding& f) {
  const Entry& entry = EntryOf(f.kind);
  return Prefix(entry.severity) + Fill(entry.sentence, f);
}

std::wstring AdviceLine(const Finding& f) {
  const Entry& entry = EntryOf(f.kind);
  return *entry.advice == L'\0' ? std::wstring() : L"Что делать: " + Fill(entry.advice, f);
}

std::vector<std::wstring> ReportLines(const Report& report, const std::wstring& folder,
                                      ReportOptions options) {
  std::vector<std::wstring> lines;
  switch (report.folder) {
    case FolderState::Missing:
      lines.push_back(L"Папка не найдена: " + folder);
      break;
    case FolderState::NotAFolder:
      lines.push_back(L"Это файл, а не папка: " + folder);
      break;
    case FolderState::Unreadable:
      lines.push_back(L"Папку не удаётся прочитать: " + folder);
      break;
    case FolderState::Ok:
      break;
  }
  if (report.folder != FolderState::Ok) {
    lines.push_back(L"Итого: диск не проверен.");
    return lines;
  }
  lines.push_back(L"Проверка диска: " + report.root);

  // The games' folders, by their place in the list.
  std::map<std::wstring, int> games;
  for (const Finding& f : report.findings)
    if (f.kind == Kind::Game || f.kind == Kind::GameIsDiscEntry)
      games[f.path] = static_cast<int>(f.number);
  auto placeOf = [&](const Finding& f) {
    const std::size_t slash = f.path.find(L'\\');
    if (slash == std::wstring::npos) return Place{0, 0};
    const std::wstring top = f.path.substr(0, slash + 1);
    if (top == L"autorun\\") return Place{1, 0};
    if (top != L"games\\") return Place{3, 0};
    const std::size_t end = f.path.find(L'\\', slash + 1);
    const auto game = games.find(f.path.substr(0, end == std::wstring::npos ? 0 : end + 1));
    return Place{2, game == games.end() ? 1 << 30 : game->second};
  };
  // Each finding shown, by its group and its place on the disc.
  struct Shown {
    Severity severity;
    Place place;
    const Finding* finding;
  };
  std::vector<Shown> order;
  for (const Finding& f : report.findings) {
    // The start of a text shows whenever asked for, with the problems too.
    if (f.kind == Kind::TextStart ? !options.textStarts
                                  : options.problemsOnly && SeverityOf(f.kind) == Severity::Note)
      continue;
    order.push_back({SeverityOf(f.kind), placeOf(f), &f});
  }
  std::stable_sort(order.begin(), order.end(), [](const Shown& a, const Shown& b) {
    return a.severity != b.severity ? a.severity < b.severity : a.place < b.place;
  });

  int stops = 0, problems = 0;
  for (const Shown& shown : order) {
    lines.push_back(FindingLine(*shown.finding));
    const std::wstring advice = AdviceLine(*shown.finding);
    if (!advice.empty()) lines.push_back(advice);
  }
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
  lines.push_back(L"Итого: " + count(report.games, L"игра", L"игры", L"игр") + L", " +
                  count(stops, L"ошибка запуска", L"ошибки запуска", L"ошибок запуска") + L", " +
                  count(problems, L"проблема", L"проблемы", L"проблем") + L". " + verdict);
  return lines;
}

}  // namespace check
