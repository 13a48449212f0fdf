// Windows and their controls, described by a layout table in twips and
// driven by index into that table (the window's control collection).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

enum class ControlKind { Button, Label, ListBox, TextBox, Image, FolderList };

constexpr int kNoTabStop = -1;

// How many entries of a list, from its first, are measured for the room
// they need: the disc's own and 500 games, so that a disc of 10,000 games is
// not measured whole.
constexpr int kMeasuredEntries = 501;

// Written with the fields named (.left = 150, ...), in this order.
struct ControlLayout {
  const wchar_t* name;
  ControlKind kind;
  int left, top, width, height;             // twips, from the client area's top left
  int tabIndex;                             // kNoTabStop: never takes the focus
  const wchar_t* accName = nullptr;         // spoken name where no label names it
  const wchar_t* accDescription = nullptr;  // spoken description
  bool hidden = false;                      // never shown to the user
  bool locked = false;                      // a text box whose text the user cannot change
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

// A width and a height in twips.
struct Extent {
  float width, height;
};

// A picture decoded for an image control at the size it is shown at. It is
// made on any thread (DecodePicture) and shown on the window's thread
// (Form::ShowPicture), which then holds it as long as it shows it.
class Picture {
 public:
  Picture();
  ~Picture();
  Picture(Picture&&) noexcept;
  Picture& operator=(Picture&&) noexcept;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  bool Empty() const { return !data_; }
  // The size it was decoded at, in pixels, and the memory its pixels take.
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::size_t Bytes() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4;
  }

  struct Data;
  Data* data() const { return data_.get(); }
  Picture(std::unique_ptr<Data> data, int width, int height);

 private:
  std::unique_ptr<Data> data_;
  int width_ = 0, height_ = 0;
};

// The picture file decoded and scaled to exactly width × height pixels; an
// empty picture when the file is missing, not a picture the program reads,
// cut off or too large. Safe on the reader thread.
Picture DecodePicture(const std::wstring& file, int width, int height);

// Events a window raises. Control arguments are indexes into the layout.
class FormEvents {
 public:
  // The smallest outer size the user may give the window; 0 for no limit.
  virtual Extent MinimumSize() { return {.width = 0, .height = 0}; }
  // A control given the focus here keeps it: the one the window was left on
  // is not given it first.
  virtual void OnActivate() {}
  virtual void OnDeactivate() {}
  virtual void OnResize() {}
  virtual void OnKeyUp(int /*keyCode*/, int /*shift*/) {}
  virtual void OnCloseRequest() {}
  virtual void OnClick(int /*control*/) {}
  virtual void OnSelectionChange(int /*control*/) {}
  virtual void OnFocus(int /*control*/) {}
  virtual void OnTextChange(int /*control*/) {}
  // A timer started with Form::StartTimer has run out.
  virtual void OnTimer(int /*timer*/) {}

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
  // When the window as laid out would not fit the work area of the screen
  // it opens on (that of the program's active window, or the main screen),
  // the window and its controls are made smaller, in proportion, until it
  // does; it is centred in that work area.
  bool Create();
  // Shows the window (normal state), not modal.
  void Show();
  // Shows the window modeless, owned by `owner` and centred on it, but
  // never past the edges of the work area: it stays above its owner and
  // out of the taskbar.
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

  int ControlCount() const;
  // A control's text ends at its first NUL, as every window's text does. A
  // text box shows a new text from its start: the caret before its first
  // character, nothing selected. So it is when the user tabs to it, too.
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
  // it can read. When the window's size has settled after a change (at the
  // end of a drag, or a moment after any other change), a picture whose
  // control has changed size is decoded again, once, at its new size.
  void ClearPicture(int control);
  bool LoadPicture(int control, const std::wstring& file);
  // The control's size in pixels, to decode a picture for it.
  int PictureWidth(int control) const;
  int PictureHeight(int control) const;
  // Shows a picture decoded for the control (null or empty: none), and holds
  // it as long as it shows it.
  void ShowPicture(int control, std::shared_ptr<const Picture> picture);

  // A one-shot timer of the window: OnTimer(timer) comes `ms` after the
  // last StartTimer of that timer, unless it is stopped first.
  void StartTimer(int timer, unsigned ms);
  void StopTimer(int timer);

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
  // What the border and title bar add to the client area.
  Extent FrameSize() const;
  // The outer size the window can grow to, from where it opened, without
  // leaving the work area it was fitted to: from its first top left corner
  // to the area's right and bottom edges.
  Extent RoomOnScreen() const;
  // The length of one pixel.
  float PixelSize() const;
  // The least size at which a control still shows what it holds: a button
  // or a label its caption on one line (a button also its edges), a list
  // one entry, as wide as its widest among the first kMeasuredEntries with
  // room for its scroll bar, a text box one line; 0 where nothing needs room.
  Extent ContentSize(int control) const;

  // What each implementation keeps of a window.
  struct Impl;

 private:
  // The implementation's own helpers (the simulation's user actions) reach
  // a window's state through this.
  friend struct FormAccess;
  Impl& impl() { return *impl_; }

  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
