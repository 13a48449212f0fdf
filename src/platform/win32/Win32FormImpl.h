// A real window's state, shared by the parts of the real windows: how one
// is built (Win32Dialog.cpp), where it falls on the screen
// (Win32Geometry.cpp), its life and its messages (Win32Forms.cpp) and what
// the program asks of its controls (Win32Controls.cpp).
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/Forms.h"
#include "platform/shared/FormRules.h"
#include "platform/win32/Win32Internal.h"

namespace platform {
namespace win32 {

constexpr int kFirstControlId = 1000;
// The timer that adds the pieces of a long text to its box (see SetText).
constexpr UINT_PTR kTextFillTimer = 2;
// The program's own timers (Form::StartTimer) are this plus their number.
constexpr UINT_PTR kProgramTimers = 100;

// Everything the program has open as a window, for the message loop.
std::vector<Form::Impl*>& OpenForms();
// The window procedure of every form.
INT_PTR CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// A form's window style; without a control box a window has a title bar
// only while it has a title.
DWORD WindowStyle(const FormLayout& layout, bool hasTitle);
// The dots per inch of the screen that shows `hwnd`.
UINT DpiOf(HWND hwnd);
// The work area of the screen that shows `window`, or of the main screen.
RECT WorkAreaOf(HWND window);
// A window's text.
std::wstring TextOf(HWND hwnd);
// The caret before the first character, nothing selected, the first line in view.
void CaretToStart(HWND textBox);

}  // namespace win32

struct Form::Impl {
  Impl(Form* f, const FormLayout& l, FormEvents& e) : self(f), layout(l), events(e) {}
  Form* self;  // the Form this belongs to
  const FormLayout& layout;
  FormEvents& events;
  HWND hwnd = nullptr;
  std::vector<HWND> controls;
  // What each image control shows, held as long as it shows it.
  std::vector<std::shared_ptr<const Picture>> pictures;
  // Each text box's text, and how much of it the box holds so far.
  struct BoxText {
    std::wstring text;
    std::size_t shown = 0;
    bool Complete() const { return shown == text.size(); }
  };
  std::vector<BoxText> boxTexts;
  std::vector<int> entryWidths;  // each list's widest entry in pixels, -1 until measured
  bool activatedOnce = false;
  bool focusSet = false;    // the form's own code moved the focus
  bool inSizeMove = false;  // the user is dragging the window's border
  float scale = 1;          // the laid-out window times this fits the screen
  RECT workArea = {};       // the work area of the screen it was fitted to
  POINT openedAt = {};      // its top left corner there

  ~Impl() { Destroy(); }

  // The one way a window goes: out of the message loop's list, the window
  // and its controls destroyed, and only then the bitmaps they showed.
  void Destroy() {
    auto& forms = win32::OpenForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    for (std::size_t i = 0; i < pictures.size() && i < controls.size(); ++i)
      if (pictures[i]) SetImage(controls[i], nullptr, win32::BitmapOf(*pictures[i]));
    if (hwnd) ::DestroyWindow(hwnd);
    hwnd = nullptr;
    controls.clear();
    pictures.clear();
    boxTexts.clear();
    entryWidths.clear();
    activatedOnce = false;
    inSizeMove = false;
  }

  // Gives the image control `bitmap` in place of `held`, which it showed. A
  // static control of version 6 shows its own copy of a bitmap that has an
  // alpha channel, and hands that copy back when it is replaced: the copy
  // is then the program's to free.
  static void SetImage(HWND image, HBITMAP bitmap, HBITMAP held) {
    const auto returned = reinterpret_cast<HBITMAP>(
        ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (returned && returned != held) ::DeleteObject(returned);
  }

  bool IsControl(int index) const {
    return index >= 0 && index < static_cast<int>(controls.size());
  }
  // The control's window; null for an index outside the layout.
  HWND Control(int index) const {
    return IsControl(index) ? controls[static_cast<std::size_t>(index)] : nullptr;
  }

  float ToTwips(int pixels) const {
    return PixelsToTwips(pixels, static_cast<int>(win32::DpiOf(hwnd)));
  }
  int ToPixels(float twips) const {
    return TwipsToPixels(twips, static_cast<int>(win32::DpiOf(hwnd)));
  }

  // A rectangle in twips in whole pixels. Each edge falls on its own
  // nearest pixel, so that controls that meet in twips meet on the screen:
  // rounding a top and a height apart could lay one over the other's edge.
  RECT ToPixelRect(double left, double top, double width, double height) const {
    const int dpi = static_cast<int>(win32::DpiOf(hwnd));
    const int x = TwipsToPixels(left, dpi), y = TwipsToPixels(top, dpi);
    return {.left = x,
            .top = y,
            .right = TwipsToPixels(left + width, dpi),
            .bottom = TwipsToPixels(top + height, dpi)};
  }

  // The client area as laid out, made smaller with the window.
  SIZE ClientPixels() const {
    const int dpi = static_cast<int>(win32::DpiOf(hwnd));
    return {.cx = ScaledPixels(layout.clientWidth, dpi, scale),
            .cy = ScaledPixels(layout.clientHeight, dpi, scale)};
  }

  int IdOf(int index) const {
    if (index == layout.defaultButton) return IDOK;
    if (index == layout.cancelButton) return IDCANCEL;
    return win32::kFirstControlId + index;
  }

  int IndexOf(HWND control) const {
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i] == control) return static_cast<int>(i);
    return -1;
  }

  int IndexOfId(int id) const {
    for (int i = 0; i < layout.controlCount; ++i)
      if (IdOf(i) == id) return i;
    return -1;
  }

  bool CanFocus(int i) const {
    if (!IsControl(i)) return false;
    const HWND control = Control(i);
    return CanTakeFocus(layout.controls[i], ::IsWindowVisible(control) != FALSE,
                        ::IsWindowEnabled(control) != FALSE);
  }

  int WidestEntry(int control, HDC dc);
  // Fits the window as laid out to the work area of its screen (scale).
  void FitToWorkArea();
  // The outer size that gives the window its client area (as laid out, or
  // made smaller to fit the screen).
  SIZE OuterSize() const;
  // Centres the window on `centre`, kept inside `work`.
  void CentreOn(const RECT& centre, const RECT& work);
  void CreateControls();
  HWND CreateControl(int index, HFONT font);
  void Annotate(HWND control, const ControlLayout& c);
  void RefreshPictures();
  void SetBoxText(int control, const std::wstring& text);
  void FillTextBoxes();

  // The window's messages, each to its handler.
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  void OnActivate(bool active, HWND other);
  void OnSize(WPARAM how);
  void OnEnterSizeMove();
  void OnExitSizeMove();
  bool OnTimer(UINT_PTR timer);
  bool OnGetMinMaxInfo(MINMAXINFO& info);
  INT_PTR OnCtlColorStatic(HDC dc);
  void OnDpiChanged(const RECT& suggested);
};

}  // namespace platform
