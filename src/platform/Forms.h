// Windows and their controls, described by a layout table in twips and
// driven by index into that table (the window's control collection).
#pragma once

#include <memory>
#include <string>

namespace platform {

enum class ControlKind { Button, Label, ListBox, TextBox, Image, FolderList };

constexpr int kNoTabStop = -1;

struct ControlLayout {
  const wchar_t* name;
  ControlKind kind;
  int left, top, width, height;   // twips, from the client area's top left
  int tabIndex;                   // kNoTabStop: never takes the focus
  const wchar_t* accName;         // spoken name where no label names it, or nullptr
  const wchar_t* accDescription;  // spoken description, or nullptr
  bool hidden;                    // never shown to the user
};

struct FormLayout {
  const wchar_t* caption;
  int clientWidth, clientHeight;  // twips
  bool sizable;
  bool controlBox;  // the title bar's menu and buttons (close, maximise)
  bool keyPreview;
  const ControlLayout* controls;
  int controlCount;
  int defaultButton;  // index into controls, or -1
  int cancelButton;   // index into controls, or -1
};

// Events a window raises. Control arguments are indexes into the layout.
class FormEvents {
 public:
  virtual void OnActivate() {}
  virtual void OnDeactivate() {}
  virtual void OnResize() {}
  virtual void OnKeyUp(int /*keyCode*/, int /*shift*/) {}
  virtual void OnCloseRequest() {}
  virtual void OnClick(int /*control*/) {}
  virtual void OnSelectionChange(int /*control*/) {}
  virtual void OnFocus(int /*control*/) {}
  virtual void OnTextChange(int /*control*/) {}

 protected:
  ~FormEvents() = default;
};

// Shift state bits of OnKeyUp.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

class Form {
 public:
  Form(const FormLayout& layout, FormEvents& events);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window and its controls, hidden. False when it cannot.
  bool Create();
  // Shows the window (normal state, centred on the screen), not modal.
  void Show();
  // Shows the window modeless, owned by `owner` and centred on it: it stays
  // above its owner and out of the taskbar.
  void ShowOwned(Form& owner);
  void Hide();
  bool IsCreated() const;
  bool IsVisible() const;
  // Destroys the window; Create makes it afresh, as laid out.
  void Unload();
  void SetWindowEnabled(bool enabled);
  bool WindowEnabled() const;
  // Makes the window the program's active one, with the keyboard focus.
  void Activate();
  // The program's active window, or nullptr when none of its windows is.
  static Form* ActiveForm();

  void SetTitle(const std::wstring& title);
  std::wstring Title() const;

  int ControlCount() const;
  // A control's text ends at its first NUL, as every window's text does.
  void SetText(int control, const std::wstring& text);
  std::wstring Text(int control) const;
  void SetVisible(int control, bool visible);
  bool Visible(int control) const;
  void SetEnabled(int control, bool enabled);
  bool Enabled(int control) const;
  void SetFocus(int control);

  // Lists. Between BeginFill and EndFill the list does not redraw.
  void BeginFill(int control);
  void EndFill(int control);
  void AddItem(int control, const std::wstring& text);
  int ItemCount(int control) const;
  std::wstring ItemText(int control, int item) const;
  int SelectedIndex(int control) const;

  // Pictures. ClearPicture empties the control; LoadPicture shows the
  // picture file stretched to fill it, decoded at the size it is shown at,
  // and leaves the control empty when the file is missing or not a picture
  // it can read.
  void ClearPicture(int control);
  bool LoadPicture(int control, const std::wstring& file);

  // Geometry in twips: the window's outer size (border and title bar
  // included), and each control's rectangle in the client area. The
  // control rounds to whole pixels itself.
  struct Rect {
    float left, top, width, height;
  };
  float Width() const;
  float Height() const;
  void SetSize(float width, float height);
  Rect ControlRect(int control) const;
  void SetControlRect(int control, const Rect& rect);

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
