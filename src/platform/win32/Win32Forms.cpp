// Windows as real dialog windows (#32770) built from an in-memory template,
// with standard controls placed in pixels from the layout's twips: their
// life from creation to destruction, activation, size and messages. What
// the program asks of the controls is in Win32Controls.cpp.
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/shared/WindowFit.h"
#include "platform/win32/DialogTemplate.h"
#include "platform/win32/Win32FormImpl.h"

namespace platform {

using win32::DpiOf;
using win32::kFirstControlId;
using win32::kTextFillTimer;
using win32::OpenForms;

namespace {

// Pictures are decoded again this long after the window's size last changed
// outside a drag.
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 250;

RECT OuterRectFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
  RECT r = {0, 0, clientWidth, clientHeight};
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!(adjustForDpi && adjustForDpi(&r, style, FALSE, exStyle, dpi)))
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return r;
}

// The work area of the screen that shows `window`, or of the main screen.
RECT WorkAreaOf(HWND window) {
  const HMONITOR monitor = window ? ::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                  : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info))
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return info.rcWork;
}

Area AreaOf(const RECT& r) {
  return {static_cast<float>(r.left), static_cast<float>(r.top),
          static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top)};
}

}  // namespace

// A window opens on the screen of the program's active window (the owner of
// a help window), or else on the main screen. Room is left for a title bar
// even where there is none yet: a window may get its title later.
void Form::Impl::FitToWorkArea() {
  const UINT dpi = DpiOf(hwnd);
  const RECT frame =
      OuterRectFor(0, 0, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)) | WS_CAPTION,
                   static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), dpi);
  const Extent client = {
      static_cast<float>(ScaledPixels(layout.clientWidth, static_cast<int>(dpi), 1)),
      static_cast<float>(ScaledPixels(layout.clientHeight, static_cast<int>(dpi), 1))};
  const HWND active = ::GetActiveWindow();
  workArea = WorkAreaOf(active != hwnd ? active : nullptr);
  scale = FitScale(
      client,
      {static_cast<float>(frame.right - frame.left), static_cast<float>(frame.bottom - frame.top)},
      AreaOf(workArea));
}

void Form::Impl::Annotate(HWND control, const ControlLayout& c) {
  if (!c.accName && !c.accDescription) return;
  if (!win32::EnsureCom()) return;  // as below
  win32::ComPtr<IAccPropServices> services;
  if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(services.Put()))))
    return;  // no accessibility runtime: the label and window texts still speak
  if (c.accName)
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, c.accName);
  if (c.accDescription)
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_DESCRIPTION, c.accDescription);
}

namespace {

// A multi-line box asks for every key, and turns Esc into a request to close
// its window; in a dialog Enter and Esc belong to the window's default and
// cancel buttons instead, as in every other control.
LRESULT CALLBACK TextBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, L"Varnolt.TextBoxProc"));
  if (!original) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = ::CallWindowProcW(original, hwnd, message, wParam, lParam);
  // The dialog would select the whole text whenever the focus comes in;
  // the box keeps its caret instead (tabbing in puts it at the start).
  if (message == WM_GETDLGCODE) result &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
  if (message == WM_GETDLGCODE && lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if ((msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
        (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN))
      result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::RemovePropW(hwnd, L"Varnolt.TextBoxProc");
  }
  return result;
}

void HandEnterAndEscToTheDialog(HWND textBox) {
  const LONG_PTR original = ::GetWindowLongPtrW(textBox, GWLP_WNDPROC);
  ::SetPropW(textBox, L"Varnolt.TextBoxProc", reinterpret_cast<HANDLE>(original));
  ::SetWindowLongPtrW(textBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc));
}

}  // namespace

