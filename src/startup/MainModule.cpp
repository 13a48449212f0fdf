#include "startup/MainModule.h"

#include "helpwindow/HelpWindow.h"
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "startup/GetAllProcessesModule.h"
#include "startup/IniEditorModule.h"
#include "startup/IniValueModule.h"

namespace MainModule {

namespace {

bool bStarting = false;
bool bCloseHeld = false;

[[noreturn]] void Fail(const std::wstring& text, const wchar_t* title) {
  platform::ShowMessage(text, title, platform::MessageIcon::Error);
  ShutDown();
}

}  // namespace

void ApplyHelpButton(std::int32_t mode) {
  MainWindow& w = fMain();
  w.btReadMe.SetVisible(ReadMeButtonVisible(mode));
  w.btReadMe.SetEnabled(ReadMeButtonEnabled(mode));
}

void CheckScreenReader() {
  GetAllProcessesModule::CollectWindows();
  const bool nvda = GetAllProcessesModule::WindowExists(L"NVDA");
  const bool jaws = GetAllProcessesModule::WindowExists(L"JAWS");
  if (!nvda && !jaws) platform::StartProgram(tNvdaFile, platform::ShowState::Minimized);
}

bool HoldCloseUntilStarted() {
  if (bStarting) bCloseHeld = true;
  return bStarting;
}

void Main() {
  bStarting = true;
  GetAppPath(tAppPath);
  SetPaths(tAppPath);

  oSound = std::make_unique<ApiPlaySoundClass>();

  MainWindow& w = fMain();
  // Without its window the program has nothing to wait for; the user who
  // inserted the disc is told why nothing appears.
  if (!w.Load()) Fail(WindowMessage(), kErrorTitle);

  if (!SoundFolderUsable(*oSound)) Fail(SoundFolderMessage(), kSoundFolderTitle);
  platform::DoEvents();
  if (!ControlFilePresent()) Fail(ControlFileMessage(tIniFile), kErrorTitle);
  // Every setting comes from this one reading (each reading of a file costs a
  // millisecond or so on a slow disc).
  const std::wstring iniText = IniEditorModule::ReadIniText(tIniFile);
  auto setting = [&iniText](KeyUse use) { return ReadSetting(iniText, use); };
  if (!GamesPresent(w.drGame)) Fail(NoGamesMessage(tGamesPath), kErrorTitle);

  tDiskName = setting(KeyUse::DiscName);
  w.lsGame.BeginFill();
  w.lsGame.AddItem(tDiskName);
  const int n = w.drGame.ListCount();
  for (int i = 0; i < n; ++i) w.lsGame.AddItem(GameEntry(w.drGame.List(i)));
  w.lsGame.EndFill();

  w.lbGame.SetCaption(setting(KeyUse::ListHeading));
  w.lbDescript.SetCaption(setting(KeyUse::DescriptionHeading));
  w.btInstall.SetCaption(setting(KeyUse::InstallCaption));
  w.btClose.SetCaption(setting(KeyUse::CloseCaption));
  w.btReadMe.SetCaption(setting(KeyUse::ReadMeCaption));

  bScreenReader = IniValueModule::ToTruthValue(setting(KeyUse::ScreenReader));
  tHelpHead = setting(KeyUse::HelpHeading);
  iHelpButton = HelpButtonMode(setting(KeyUse::HelpButtonMode));
  tSupportMail = SupportMail(setting(KeyUse::SupportAddress));

  iSndClick = oSound->AddFile(kSoundClick);
  iSndLoad = oSound->AddFile(kSoundLoad);
  iSndStart = oSound->AddFile(kSoundStart);
  iSndStop = oSound->AddFile(kSoundStop);
  oSound->PlayAsync(iSndStart);

  ApplyHelpButton(iHelpButton);
  if (bScreenReader) CheckScreenReader();

  bStarting = false;
  if (bCloseHeld) w.Close();
}

void ResetGlobals() {
  for (std::wstring* text : {&tAppPath, &tGamesPath, &tNvdaFile, &tAutorunPath, &tReadMeFile,
                             &tIniFile, &tDiskName, &tHelpHead, &tSupportMail})
    text->clear();
  iHelpButton = 0;
  bScreenReader = false;
  bStarting = bCloseHeld = false;
  oSound.reset();
  iSndClick = iSndLoad = iSndStart = iSndStop = 0;
  GetAllProcessesModule::ForgetWindows();
  DiscardHelpWindow();
  DiscardMainWindow();
}

}  // namespace MainModule
