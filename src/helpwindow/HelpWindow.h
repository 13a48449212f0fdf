// fHelp: shows a text under a heading and holds up its caller until the
// user dismisses it.
#pragma once

#include <string>

#include "helpwindow/HelpLayout.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

class HelpWindow final : private platform::FormEvents {
  platform::Form form_;  // first: the control handles below refer to it

 public:
  HelpWindow();

  // Shows `tMsg` (with its line ends and long lines made fit for the text
  // box) under the heading `tHead` and returns once the user has
  // dismissed it (OK, Enter or Esc). With `bModal` the program's active
  // window is disabled meanwhile and owns the help window; it is enabled
  // and given the focus again before Help returns. The wait blocks on the
  // event queue. False, with nothing shown and nothing else changed, when
  // the window cannot be created.
  bool Help(const std::wstring& tMsg, const std::wstring& tHead, bool bModal);

  platform::Form& form() { return form_; }

  platform::Button btHelp;
  platform::TextBox edHelp;
  platform::Image imHelp;
  platform::Label lbHelp;  // hidden: the spoken name of edHelp

 private:
  bool Load();
  void Dismiss();

  void OnClick(int control) override;
  void OnKeyUp(int keyCode, int shift) override;
  void OnCloseRequest() override;

  platform::Form* oOwner = nullptr;
};

// The help window, created on first use and kept for the rest of the run.
HelpWindow& fHelp();
void DiscardHelpWindow();