void Form::Impl::CreateControls() {
  // Windows take the focus in the order they were created, so controls are
  // created in tab order; each label therefore comes right before the
  // control it names. Controls that never take the focus come last.
  const std::vector<int> order = TabOrder(layout);

  controls.assign(static_cast<std::size_t>(layout.controlCount), nullptr);
  pictures.assign(static_cast<std::size_t>(layout.controlCount), nullptr);
  entryWidths.assign(static_cast<std::size_t>(layout.controlCount), -1);
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  for (int i : order) {
    const ControlLayout& c = layout.controls[i];
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | (c.hidden ? 0 : WS_VISIBLE);
    DWORD exStyle = 0;
    const wchar_t* text = L"";
    switch (c.kind) {
      case ControlKind::Button:
        className = L"BUTTON";
        style |= WS_TABSTOP | (i == layout.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      case ControlKind::Label:
        style |= SS_LEFT;
        break;
      case ControlKind::ListBox:
        className = L"LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
      case ControlKind::TextBox:
        className = L"EDIT";
        // Without ES_AUTOVSCROLL a box takes added text only as far as it
        // shows, and a long text is added in pieces (see SetText).
        style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | (c.locked ? ES_READONLY : 0);
        exStyle |= WS_EX_CLIENTEDGE;
        break;
      case ControlKind::Image:
        // The picture fills the control, whatever its own size.
        style |= SS_BITMAP | SS_REALSIZECONTROL;
        if (c.accName) text = c.accName;  // a static's text is its spoken name
        break;
      case ControlKind::FolderList:
        className = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
        break;
    }
    // Made smaller with the window.
    const RECT r =
        ToPixelRect(c.left * static_cast<double>(scale), c.top * static_cast<double>(scale),
                    c.width * static_cast<double>(scale), c.height * static_cast<double>(scale));
    HWND control = ::CreateWindowExW(
        exStyle, className, text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(i))), instance, nullptr);
    controls[static_cast<std::size_t>(i)] = control;
    if (!control) continue;
    if (font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == ControlKind::TextBox) {
      // Subclassed so that Enter and Esc in the description or the read-me
      // press the window's buttons, as they do everywhere else in it.
      HandEnterAndEscToTheDialog(control);
      // The pieces of a long text are added like typed text, which a text
      // box otherwise limits to 30,000 characters.
      ::SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    }
    Annotate(control, c);
  }
  if (layout.defaultButton >= 0) ::SendMessageW(hwnd, DM_SETDEFID, IDOK, 0);
}

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

INT_PTR Form::Impl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_ACTIVATE: {
      // Activation is an event between the program's own windows: a window
      // raises it when it is first activated, and when it takes over from
      // another window of the program (the main window's when the read-me
      // closes), but not when the user comes back from another program,
      // which must leave the window as the user left it. Deactivation
      // likewise only when another window of the program takes over.
      const HWND other = reinterpret_cast<HWND>(lParam);
      const bool fromOurs =
          std::any_of(OpenForms().begin(), OpenForms().end(),
                      [other](const Impl* f) { return f->hwnd == other && other; });
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (fromOurs) events.OnDeactivate();
      } else if (!activatedOnce || fromOurs) {
        activatedOnce = true;
        events.OnActivate();
      }
      return FALSE;  // the dialog manager restores the focus
    }
    case WM_SIZE:
      events.OnResize();
      // A drag ends in WM_EXITSIZEMOVE; any other change of size is taken
      // as settled once no other has followed for a moment.
      if (!inSizeMove && wParam != SIZE_MINIMIZED)
        ::SetTimer(hwnd, kSettleTimer, kSettleMs, nullptr);
      return TRUE;
    case WM_ENTERSIZEMOVE:
      inSizeMove = true;
      ::KillTimer(hwnd, kSettleTimer);
      return FALSE;
    case WM_EXITSIZEMOVE:
      inSizeMove = false;
      RefreshPictures();
      return FALSE;
    case WM_TIMER:
      if (wParam == kTextFillTimer) {
        FillTextBoxes();
        return TRUE;
      }
      if (wParam >= win32::kProgramTimers) {
        ::KillTimer(hwnd, wParam);  // each runs out once
        events.OnTimer(static_cast<int>(wParam - win32::kProgramTimers));
        return TRUE;
      }
      if (wParam != kSettleTimer) return FALSE;
      ::KillTimer(hwnd, kSettleTimer);
      if (!inSizeMove) RefreshPictures();
      return TRUE;
    case WM_GETMINMAXINFO: {
      const Extent least = events.MinimumSize();
      if (least.width <= 0 && least.height <= 0) return FALSE;
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const int dpi = static_cast<int>(DpiOf(hwnd));
      info->ptMinTrackSize.x =
          std::max(info->ptMinTrackSize.x, static_cast<LONG>(PixelsToHold(least.width, dpi)));
      info->ptMinTrackSize.y =
          std::max(info->ptMinTrackSize.y, static_cast<LONG>(PixelsToHold(least.height, dpi)));
      return TRUE;
    }
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
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

namespace {

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

}  // namespace

Form::Form(const FormLayout& layout, FormEvents& events) : impl_(new Impl(this, layout, events)) {}
Form::~Form() = default;

