#include "check/CheckReport.h"

#include "check/WaveFormat.h"
#include "startup/MainModule.h"

namespace check {
namespace {

std::wstring Quoted(const std::wstring& text) { return L"«" + text + L"»"; }

// A message's lines joined as one line.
std::wstring OneLine(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') continue;
    out += text[i] == L'\n' ? std::wstring(L" / ") : std::wstring(1, text[i]);
  }
  return out;
}

std::wstring Where(const std::wstring& key) {
  using namespace MainModule;
  if (key == kKeyDisk) return L"первой строкой списка, вместо названия диска";
  if (key == kKeyList) return L"над списком игр";
  if (key == kKeyDescription) return L"над описанием";
  if (key == kKeyInstall) return L"на кнопке установки";
  if (key == kKeyClose) return L"на кнопке закрытия";
  if (key == kKeyReadMe) return L"на кнопке справки";
  if (key == kKeyHelp) return L"в заголовке окна справки";
  return std::wstring();
}

std::wstring Moment(const std::wstring& sound) {
  using namespace MainModule;
  if (sound == kSoundClick) return L"запуск установки";
  if (sound == kSoundLoad) return L"показ описания";
  if (sound == kSoundStart) return L"запуск Varnolt";
  return L"закрытие Varnolt";
}

std::wstring HelpButtonEffect(long long mode) {
  if (mode == 1) return L"кнопка справки видна, но не нажимается";
  if (mode == 2) return L"кнопка справки видна и работает";
  return L"кнопки справки нет";
}

std::wstring Failure() { return L"при установке игрок увидит сообщение «Error! 0»"; }

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

std::wstring Text(const Finding& f) {
  const std::wstring& v = f.value;
  const std::wstring n = std::to_wstring(f.number);
  switch (f.kind) {
    case Kind::ProgramMissing:
      return L"файла нет в папке диска: запускать нечего.";
    case Kind::SoundFolderUnusable:
      return L"папки звуков нет, или в ней нет ни одного обычного файла. Varnolt покажет "
             L"сообщение " +
             Quoted(f.detail) + L": " + Quoted(OneLine(v)) + L" и закроется.";
    case Kind::ControlFileMissing:
      return L"управляющего файла нет. Varnolt покажет сообщение " + Quoted(f.detail) + L": " +
             Quoted(OneLine(v)) + L" и закроется.";
    case Kind::NoGames:
      return L"нет ни одной папки с игрой. Varnolt покажет сообщение " + Quoted(f.detail) + L": " +
             Quoted(OneLine(v)) + L" и закроется.";
    case Kind::SectionMissing:
      return L"нет раздела [" + v + L"]: все подписи и первая строка списка будут «0».";
    case Kind::KeyMissing:
      return L"нет ключа " + v + L": игрок увидит «0» " + Where(v) + L".";
    case Kind::KeyEmpty:
      return L"ключ " + v + L" пуст: " + Where(v) +
             L" будет пусто, экранному диктору нечего прочесть.";
    case Kind::UnknownKey:
      return L"ключ " + Quoted(v) + L" Varnolt не знает и не читает" +
             (f.detail.empty() ? std::wstring(L".")
                               : L"; возможно, имелся в виду " + f.detail + L".");
    case Kind::DuplicateKey:
      return L"ключ " + v + L" задан не один раз: Varnolt читает только первый.";
    case Kind::ValueCut:
      return L"значение ключа " + v + L" длиной " + n + L" знаков обрезается до " +
             std::to_wstring(f.detail.size()) + L": игрок увидит " + Quoted(f.detail) + L".";
    case Kind::HelpButtonValue:
      return L"HelpButton = " + Quoted(v) + L" читается как " + n + L": " +
             HelpButtonEffect(f.number) + L". Пишите 0, 1 или 2.";
    case Kind::ScreenReaderValue:
      return L"ScreenReader = " + Quoted(v) +
             L" — не число и не true/false, читается как «нет»: экранный диктор не будет запущен.";
    case Kind::ScreenReaderMissing:
      return L"ScreenReader = " + Quoted(v) +
             L" просит запустить экранный диктор, но этого файла нет: игрок, у которого диктор не "
             L"запущен, ничего не услышит, кроме звуков.";
    case Kind::AccessKey:
      return L"в подписи " + f.value + L" = " + Quoted(f.detail.empty() ? v : f.detail) +
             L" одиночный знак &: Windows не покажет его, а подчеркнёт следующую букву (клавиша "
             L"доступа). Чтобы показать сам знак, пишите &&.";
    case Kind::TextEncoding:
      return L"прочитан в кодировке " + v +
             (v == L"ANSI" ? std::wstring(L" (кодовая страница Windows, на русской системе 1251).")
                           : std::wstring(L"."));
    case Kind::TextCut:
      return L"файл длиннее " + n + L" байт: Varnolt читает только первые " + n + L" байт.";
    case Kind::ReadMeMissing:
      return L"справки нет или она пуста, а HelpButton = " + n +
             L" показывает кнопку справки: ни кнопка, ни F1 ничего не откроют.";
    case Kind::SoundMissing:
      return L"звука нет: " + Moment(v) + L" пройдёт беззвучно.";
    case Kind::SoundUnplayable: {
      std::wstring why;
      switch (static_cast<WaveVerdict>(f.number)) {
        case WaveVerdict::NotWave:
          why = L"это не файл RIFF WAVE";
          break;
        case WaveVerdict::NoFormat:
          why = L"в файле нет описания формата";
          break;
        case WaveVerdict::NoSound:
          why = L"в файле нет звука";
          break;
        default:
          why = L"формат, который системный вызов звука не играет (" + f.detail + L")";
      }
      return why + L": " + Moment(v) + L" пройдёт беззвучно. Сохраните звук как WAV PCM 16 бит.";
    }
    case Kind::DiscEntry:
      return L"первая строка списка — диск " + Quoted(v) +
             (f.detail.empty() ? std::wstring(L".") : L"; описание в кодировке " + f.detail + L".");
    case Kind::Game:
      return L"игра " + n + L" в списке — " + Quoted(v) +
             (f.detail.empty() ? std::wstring(L".") : L"; описание в кодировке " + f.detail + L".");
    case Kind::GameIsDiscEntry:
      return L"игра " + n +
             L": папка названа так же, как диск (ключ disk): Varnolt считает её "
             L"строкой диска, показывает описание и картинку диска, и установить игру нельзя.";
    case Kind::NoInstaller:
      return L"в папке игры нет ни одного файла *.exe: при установке игрок увидит сообщение " +
             Quoted(f.value) + L": " + Quoted(OneLine(f.detail)) + L".";
    case Kind::SeveralInstallers:
      return L"в папке игры " + n + L" программ (" + f.detail +
             L"): запускается первая найденная, " + v +
             L". Оставьте в папке одну программу установки.";
    case Kind::InstallerNotProgram:
      return L"это не программа Windows: запуск не удастся, " + Failure() + L".";
    case Kind::InstallerAsksAdmin:
      return f.detail == L"manifest"
                 ? L"просит права администратора (в манифесте " + v +
                       L"): игрок увидит запрос контроля учётных записей."
                 : std::wstring(
                       L"32-битная программа без уровня прав в манифесте, в имени есть setup, "
                       L"install или update: Windows сочтёт её установщиком и запросит права "
                       L"администратора (запрос контроля учётных записей).");
    case Kind::InstallerPathTooLong:
      return L"полный путь на диске будет " + n +
             L" знаков, больше 259: Windows программу не "
             L"запустит, " +
             Failure() + L".";
    case Kind::DescriptionMissing:
      return L"описания нет: поле описания останется пустым, звук загрузки не прозвучит.";
    case Kind::DescriptionEmpty:
      return L"описание пусто: поле описания останется пустым, звук загрузки не прозвучит.";
    case Kind::ScreenshotMissing:
      return L"картинки нет: поле картинки останется пустым.";
    case Kind::ScreenshotUnshown:
      if (f.detail == kTooLarge)
        return L"картинка " + v +
               L" больше, чем Varnolt показывает (до 100 мегапикселей, сторона до 65535): поле "
               L"картинки останется пустым.";
      if (f.detail == kCutOff)
        return L"JPEG обрезан, в нём нет конца картинки: поле картинки останется пустым.";
      if (f.detail == kUnreadable) return L"файл не читается: поле картинки останется пустым.";
      return L"это не картинка JPEG, PNG, BMP или GIF, или её начало повреждено: поле картинки "
             L"останется пустым.";
    case Kind::Ignored: {
      const bool system = f.detail == L"system";
      if (f.number != 0)
        return std::wstring(system ? L"системная" : L"скрытая") +
               L" папка: Varnolt её не показывает, этой игры нет в списке.";
      return std::wstring(system ? L"системный" : L"скрытый") +
             L" файл: Varnolt его не видит, как если бы его не было.";
    }
    case Kind::BadName: {
      const wchar_t c = f.detail.empty() ? L'?' : f.detail[0];
      if (c == L'.' && f.value.back() == L'.')
        return L"имя оканчивается точкой: Windows не откроет его как есть.";
      if (c == L' ' && f.value.back() == L' ')
        return L"имя оканчивается пробелом: Windows не откроет его как есть.";
      if (c < 0x20)
        return L"в имени управляющий знак с кодом " + std::to_wstring(static_cast<int>(c)) +
               L": Windows не откроет его как есть.";
      return L"в имени знак " + Quoted(f.detail) +
             L", запрещённый в Windows: Windows не откроет его как есть.";
    }
    case Kind::LongName:
      return L"имя длиной " + n +
             L" знаков: формат диска (Joliet) хранит до 64, при записи имя обрежут.";
    case Kind::AutorunInfMissing:
      return L"файла нет: вставленный диск не запустит Varnolt сам.";
    case Kind::AutorunInfWrong:
      return v.empty() ? std::wstring(
                             L"в разделе [autorun] нет строки open=Varnolt.exe: "
                             L"вставленный диск не запустит Varnolt сам.")
                       : L"open = " + Quoted(v) +
                             L" не запускает Varnolt.exe: вставленный диск запустит другое.";
    case Kind::LinkNotFollowed:
      return L"ссылка на другое место: проверка в неё не заходит.";
    case Kind::FolderUnreadable:
      return L"папку не удаётся прочитать.";
    case Kind::TooDeep:
      return L"вложенность больше " + n + L" папок: глубже проверка не идёт.";
    case Kind::TooManyEntries:
      return L"на диске больше " + n + L" файлов и папок: остальные не проверены.";
  }
  return std::wstring();
}

}  // namespace

std::wstring FindingLine(const Finding& f) {
  const std::wstring path = f.path.empty() ? std::wstring(L"папка диска") : f.path;
  return Prefix(f.severity) + path + L" — " + Text(f);
}

std::vector<std::wstring> ReportLines(const Report& report, const std::wstring& folder) {
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
  int stops = 0, problems = 0;
  for (const Finding& f : report.findings) {
    lines.push_back(FindingLine(f));
    if (f.severity == Severity::Stop) ++stops;
    if (f.severity == Severity::Problem) ++problems;
  }
  const int status = ExitStatus(report);
  const std::wstring verdict = status == 2   ? L"Varnolt не запустится."
                               : status == 1 ? L"Игрок встретит проблемы."
                                             : L"Диск готов.";
  lines.push_back(L"Итого: игр " + std::to_wstring(report.games) + L", ошибок запуска " +
                  std::to_wstring(stops) + L", проблем " + std::to_wstring(problems) + L". " +
                  verdict);
  return lines;
}

}  // namespace check
