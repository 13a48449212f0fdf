// Windows as real dialog windows, from creation to destruction: shown,
// owned, hidden, activated, titled, and their messages, one small handler
// each. How a window is built is in Win32Dialog.cpp, where it falls on the
// screen in Win32Geometry.cpp, and what the program asks of its controls in
// Win32Controls.cpp.
#include <algorithm>

#include "platform/win32/Win32FormImpl.h"

namespace platform {

using win32::DpiOf;
using win32::kTextFillTimer;
using win32::OpenForms;

namespace {

// Pictures are decoded again this long after the window's size last changed
// outside a drag.
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 250;

}  // namespace

void Form::Impl::OnCommand(int id, int code, HWND control) {
  const int index = control ? IndexOf(control) : IndexOfId(id);
  if (index < 0) {
    // Enter and Esc arrive as IDOK and IDCANCEL without a control.
    const int byId = IndexOfId(id);
    if (byId >= 0 && ::IsWindowEnabled(controls[static_cast<std::size_t>(byId)]))
      events.OnClick(byId);
    return;
  }
  switch (layout.controls[index].kind) {
    case ControlKind::Button:
      if (code == BN_CLICKED && ::IsWindowEnabled(controls[static_cast<std::size_t>(index)]))
        events.OnClick(index);
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) events.OnSelectionChange(index);
      if (code == LBN_SETFOCUS) events.OnFocus(index);
      break;
    case ControlKind::TextBox:
      // Changes of the text are raised by SetText itself: a multi-line box
      // does not report text set by the program, and the user cannot type.
      if (code == EN_SETFOCUS) events.OnFocus(index);
      break;
    default:
      break;
  }
}

// Activation is an event between the program's own windows: a window raises
// it when it is first activated, and when it takes over from another window
// of the program (the main window's when the read-me closes), but not when
// the user comes back from another program, which must leave the window as
// the user left it. Deactivation likewise only when another window of the
// program takes over.
void Form::Impl::OnActivate(bool active, HWND other) {
  const bool fromOurs = std::any_of(OpenForms().begin(), OpenForms().end(),
                                    [other](const Impl* f) { return f->hwnd == other && other; });
  if (!active) {
    if (fromOurs) events.OnDeactivate();
  } else if (!activatedOnce || fromOurs) {
    activatedOnce = true;
    events.OnActivate();
  }
}

// A drag ends in WM_EXITSIZEMOVE; any other change of size is taken as
// settled once no other has followed for a moment.
void Form::Impl::OnSize(WPARAM how) {
  events.OnResize();
  if (!inSizeMove && how != SIZE_MINIMIZED) ::SetTimer(hwnd, kSettleTimer, kSettleMs, nullptr);
}

void Form::Impl::OnEnterSizeMove() {
  inSizeMove = true;
  ::KillTimer(hwnd, kSettleTimer);
}

void Form::Impl::OnExitSizeMove() {
  inSizeMove = false;
  RefreshPictures();
}

bool Form::Impl::OnTimer(UINT_PTR timer) {
  if (timer == kTextFillTimer) {
    FillTextBoxes();
    return true;
  }
  if (timer >= win32::kProgramTimers) {
    ::KillTimer(hwnd, timer);  // each runs out once
    events.OnTimer(static_cast<int>(timer - win32::kProgramTimers));
    return true;
  }
  if (timer != kSettleTimer) return false;
  ::KillTimer(hwnd, kSettleTimer);
  if (!inSizeMove) RefreshPictures();
  return true;
}

bool Form::Impl::OnGetMinMaxInfo(MINMAXINFO& info) {
  const Extent least = events.MinimumSize();
  if (least.width <= 0 && least.height <= 0) return false;
  const int dpi = static_cast<int>(DpiOf(hwnd));
  info.ptMinTrackSize.x =
      std::max(info.ptMinTrackSize.x, static_cast<LONG>(PixelsToHold(least.width, dpi)));
  info.ptMinTrackSize.y =
      std::max(info.ptMinTrackSize.y, static_cast<LONG>(PixelsToHold(least.height, dpi)));
  return true;
}

// Labels and pictures on the window's own background.
INT_PTR Form::Impl::OnCtlColorStatic(HDC dc) {
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
}

void Form::Impl::OnDpiChanged(const RECT& suggested) {
  ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR Form::Impl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      // The dialog manager gives the focus back to the control that had it,
      // unless the window's own handler has just put it elsewhere: a screen
      // reader would speak the one on the way to the other.
      focusSet = false;
      OnActivate(LOWORD(wParam) != WA_INACTIVE, reinterpret_cast<HWND>(lParam));
      return focusSet ? TRUE : FALSE;
    case WM_SIZE:
      OnSize(wParam);
      return TRUE;
    case WM_ENTERSIZEMOVE:
      OnEnterSizeMove();
      return FALSE;
    case WM_EXITSIZEMOVE:
      OnExitSizeMove();
      return FALSE;
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_CLOSE:
      events.OnCloseRequest();
      return TRUE;
    case WM_QUERYENDSESSION:
      ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) events.OnCloseRequest();
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_DPICHANGED:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

namespace win32 {

INT_PTR CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* impl = reinterpret_cast<Form::Impl*>(lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    impl->hwnd = hwnd;
    impl->FitToWorkArea();
    impl->CreateControls();
    return FALSE;
  }
  auto* impl = reinterpret_cast<Form::Impl*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  return impl ? impl->Handle(message, wParam, lParam) : FALSE;
}

}  // namespace win32