namespace {

// A window without a control box has a title bar only while it has a title.
DWORD WindowStyle(const FormLayout& layout, bool hasTitle) {
  DWORD style = WS_POPUP | DS_SETFONT | DS_MODALFRAME | WS_CLIPCHILDREN;
  if (layout.controlBox) style |= WS_CAPTION | WS_SYSMENU;
  if (!layout.controlBox && hasTitle) style |= WS_CAPTION;
  if (layout.sizable) style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
  return style;
}

// The outer size that gives the window its client area (as laid out, or
// made smaller to fit the screen).
SIZE OuterSize(const Form::Impl& m) {
  const SIZE client = m.ClientPixels();
  const RECT outer =
      OuterRectFor(client.cx, client.cy, static_cast<DWORD>(::GetWindowLongPtrW(m.hwnd, GWL_STYLE)),
                   static_cast<DWORD>(::GetWindowLongPtrW(m.hwnd, GWL_EXSTYLE)), DpiOf(m.hwnd));
  return {outer.right - outer.left, outer.bottom - outer.top};
}

// Centres the window on `around` (a window, or else the work area itself),
// kept inside the work area of the screen `around` is on.
// Centres the window of `size` on `centre`, kept inside `work`.
void CentreOn(HWND hwnd, const RECT& centre, const RECT& work, SIZE size) {
  const Area w = AreaOf(work), c = AreaOf(centre);
  const float width = static_cast<float>(size.cx), height = static_cast<float>(size.cy);
  ::SetWindowPos(
      hwnd, nullptr,
      static_cast<int>(std::floor(CentredEdge(width, c.left, c.width, w.left, w.width))),
      static_cast<int>(std::floor(CentredEdge(height, c.top, c.height, w.top, w.height))), size.cx,
      size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

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

bool Form::Create() {
  Impl& m = *impl_;
  if (m.hwnd) return true;
  const std::vector<WORD> dialog =
      win32::DialogTemplate(WindowStyle(m.layout, *m.layout.caption != L'\0'), m.layout.caption);
  OpenForms().push_back(&m);
  ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                               reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr,
                               FormProc, reinterpret_cast<LPARAM>(&m));
  if (!m.hwnd) {
    OpenForms().pop_back();
    return false;
  }
  if (m.layout.controlBox) {
    HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (icon) ::SendMessageW(m.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  // On the screen it was fitted to.
  CentreOn(m.hwnd, m.workArea, m.workArea, OuterSize(m));
  RECT opened = {};
  ::GetWindowRect(m.hwnd, &opened);
  m.openedAt = {opened.left, opened.top};
  return true;
}

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
  ::SetWindowLongPtrW(m.hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner.impl().hwnd));
  const HWND around = owner.impl().hwnd;
  RECT centre = {};
  ::GetWindowRect(around, &centre);
  CentreOn(m.hwnd, centre, WorkAreaOf(around), OuterSize(m));
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
  ::SetFocus(m.hwnd);  // the dialog hands it on to the control that had it
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
  const DWORD style = (old & ~WS_CAPTION) | (WindowStyle(m.layout, !title.empty()) & WS_CAPTION);
  if (style == old) return;
  ::SetWindowLongW(m.hwnd, GWL_STYLE, static_cast<LONG>(style));
  const SIZE size = OuterSize(m);
  ::SetWindowPos(m.hwnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

float Form::Width() const {
  RECT r = {};
  ::GetWindowRect(impl_->hwnd, &r);
  return impl_->ToTwips(r.right - r.left);
}

float Form::Height() const {
  RECT r = {};
  ::GetWindowRect(impl_->hwnd, &r);
  return impl_->ToTwips(r.bottom - r.top);
}

void Form::SetSize(float width, float height) {
  ::SetWindowPos(impl_->hwnd, nullptr, 0, 0, impl_->ToPixels(width), impl_->ToPixels(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Extent Form::FrameSize() const {
  RECT outer = {}, client = {};
  ::GetWindowRect(impl_->hwnd, &outer);
  ::GetClientRect(impl_->hwnd, &client);
  return {impl_->ToTwips((outer.right - outer.left) - client.right),
          impl_->ToTwips((outer.bottom - outer.top) - client.bottom)};
}

Extent Form::RoomOnScreen() const {
  const Impl& m = *impl_;
  return {m.ToTwips(m.workArea.right - m.openedAt.x), m.ToTwips(m.workArea.bottom - m.openedAt.y)};
}

float Form::PixelSize() const { return impl_->ToTwips(1); }

Form::Rect Form::ControlRect(int control) const {
  const HWND hwnd = impl_->Control(control);
  RECT r = {};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(nullptr, impl_->hwnd, reinterpret_cast<POINT*>(&r), 2);
  return {impl_->ToTwips(r.left), impl_->ToTwips(r.top), impl_->ToTwips(r.right - r.left),
          impl_->ToTwips(r.bottom - r.top)};
}

// A control is painted whole where it lands. Moved with its old pixels, as
// windows otherwise are, it would show what the screen held at its old place
// the moment it moved: while a window is resized that is often what another
// control, itself still to be moved or painted, left there, and the control
// would not paint over it.
void Form::SetControlRect(int control, const Rect& rect) {
  if (!impl_->IsControl(control)) return;
  const RECT r = impl_->ToPixelRect(rect.left, rect.top, rect.width, rect.height);
  ::SetWindowPos(impl_->Control(control), nullptr, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

namespace win32 {

std::vector<Form::Impl*>& OpenForms() {
  static std::vector<Form::Impl*> forms;
  return forms;
}

UINT DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi && hwnd) {
    const UINT dpi = getDpi(hwnd);
    if (dpi) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

std::wstring TextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

// The caret before the first character, nothing selected, the first line in view.
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
