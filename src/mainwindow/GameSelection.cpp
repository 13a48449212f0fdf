// Choosing an entry of the game list: the launch button's state, the
// entry's description and screenshot, and the load sound.
//
// The list moves at once and the button follows it; the entry's files are
// read on the reader thread once the selection has rested on it, the
// description first, and shown when they come, unless the user has moved
// on. What was read once is kept and shown at once the next time.
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "startup/DiscFilesModule.h"
#include "startup/MainModule.h"
#include "util/DisplayTextModule.h"
#include "util/LoadFileModule.h"

using namespace DiscFilesModule;
using namespace MainModule;

// A screen reader speaks the name of the entry the selection comes to at
// once, and a name takes it a good half second. Who passes entries by
// presses the arrow faster than this (a held key repeats every 33 ms,
// quick presses come 80 to 150 ms apart) and hears only the names; who
// stops to listen stops longer, and by the end of the name the
// description is read (two seeks of 100 ms on a CD) and shown.
const unsigned kRestMs = 150;
// Descriptions are small (and at most 1 MB of text, 2 MB in memory); a
// screenshot at the box's size is some 300 KB at 96 dots per inch.
const std::size_t kKeptTextBytes = std::size_t{8} << 20;
const std::size_t kKeptPictureBytes = std::size_t{16} << 20;

namespace {
constexpr int kRestTimer = 1;
}

void MainWindow::lsGame_Click() {
  ++selection_;  // whatever is still being read is for an entry left behind
  form_.StopTimer(kRestTimer);
  const int index = lsGame.ListIndex();
  if (index == -1) {
    btInstall.SetEnabled(false);
    edDescript.SetText(L"");
    return;
  }
  const std::wstring name = lsGame.List(index);
  const std::wstring folder = EntryFolder(name);
  btInstall.SetEnabled(!IsDiscEntry(name));
  // What is kept is shown now; the load sound comes with both in place.
  const std::shared_ptr<const std::wstring> text = texts_.Find(folder);
  const std::shared_ptr<const platform::Picture> picture = KeptScreenshot(folder);
  ShowScreenshot(picture);
  edDescript.SetText(text ? *text : L"");
  if (!text || !picture) form_.StartTimer(kRestTimer, kRestMs);
}

void MainWindow::lsGame_Rest() {
  // Behind the read-me nothing is read: its sound would speak over it.
  if (readMe_ != ReadMeState::Closed) return form_.StartTimer(kRestTimer, kRestMs);
  const int index = lsGame.ListIndex();
  if (index == -1) return;
  const std::wstring folder = EntryFolder(lsGame.List(index));
  if (texts_.Find(folder))
    ReadScreenshot(folder);
  else
    ReadDescription(folder);
}

void MainWindow::ReadDescription(const std::wstring& folder) {
  platform::RunInBackground(
      platform::ReaderThread::Texts,
      [file = folder + kDescriptionFile] {
        std::wstring text;
        LoadFileModule::LoadFile(file, text);
        return DisplayTextModule::DisplayText(text);
      },
      [this, folder, selection = selection_](std::wstring text) {
        // A description that is not there now may be there on another try.
        if (!text.empty())
          texts_.Keep(folder, std::shared_ptr<const std::wstring>(new std::wstring(text)),
                      text.size() * 2);
        if (selection != selection_) return;
        if (!text.empty()) edDescript.SetText(text);
        ReadScreenshot(folder);
      });
}

void MainWindow::ReadScreenshot(const std::wstring& folder) {
  if (KeptScreenshot(folder)) return;
  platform::RunInBackground(
      platform::ReaderThread::Pictures,
      [file = folder + kScreenshotFile, width = img.PixelWidth(), height = img.PixelHeight()] {
        return platform::DecodePicture(file, width, height);
      },
      [this, folder, selection = selection_](platform::Picture decoded) {
        auto picture =
            std::shared_ptr<const platform::Picture>(new platform::Picture(std::move(decoded)));
        if (!picture->Empty()) pictures_.Keep(folder, picture, picture->Bytes());
        if (selection == selection_) ShowScreenshot(picture);
      });
}

// A kept screenshot serves while the box keeps the size it was decoded for.
std::shared_ptr<const platform::Picture> MainWindow::KeptScreenshot(const std::wstring& folder) {
  std::shared_ptr<const platform::Picture> picture = pictures_.Find(folder);
  if (picture && picture->Width() == img.PixelWidth() && picture->Height() == img.PixelHeight())
    return picture;
  return nullptr;
}

void MainWindow::lsGame_GotFocus() {
  if (lsGame.ListIndex() == -1) edDescript.SetText(L"");
}

void MainWindow::edDescript_Change() {
  if (!edDescript.Text().empty() && oSound) oSound->PlayAsync(iSndLoad);
}

void MainWindow::ShowScreenshot(std::shared_ptr<const platform::Picture> picture) {
  img.ShowPicture(std::move(picture));
}
