// Choosing an entry of the game list: the launch button's state, the
// entry's description and screenshot, and the load sound.
#include "mainwindow/MainWindow.h"
#include "startup/MainModule.h"
#include "util/DisplayTextModule.h"
#include "util/LoadFileModule.h"

using namespace MainModule;

const wchar_t* const kDescriptionFile = L"descript.ion";
const wchar_t* const kScreenshotFile = L"screenshot.jpg";

// The disc's own entry is told by its text, never by its position.
bool IsDiscEntry(const std::wstring& entry) { return entry == tDiskName; }

std::wstring EntryFolder(const std::wstring& entry) {
  return IsDiscEntry(entry) ? tAutorunPath : GameFolder(entry);
}

void MainWindow::lsGame_Click() {
  const int index = lsGame.ListIndex();
  if (index == -1) {
    btInstall.SetEnabled(false);
    edDescript.SetText(L"");
    return;
  }
  const std::wstring name = lsGame.List(index);
  const std::wstring folder = EntryFolder(name);
  std::wstring text;
  btInstall.SetEnabled(!IsDiscEntry(name));
  LoadFileModule::LoadFile(folder + kDescriptionFile, text);
  ShowScreenshot(folder + kScreenshotFile);
  // Last: the load sound comes with picture and text in place.
  edDescript.SetText(DisplayTextModule::DisplayText(text));
}

void MainWindow::lsGame_GotFocus() {
  if (lsGame.ListIndex() == -1) edDescript.SetText(L"");
}

void MainWindow::edDescript_Change() {
  if (!edDescript.Text().empty() && oSound) oSound->PlayAsync(iSndLoad);
}

void MainWindow::ShowScreenshot(const std::wstring& tFile) {
  img.ClearPicture();
  img.LoadPicture(tFile);
}
