// MainModule's globals, its start-up checks and their messages, and the
// rules the disc check shares with the program: nothing here needs a window.
#include "platform/Platform.h"
#include "startup/GameFolderModule.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
#include "startup/MainModule.h"
#include "startup/TextSegmentModule.h"

namespace MainModule {

std::wstring tAppPath;
std::wstring tGamesPath;
std::wstring tNvdaFile;
std::wstring tAutorunPath;
std::wstring tReadMeFile;
std::wstring tIniFile;

std::wstring tDiskName;
std::wstring tHelpHead;
std::int32_t iHelpButton = 0;
bool bScreenReader = false;
std::wstring tSupportMail;
const wchar_t* const kDefaultSupportMail = L"support@varnolt.org";

std::unique_ptr<ApiPlaySoundClass> oSound;
std::int16_t iSndClick = 0;
std::int16_t iSndLoad = 0;
std::int16_t iSndStart = 0;
std::int16_t iSndStop = 0;

const wchar_t* const kSection = L"main";
const ControlFileKey kControlFileKeys[10] = {
    {.section = kSection, .name = L"disk", .use = KeyUse::DiscName},
    {.section = kSection, .name = L"list", .use = KeyUse::ListHeading},
    {.section = kSection, .name = L"description", .use = KeyUse::DescriptionHeading},
    {.section = kSection, .name = L"install", .use = KeyUse::InstallCaption},
    {.section = kSection, .name = L"close", .use = KeyUse::CloseCaption},
    {.section = kSection, .name = L"readme", .use = KeyUse::ReadMeCaption},
    {.section = kSection, .name = L"help", .use = KeyUse::HelpHeading},
    {.section = kSection, .name = L"HelpButton", .use = KeyUse::HelpButtonMode},
    {.section = kSection, .name = L"ScreenReader", .use = KeyUse::ScreenReader},
    {.section = kSection, .name = L"support", .use = KeyUse::SupportAddress},
};

const ControlFileKey* FindControlFileKey(const std::wstring& name) {
  for (const ControlFileKey& key : kControlFileKeys)
    if (IniEditorModule::SameName(name, key.name)) return &key;
  return nullptr;
}

std::wstring ReadSetting(const std::wstring& iniText, KeyUse use) {
  for (const ControlFileKey& key : kControlFileKeys)
    if (key.use == use) return IniEditorModule::ReadIniFrom(iniText, key.section, key.name);
  return std::wstring();
}

const wchar_t* const kSoundClick = L"click";
const wchar_t* const kSoundLoad = L"load";
const wchar_t* const kSoundStart = L"start";
const wchar_t* const kSoundStop = L"stop";

const wchar_t* const kSoundFolderTitle = L"ERROR";
const wchar_t* const kErrorTitle = L"Error";

namespace {

constexpr const wchar_t* kLineBreak = L"\r\n";
// Asks TextSegment for the last piece of a path, whatever its length.
constexpr std::int32_t kLastPiece = 100000;

}  // namespace

std::wstring SoundFolderMessage() {
  return std::wstring(L"Не могу загрузить PlaySound() winmm.dll") + kLineBreak +
         L"Программа будет закрыта.";
}

std::wstring ControlFileMessage(const std::wstring& iniFile) {
  return std::wstring(L"Отсутствует управляющий файл:") + kLineBreak + iniFile + kLineBreak +
         L"Программа будет закрыта.";
}

std::wstring WindowMessage() {
  return std::wstring(L"Не могу создать окно программы.") + kLineBreak +
         L"Программа будет закрыта.";
}

std::wstring NoGamesMessage(const std::wstring& gamesPath) {
  return std::wstring(L"В папке:") + kLineBreak + gamesPath + kLineBreak + L"нет игр.";
}

void GetAppPath(std::wstring& vPath) {
  vPath = platform::ExecutableFolder();
  if (vPath.empty() || vPath.back() != L'\\') vPath += L'\\';
}

void SetPaths(const std::wstring& appPath) {
  tAppPath = appPath;
  if (tAppPath.empty() || tAppPath.back() != L'\\') tAppPath += L'\\';
  tGamesPath = tAppPath + L"games\\";
  tNvdaFile = tAppPath + L"nvda\\nvda.exe";
  tAutorunPath = tAppPath + L"autorun\\";
  tReadMeFile = tAppPath + L"read.me.txt";
  tIniFile = tAppPath + L"autorun.ini";
}

bool SoundFolderUsable(ApiPlaySoundClass& sound) { return sound.Init(tAutorunPath); }

bool ControlFilePresent() { return !platform::FindOrdinaryFile(tIniFile).empty(); }

// A games folder that is missing altogether counts like an empty one.
bool GamesPresent(platform::DirListBox& drGame) {
  return drGame.SetPath(tGamesPath) && drGame.ListCount() > 0;
}

bool GamesPresent(std::vector<std::wstring>& games) {
  return GameFolderModule::ListGameFolders(tGamesPath, games) && !games.empty();
}

std::wstring GameEntry(const std::wstring& folderPath) {
  std::int32_t index = kLastPiece;
  return TextSegmentModule::TextSegment(folderPath, L"\\", index);
}

// A value beyond the 32-bit range hides and disables the read-me button.
std::int32_t HelpButtonMode(const std::wstring& value) {
  return IniValueModule::ToWholeNumber(value).value_or(0);
}

bool ReadMeButtonVisible(std::int32_t mode) { return mode == 1 || mode == 2; }

bool ReadMeButtonEnabled(std::int32_t mode) { return mode == 2; }

std::wstring SupportMail(const std::wstring& value) {
  return value == L"0" || value.empty() ? std::wstring(kDefaultSupportMail) : value;
}

void ShutDown() {
  if (oSound && oSound->IsInit) oSound->Free();
  oSound.reset();
  platform::ExitProgram();
}

}  // namespace MainModule
