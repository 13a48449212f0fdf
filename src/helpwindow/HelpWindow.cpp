#include "helpwindow/HelpWindow.h"

#include <memory>

#include "platform/Keys.h"
#include "platform/Platform.h"
#include "util/DisplayTextModule.h"

namespace {

std::unique_ptr<HelpWindow> theHelpWindow;

}  // namespace

HelpWindow::HelpWindow()
    : form_(HelpLayout::fHelpLayout, *this),
      btHelp(form_, HelpLayout::btHelp),
      edHelp(form_, HelpLayout::edHelp),
      imHelp(form_, HelpLayout::imHelp),
      lbHelp(form_, HelpLayout::lbHelp) {
  Load();  // created hidden
}

bool HelpWindow::Load() {
  if (form_.IsCreated()) return true;
  if (!form_.Create()) return false;
  btHelp.SetCaption(L"OK");
  return true;
}

bool HelpWindow::Help(const std::wstring& tMsg, const std::wstring& tHead, bool bModal) {
  // Afresh for each call: the window is unloaded at the end.
  if (!Load()) return false;  // no window: the caller's stays as it was
  form_.SetTitle(tHead);
  lbHelp.SetCaption(tHead);  // what a screen reader calls the text
  edHelp.SetText(DisplayTextModule::DisplayText(tMsg));
  platform::Form* active = platform::Form::ActiveForm();
  if (active && active != &form_ && bModal) {
    oOwner = active;
    oOwner->SetWindowEnabled(false);
    form_.ShowOwned(*oOwner);
  } else {
    form_.Show();
  }
  while (form_.IsVisible()) {
    platform::DoEvents();
    if (form_.IsVisible()) platform::WaitForEvent();
  }
  if (oOwner) {
    oOwner->SetWindowEnabled(true);
    oOwner->Activate();
    oOwner = nullptr;
  }
  form_.Unload();
  return true;
}

void HelpWindow::Dismiss() {
  // The owner is enabled before the window goes, so that the system hands
  // the activation straight back to it and to no other program.
  if (oOwner) oOwner->SetWindowEnabled(true);
  form_.Hide();
}

void HelpWindow::OnClick(int control) {
  if (control == HelpLayout::btHelp) Dismiss();
}

void HelpWindow::OnKeyUp(int keyCode, int shift) {
  if (keyCode == platform::kKeyEscape && shift == 0) Dismiss();
}

void HelpWindow::OnCloseRequest() { Dismiss(); }

HelpWindow& fHelp() {
  if (!theHelpWindow) theHelpWindow = std::make_unique<HelpWindow>();
  return *theHelpWindow;
}

void DiscardHelpWindow() { theHelpWindow.reset(); }
