#include "mainwindow/MainWindow.h"

#include <memory>

#include "helpwindow/HelpWindow.h"
#include "platform/Keys.h"
#include "platform/Platform.h"
#include "startup/MainModule.h"
#include "util/AppTitleModule.h"
#include "util/LoadFileModule.h"

using namespace MainLayout;

MainWindow::MainWindow()
    : form_(fMainLayout, *this),
      btReadMe(form_, MainLayout::btReadMe),
      drGame(form_, MainLayout::drGame),
      btClose(form_, MainLayout::btClose),
      btInstall(form_, MainLayout::btInstall),
      edDescript(form_, MainLayout::edDescript),
      lsGame(form_, MainLayout::lsGame),
      img(form_, MainLayout::img),
      lbDescript(form_, MainLayout::lbDescript),
      lbGame(form_, MainLayout::lbGame),
      texts_(kKeptTextBytes),
      pictures_(kKeptPictureBytes) {}

bool MainWindow::Load() {
  if (!form_.IsCreated()) {
    if (!form_.Create()) return false;
    AllControlsResizeModule::ResizeInit(record_, form_);
  }
  form_.Show();
  platform::DoEvents();
  return true;
}

void MainWindow::OnActivate() {
  drGame.SetVisible(false);
  btInstall.SetEnabled(false);
  form_.SetTitle(AppTitleModule::AppTitle(fMainLayout.caption));
  // Straight to the list: the description the user left for the read-me is
  // not given the focus (and spoken) on the way.
  if (readMe_ == ReadMeState::Shown) lsGame.SetFocus();
}

// The main window keeps its record when another window of the program
// becomes active: its controls follow its size for the whole run.

void MainWindow::OnResize() { AllControlsResizeModule::ResizeControls(record_, form_); }

// Smaller than this, a caption would be cut or a control would leave the window.
platform::Extent MainWindow::MinimumSize() {
  return AllControlsResizeModule::MinimumSize(record_, form_);
}

void MainWindow::OnKeyUp(int keyCode, int shift) {
  if (keyCode == platform::kKeyF1 && shift == 0) ReadMe();
}

void MainWindow::OnClick(int control) {
  if (control == MainLayout::btInstall) btInstall_Click();
  if (control == MainLayout::btClose) OnCloseRequest();
  if (control == MainLayout::btReadMe) ReadMe();
}

// The read-me is read on the reader, so that the window answers while a
// slow drive seeks; it is shown as soon as it comes (behind a description
// being read, at most).
void MainWindow::ReadMe() {
  if (readMe_ != ReadMeState::Closed) return;  // it opens once, however often asked for
  readMe_ = ReadMeState::Reading;
  platform::RunInBackground(
      platform::ReaderThread::Texts,
      [file = MainModule::tReadMeFile] {
        std::wstring text;
        LoadFileModule::LoadFile(file, text);
        return text;
      },
      [this](std::wstring text) {
        // Back from the read-me, the list takes the focus as the window is
        // activated (see OnActivate). Where the read-me is missing, empty or
        // cannot be shown, the focus stays where it was.
        readMe_ = text.empty() ? ReadMeState::Closed : ReadMeState::Shown;
        if (readMe_ == ReadMeState::Closed) return;
        const bool shown = fHelp().Help(text, MainModule::tHelpHead, true);
        readMe_ = ReadMeState::Closed;
        if (shown) lsGame.SetFocus();
      });
}

void MainWindow::OnSelectionChange(int control) {
  if (control == MainLayout::lsGame) lsGame_Click();
}

void MainWindow::OnFocus(int control) {
  if (control == MainLayout::lsGame) lsGame_GotFocus();
}

void MainWindow::OnTextChange(int control) {
  if (control == MainLayout::edDescript) edDescript_Change();
}

void MainWindow::OnTimer(int /*timer*/) { lsGame_Rest(); }

void MainWindow::OnCloseRequest() {
  if (!MainModule::HoldCloseUntilStarted()) Close();
}

void MainWindow::Close() {
  // The stop sound is heard to its end before the program goes.
  if (MainModule::oSound) MainModule::oSound->PlaySync(MainModule::iSndStop);
  MainModule::ShutDown();
}

namespace {
std::unique_ptr<MainWindow> theMainWindow;
}

MainWindow& fMain() {
  if (!theMainWindow) theMainWindow = std::make_unique<MainWindow>();
  return *theMainWindow;
}

void DiscardMainWindow() { theMainWindow.reset(); }
