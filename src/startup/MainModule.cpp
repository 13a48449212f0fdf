#include "startup/MainModule.h"

#include "helpwindow/HelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "startup/GetAllProcessesModule.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"
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

const wchar_t* const kSoundFolderTitle = L"ERROR";
const wchar_t* const kErrorTitle = L"Error";

namespace {

constexpr const wchar_t* kLineBreak = L"\r\n";
constexpr const wchar_t* kSection = L"main";
// Asks TextSegment for the last piece of a path, whatever its length.
constexpr std::int32_t kLastPiece = 100000;

// The control file as start-up read it: every setting comes from that one
// reading (each reading of a file costs a millisecond or so on a slow disc).
std::wstring tIniText;

std::wstring Setting(const wchar_t* key) {
  return IniEditorModule::ReadIniFrom(tIniText, kSection, key);
}

[[noreturn]] void Fail(const std::wstring& text, const wchar_t* title) {
  platform::ShowMessage(text, title, platform::kIconError);
  ShutDown();
}

}  // namespace

std::wstring SoundFolderMessage() {
  return std::wstring(L"Не могу загрузить PlaySound() winmm.dll") + kLineBreak +
         L"Программа будет закрыта.";
}

std::wstring ControlFileMessage(const std::wstring& iniFile) {
  return std::wstring(L"Отсутствует управляющий файл:") + kLineBreak + iniFile + kLineBreak +
         L"Программа будет закрыта.";
}

std::wstring NoGamesMessage(const std::wstring& gamesPath) {
  return std::wstring(L"В папке:") + kLineBreak + gamesPath + kLineBreak + L"нет игр.";
}

void GetAppPath(std::wstring& vPath) {
  vPath = platform::ExecutableFolder();
  if (vPath.empty() || vPath.back() != L'\\') vPath += L'\\';
}

void ApplyHelpButton(std::int32_t mode) {
  MainWindow& w = fMain();
  w.btReadMe.SetVisible(mode == 1 || mode == 2);
  w.btReadMe.SetEnabled(mode == 2);
}

void CheckScreenReader() {
  GetAllProcessesModule::CollectWindows();
  const bool nvda = GetAllProcessesModule::WindowExists(L"NVDA");
  const bool jaws = GetAllProcessesModule::WindowExists(L"JAWS");
  if (!nvda && !jaws) platform::StartProgram(tNvdaFile, platform::kShowMinimized);
}

void Main() {
  GetAppPath(tAppPath);
  tGamesPath = tAppPath + L"games\\";
  tNvdaFile = tAppPath + L"nvda\\nvda.exe";
  tAutorunPath = tAppPath + L"autorun\\";
  tReadMeFile = tAppPath + L"read.me.txt";
  tIniFile = tAppPath + L"autorun.ini";

  oSound = std::make_unique<ApiPlaySoundClass>();

  MainWindow& w = fMain();
  w.Load();

  if (!oSound->Init(tAutorunPath)) Fail(SoundFolderMessage(), kSoundFolderTitle);
  platform::DoEvents();
  if (platform::FindOrdinaryFile(tIniFile).empty()) Fail(ControlFileMessage(tIniFile), kErrorTitle);
  tIniText = IniEditorModule::ReadIniText(tIniFile);
  // A games folder that is missing altogether is reported like an empty one.
  if (!w.drGame.SetPath(tGamesPath) || w.drGame.ListCount() == 0)
    Fail(NoGamesMessage(tGamesPath), kErrorTitle);

  w.lsGame.BeginFill();
  w.lsGame.AddItem(Setting(L"disk"));
  const int n = w.drGame.ListCount();
  for (int i = 0; i < n; ++i) {
    std::int32_t index = kLastPiece;
    w.lsGame.AddItem(TextSegmentModule::TextSegment(w.drGame.List(i), L"\\", index));
  }
  w.lsGame.EndFill();

  w.lbGame.SetCaption(Setting(L"list"));
  w.lbDescript.SetCaption(Setting(L"description"));
  w.btInstall.SetCaption(Setting(L"install"));
  w.btClose.SetCaption(Setting(L"close"));
  w.btReadMe.SetCaption(Setting(L"readme"));

  bScreenReader = IniValueModule::ToTruthValue(Setting(L"ScreenReader"));
  tDiskName = Setting(L"disk");
  tHelpHead = Setting(L"help");
  // A value beyond the 32-bit range hides and disables the read-me button.
  iHelpButton = IniValueModule::ToWholeNumber(Setting(L"HelpButton")).value_or(0);
  tSupportMail = Setting(L"support");
  if (tSupportMail == L"0" || tSupportMail.empty()) tSupportMail = kDefaultSupportMail;

  iSndClick = oSound->AddFile(L"click");
  iSndLoad = oSound->AddFile(L"load");
  iSndStart = oSound->AddFile(L"start");
  iSndStop = oSound->AddFile(L"stop");
  oSound->PlayAsync(iSndStart);

  ApplyHelpButton(iHelpButton);
  if (bScreenReader) CheckScreenReader();
}

void ShutDown() {
  if (oSound && oSound->IsInit) oSound->Free();
  oSound.reset();
  platform::ExitProgram();
}

void ResetGlobals() {
  for (std::wstring* text : {&tAppPath, &tGamesPath, &tNvdaFile, &tAutorunPath, &tReadMeFile,
                             &tIniFile, &tDiskName, &tHelpHead, &tSupportMail, &tIniText})
    text->clear();
  iHelpButton = 0;
  bScreenReader = false;
  oSound.reset();
  iSndClick = iSndLoad = iSndStart = iSndStop = 0;
  GetAllProcessesModule::ForgetWindows();
  DiscardHelpWindow();
  DiscardMainWindow();
}

}  // namespace MainModule
