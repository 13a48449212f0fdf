// Named controls of a window: thin typed handles over a Form and an index
// into its layout, so that the logic reads like the window it drives.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Forms.h"

namespace platform {

class Control {
 public:
  Control(Form& form, int index) : form_(form), index_(index) {}
  void SetCaption(const std::wstring& text) { form_.SetText(index_, text); }
  void SetVisible(bool visible) { form_.SetVisible(index_, visible); }
  bool Visible() const { return form_.Visible(index_); }
  void SetEnabled(bool enabled) { form_.SetEnabled(index_, enabled); }
  bool Enabled() const { return form_.Enabled(index_); }
  void SetFocus() { form_.SetFocus(index_); }

 protected:
  Form& form_;
  int index_;
};

using Button = Control;
using Label = Control;

class Image : public Control {
 public:
  using Control::Control;
  void ClearPicture() { form_.ClearPicture(index_); }
  bool LoadPicture(const std::wstring& file) { return form_.LoadPicture(index_, file); }
  int PixelWidth() const { return form_.PictureWidth(index_); }
  int PixelHeight() const { return form_.PictureHeight(index_); }
  void ShowPicture(std::shared_ptr<const Picture> picture) {
    form_.ShowPicture(index_, std::move(picture));
  }
};

class TextBox : public Control {
 public:
  using Control::Control;
  void SetText(const std::wstring& text) { form_.SetText(index_, text); }
  std::wstring Text() const { return form_.Text(index_); }
};

class ListBox : public Control {
 public:
  using Control::Control;
  void BeginFill() { form_.BeginFill(index_); }
  void EndFill() { form_.EndFill(index_); }
  void AddItem(const std::wstring& text) { form_.AddItem(index_, text); }
  int ListCount() const { return form_.ItemCount(index_); }
  std::wstring List(int item) const { return form_.ItemText(index_, item); }
  int ListIndex() const { return form_.SelectedIndex(index_); }
};

// A hidden folder list: the sub-folders of a path, as full paths, in the
// order Explorer shows them; hidden and system folders are left out.
class DirListBox : public Control {
 public:
  using Control::Control;
  // False when the folder cannot be listed; the list is then empty.
  bool SetPath(const std::wstring& path);
  int ListCount() const { return static_cast<int>(paths_.size()); }
  const std::wstring& List(int item) const { return paths_[static_cast<std::size_t>(item)]; }

 private:
  std::vector<std::wstring> paths_;
};

}  // namespace platform
