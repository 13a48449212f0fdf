// fMain, the program's one main window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/KeptReads.h"
#include "mainwindow/MainLayout.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "util/AllControlsResizeModule.h"

class MainWindow final : private platform::FormEvents {
  platform::Form form_;  // first: the control handles below refer to it

 public:
  MainWindow();

  // Creates the window and shows it, then lets waiting messages through once.
  // False when the window cannot be created.
  bool Load();

  platform::Form& form() { return form_; }

  // Shows the picture in img, stretched; null or empty: none.
  void ShowScreenshot(std::shared_ptr<const platform::Picture> picture);

  platform::Button btReadMe;
  platform::DirListBox drGame;
  platform::Button btClose;
  platform::Button btInstall;
  platform::TextBox edDescript;
  platform::ListBox lsGame;
  platform::Image img;
  platform::Label lbDescript;
  platform::Label lbGame;

  // Plays the stop sound to its end and ends the program.
  [[noreturn]] void Close();

 private:
  platform::Extent MinimumSize() override;
  void OnActivate() override;
  void OnResize() override;
  void OnKeyUp(int keyCode, int shift) override;
  void OnClick(int control) override;
  void OnSelectionChange(int control) override;
  void OnFocus(int control) override;
  void OnTextChange(int control) override;
  void OnCloseRequest() override;
  void OnTimer(int timer) override;

  // Game selection and details.
  void lsGame_Click();
  void lsGame_GotFocus();
  void edDescript_Change();
  // The selection has rested on an entry: what is not kept of it is read.
  void lsGame_Rest();
  void ReadDescription(const std::wstring& folder);
  void ReadScreenshot(const std::wstring& folder);
  std::shared_ptr<const platform::Picture> KeptScreenshot(const std::wstring& folder);
  // Game launch.
  void btInstall_Click();
  // The read-me: F1 or the read-me button.
  void ReadMe();
  // Where the read-me is: being read after its key, then open over the
  // window until dismissed.
  enum class ReadMeState { Closed, Reading, Shown };
  ReadMeState readMe_ = ReadMeState::Closed;

  // The controls' geometry as laid out, kept for the whole run.
  AllControlsResizeModule::ResizeRecord record_;

  // Counts the changes of the selection: a read that comes back for an
  // earlier one is for an entry the user has left.
  unsigned long selection_ = 0;
  // Descriptions and screenshots read before, by the entry's folder.
  KeptReads<std::wstring> texts_;
  KeptReads<platform::Picture> pictures_;
};

// How long the selection rests on an entry before its files are read.
extern const unsigned kRestMs;
// The memory kept descriptions and screenshots may take.
extern const std::size_t kKeptTextBytes;
extern const std::size_t kKeptPictureBytes;

// The launch-failure message: its title and its five lines.
std::wstring LaunchFailureTitle(std::int32_t code);
std::wstring LaunchFailureText(std::int32_t code, const std::wstring& supportMail);

// The main window, created on first use and kept for the rest of the run.
MainWindow& fMain();

// Discards the main window; a run of the program never needs it, tests that
// start the program again from scratch do.
void DiscardMainWindow();