Form::Form(const FormLayout& layout, FormEvents& events) : impl_(new Impl(this, layout, events)) {}
Form::~Form() = default;

namespace {

void ShowAndFocus(Form::Impl& m) {
  ::ShowWindow(m.hwnd, SW_SHOWNORMAL);
  ::SetForegroundWindow(m.hwnd);
  // The first control in tab order that can take the focus gets it.
  const int first = FirstInTabOrder(m.layout, [&m](int k) { return m.CanFocus(k); });
  if (first >= 0)
    ::SendMessageW(m.hwnd, WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(m.controls[static_cast<std::size_t>(first)]), TRUE);
  ::UpdateWindow(m.hwnd);
}

}  // namespace

bool Form::IsCreated() const { return impl_->hwnd != nullptr; }

bool Form::IsVisible() const { return impl_->hwnd && ::IsWindowVisible(impl_->hwnd); }

void Form::Show() {
  Impl& m = *impl_;
  if (m.hwnd) ShowAndFocus(m);
}

void Form::ShowOwned(Form& owner) {
  Impl& m = *impl_;
  if (!m.hwnd) return;
  // An owned window stays above its owner and out of the taskbar.
  const HWND around = owner.impl().hwnd;
  ::SetWindowLongPtrW(m.hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(around));
  RECT centre = {};
  ::GetWindowRect(around, &centre);
  m.CentreOn(centre, win32::WorkAreaOf(around));
  ShowAndFocus(m);
}

void Form::Hide() {
  if (impl_->hwnd) ::ShowWindow(impl_->hwnd, SW_HIDE);
}

void Form::Unload() {
  if (impl_->hwnd) impl_->Destroy();
}

void Form::StartTimer(int timer, unsigned ms) {
  ::SetTimer(impl_->hwnd, win32::kProgramTimers + static_cast<UINT_PTR>(timer), ms, nullptr);
}

void Form::StopTimer(int timer) {
  ::KillTimer(impl_->hwnd, win32::kProgramTimers + static_cast<UINT_PTR>(timer));
}

void Form::SetWindowEnabled(bool enabled) { ::EnableWindow(impl_->hwnd, enabled); }
bool Form::WindowEnabled() const { return ::IsWindowEnabled(impl_->hwnd) != FALSE; }

void Form::Activate() {
  Impl& m = *impl_;
  if (!m.hwnd || !::IsWindowVisible(m.hwnd) || !::IsWindowEnabled(m.hwnd)) return;
  ::SetForegroundWindow(m.hwnd);
  ::SetActiveWindow(m.hwnd);
  // The dialog hands the focus on to the control that had it, where it is not
  // in the window already: a control given it as the window was activated
  // keeps it.
  if (!::IsChild(m.hwnd, ::GetFocus())) ::SetFocus(m.hwnd);
}

Form* Form::ActiveForm() {
  const HWND active = ::GetActiveWindow();
  for (Impl* form : OpenForms())
    if (form->hwnd == active && active) return form->self;
  return nullptr;
}

void Form::SetTitle(const std::wstring& title) {
  Impl& m = *impl_;
  ::SetWindowTextW(m.hwnd, title.c_str());
  if (m.layout.controlBox) return;
  // Without a control box an empty title means no title bar at all. The
  // title bar is all that follows the title: whether the window is shown,
  // disabled or maximised stays as it was.
  const auto old = static_cast<DWORD>(::GetWindowLongW(m.hwnd, GWL_STYLE));
  const DWORD style =
      (old & ~WS_CAPTION) | (win32::WindowStyle(m.layout, !title.empty()) & WS_CAPTION);
  if (style == old) return;
  ::SetWindowLongW(m.hwnd, GWL_STYLE, static_cast<LONG>(style));
  const SIZE size = m.OuterSize();
  ::SetWindowPos(m.hwnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

namespace win32 {

std::vector<Form::Impl*>& OpenForms() {
  static std::vector<Form::Impl*> forms;
  return forms;
}

std::wstring TextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

void CaretToStart(HWND textBox) {
  ::SendMessageW(textBox, EM_SETSEL, 0, 0);
  ::SendMessageW(textBox, EM_SCROLLCARET, 0, 0);
}

namespace {

Form::Impl* FormOf(HWND root) {
  for (Form::Impl* form : OpenForms())
    if (form->hwnd == root && root) return form;
  return nullptr;
}

int ShiftState() {
  return (::GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) |
         (::GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) |
         (::GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

}  // namespace

bool PreTranslateFormMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  Form::Impl* form = FormOf(root);
  if (!form) return false;
  if (form->layout.keyPreview && (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)) {
    form->events.OnKeyUp(static_cast<int>(msg.wParam), ShiftState());
    // What the key did (the read-me opened and closed again, a window
    // closed) may have changed the program's windows: this one is looked
    // up afresh, and a key whose window is gone is done with.
    form = FormOf(root);
    if (!form) return true;
  }
  const HWND before = ::GetFocus();
  const bool handled = ::IsDialogMessageW(root, &msg) != FALSE;
  // Tabbing into a text box puts its caret at the start of the text.
  const HWND after = ::GetFocus();
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && after != before) {
    const int index = form->IndexOf(after);
    if (index >= 0 && form->layout.controls[index].kind == ControlKind::TextBox)
      CaretToStart(after);
  }
  return handled;
}

}  // namespace win32
}  // namespace platform
