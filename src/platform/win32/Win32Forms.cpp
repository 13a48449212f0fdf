// Windows as real dialog windows (#32770) built from an in-memory template,
// with standard controls placed in pixels from the layout's twips.
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Forms.h"
#include "platform/WindowFit.h"
#include "platform/win32/Win32Internal.h"

namespace platform {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kFirstControlId = 1000;
// Pictures are decoded again this long after the window's size last changed
// outside a drag.
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 250;

// A text box lays out a text on the window's thread, in time that grows
// with the text's length and more than that with the length of its lines:
// under Wine a megabyte takes seconds. So a long text goes in a piece at a
// time, a short piece set at once and the rest added in larger ones while
// the window is idle, and the window answers the user between the pieces.
constexpr std::size_t kFirstTextPieceChars = 4096;
constexpr std::size_t kTextPieceChars = 16384;
constexpr UINT_PTR kTextFillTimer = 2;
constexpr double kTextFillSliceMs = 30;  // pieces added at a time, at most

// Everything the program has open as a window, for the message loop.
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

// A dialog template with no items, the default dialog font, and the caption.
std::vector<WORD> DialogTemplate(DWORD style, const wchar_t* caption) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* head = reinterpret_cast<DLGTEMPLATE*>(t.data());
  head->style = style;
  head->dwExtendedStyle = 0;
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  for (const wchar_t* c = caption; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  t.push_back(8);  // point size
  for (const wchar_t* c = L"MS Shell Dlg 2"; *c; ++c) t.push_back(static_cast<WORD>(*c));
  t.push_back(0);
  if (t.size() % 2) t.push_back(0);  // DWORD alignment for items (there are none)
  return t;
}

}  // namespace

struct Form::Impl {
  Impl(Form* f, const FormLayout& l, FormEvents& e) : self(f), layout(l), events(e) {}
  Form* self;  // the Form this belongs to
  const FormLayout& layout;
  FormEvents& events;
  HWND hwnd = nullptr;
  std::vector<HWND> controls;
  std::vector<HBITMAP> pictures;           // what each image control shows, owned here
  std::vector<std::wstring> pictureFiles;  // the file each image control shows
  std::vector<SIZE> pictureSizes;          // the size it was decoded at
  // Each text box's text, and how much of it the box holds so far.
  struct BoxText {
    std::wstring text;
    std::size_t shown = 0;
    bool Complete() const { return shown == text.size(); }
  };
  std::vector<BoxText> boxTexts;
  bool activatedOnce = false;
  bool inSizeMove = false;  // the user is dragging the window's border
  float scale = 1;          // the laid-out window times this fits the screen

  ~Impl() {
    for (HBITMAP picture : pictures)
      if (picture) ::DeleteObject(picture);
    auto& forms = OpenForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (hwnd) ::DestroyWindow(hwnd);
  }

  // A length of the layout in pixels, made smaller with the window.
  int Px(int twips) const {
    return static_cast<int>(
        std::lround(static_cast<double>(twips) * scale * DpiOf(hwnd) / kTwipsPerInch));
  }

  // The client area as laid out, made smaller with the window.
  SIZE ClientPixels() const {
    const int dpi = static_cast<int>(DpiOf(hwnd));
    return {
        static_cast<LONG>(std::floor(::MulDiv(layout.clientWidth, dpi, kTwipsPerInch) * scale)),
        static_cast<LONG>(std::floor(::MulDiv(layout.clientHeight, dpi, kTwipsPerInch) * scale))};
  }

  int IdOf(int index) const {
    if (index == layout.defaultButton) return IDOK;
    if (index == layout.cancelButton) return IDCANCEL;
    return kFirstControlId + index;
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
    const ControlLayout& c = layout.controls[i];
    return c.tabIndex != kNoTabStop && c.kind != ControlKind::Label &&
           c.kind != ControlKind::Image &&
           ::IsWindowVisible(controls[static_cast<std::size_t>(i)]) &&
           ::IsWindowEnabled(controls[static_cast<std::size_t>(i)]);
  }

  void FitToWorkArea();
  void CreateControls();
  void Annotate(HWND control, const ControlLayout& c);
  void RefreshPictures();
  void SetBoxText(int control, const std::wstring& text);
  void FillTextBoxes();
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
};

// A window opens on the screen of the program's active window (the owner of
// a help window), or else on the main screen. Room is left for a title bar
// even where there is none yet: a window may get its title later.
void Form::Impl::FitToWorkArea() {
  const UINT dpi = DpiOf(hwnd);
  const RECT frame =
      OuterRectFor(0, 0, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)) | WS_CAPTION,
                   static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), dpi);
  const Extent client = {
      static_cast<float>(::MulDiv(layout.clientWidth, static_cast<int>(dpi), kTwipsPerInch)),
      static_cast<float>(::MulDiv(layout.clientHeight, static_cast<int>(dpi), kTwipsPerInch))};
  const HWND active = ::GetActiveWindow();
  scale = FitScale(
      client,
      {static_cast<float>(frame.right - frame.left), static_cast<float>(frame.bottom - frame.top)},
      AreaOf(WorkAreaOf(active != hwnd ? active : nullptr)));
}

void Form::Impl::Annotate(HWND control, const ControlLayout& c) {
  if (!c.accName && !c.accDescription) return;
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
  std::vector<int> order(static_cast<std::size_t>(layout.controlCount));
  for (int i = 0; i < layout.controlCount; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    const int ta = layout.controls[a].tabIndex, tb = layout.controls[b].tabIndex;
    if ((ta == kNoTabStop) != (tb == kNoTabStop)) return tb == kNoTabStop;
    return ta < tb;
  });

  controls.assign(static_cast<std::size_t>(layout.controlCount), nullptr);
  pictures.assign(static_cast<std::size_t>(layout.controlCount), nullptr);
  pictureFiles.assign(static_cast<std::size_t>(layout.controlCount), std::wstring());
  pictureSizes.assign(static_cast<std::size_t>(layout.controlCount), SIZE{0, 0});
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
    HWND control = ::CreateWindowExW(
        exStyle, className, text, style, Px(c.left), Px(c.top), Px(c.width), Px(c.height), hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(i))), instance, nullptr);
    controls[static_cast<std::size_t>(i)] = control;
    if (!control) continue;
    if (font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == ControlKind::TextBox) {
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
      if (wParam != kSettleTimer) return FALSE;
      ::KillTimer(hwnd, kSettleTimer);
      if (!inSizeMove) RefreshPictures();
      return TRUE;
    case WM_GETMINMAXINFO: {
      const Extent least = events.MinimumSize();
      if (least.width <= 0 && least.height <= 0) return FALSE;
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const double perTwip = static_cast<double>(DpiOf(hwnd)) / kTwipsPerInch;
      info->ptMinTrackSize.x =
          std::max(info->ptMinTrackSize.x, static_cast<LONG>(std::ceil(least.width * perTwip)));
      info->ptMinTrackSize.y =
          std::max(info->ptMinTrackSize.y, static_cast<LONG>(std::ceil(least.height * perTwip)));
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
void CentreOn(HWND hwnd, HWND around, SIZE size) {
  const RECT work = WorkAreaOf(around);
  RECT centre = work;
  if (around) ::GetWindowRect(around, &centre);
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
  int first = -1;
  for (int k = 0; k < m.layout.controlCount; ++k)
    if (m.CanFocus(k) &&
        (first < 0 || m.layout.controls[k].tabIndex < m.layout.controls[first].tabIndex))
      first = k;
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
      DialogTemplate(WindowStyle(m.layout, *m.layout.caption != L'\0'), m.layout.caption);
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
  CentreOn(m.hwnd, nullptr, OuterSize(m));
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
  CentreOn(m.hwnd, owner.impl().hwnd, OuterSize(m));
  ShowAndFocus(m);
}

void Form::Hide() {
  if (impl_->hwnd) ::ShowWindow(impl_->hwnd, SW_HIDE);
}

void Form::Unload() {
  Impl& m = *impl_;
  if (!m.hwnd) return;
  auto& forms = OpenForms();
  forms.erase(std::remove(forms.begin(), forms.end(), &m), forms.end());
  ::DestroyWindow(m.hwnd);
  m.hwnd = nullptr;
  for (HBITMAP& picture : m.pictures)
    if (picture) ::DeleteObject(std::exchange(picture, nullptr));
  m.controls.clear();
  m.pictureFiles.clear();
  m.pictureSizes.clear();
  m.boxTexts.clear();
  m.activatedOnce = false;
  m.inSizeMove = false;
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
  // Without a control box an empty title means no title bar at all.
  const DWORD style =
      WindowStyle(m.layout, !title.empty()) | (::GetWindowLongW(m.hwnd, GWL_STYLE) & WS_VISIBLE);
  if (style == static_cast<DWORD>(::GetWindowLongW(m.hwnd, GWL_STYLE))) return;
  ::SetWindowLongW(m.hwnd, GWL_STYLE, static_cast<LONG>(style));
  const SIZE size = OuterSize(m);
  ::SetWindowPos(m.hwnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

namespace {

float ToTwips(const Form::Impl& m, int pixels) {
  return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(DpiOf(m.hwnd));
}

int ToPixels(const Form::Impl& m, float twips) {
  return static_cast<int>(std::lround(twips * static_cast<float>(DpiOf(m.hwnd)) / kTwipsPerInch));
}

}  // namespace

float Form::Width() const {
  RECT r = {};
  ::GetWindowRect(impl_->hwnd, &r);
  return ToTwips(*impl_, r.right - r.left);
}

float Form::Height() const {
  RECT r = {};
  ::GetWindowRect(impl_->hwnd, &r);
  return ToTwips(*impl_, r.bottom - r.top);
}

void Form::SetSize(float width, float height) {
  ::SetWindowPos(impl_->hwnd, nullptr, 0, 0, ToPixels(*impl_, width), ToPixels(*impl_, height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Extent Form::FrameSize() const {
  RECT outer = {}, client = {};
  ::GetWindowRect(impl_->hwnd, &outer);
  ::GetClientRect(impl_->hwnd, &client);
  return {ToTwips(*impl_, (outer.right - outer.left) - client.right),
          ToTwips(*impl_, (outer.bottom - outer.top) - client.bottom)};
}

float Form::PixelSize() const { return ToTwips(*impl_, 1); }

Form::Rect Form::ControlRect(int control) const {
  HWND hwnd = control >= 0 && control < static_cast<int>(impl_->controls.size())
                  ? impl_->controls[static_cast<std::size_t>(control)]
                  : nullptr;
  RECT r = {};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(nullptr, impl_->hwnd, reinterpret_cast<POINT*>(&r), 2);
  return {ToTwips(*impl_, r.left), ToTwips(*impl_, r.top), ToTwips(*impl_, r.right - r.left),
          ToTwips(*impl_, r.bottom - r.top)};
}

void Form::SetControlRect(int control, const Rect& rect) {
  if (control < 0 || control >= static_cast<int>(impl_->controls.size())) return;
  ::MoveWindow(impl_->controls[static_cast<std::size_t>(control)], ToPixels(*impl_, rect.left),
               ToPixels(*impl_, rect.top), ToPixels(*impl_, rect.width),
               ToPixels(*impl_, rect.height), TRUE);
}

namespace {
std::wstring TextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}
}  // namespace

std::wstring Form::Title() const { return TextOf(impl_->hwnd); }
int Form::ControlCount() const { return impl_->layout.controlCount; }

namespace {
HWND ControlOf(const Form::Impl& m, int control) {
  return control >= 0 && control < static_cast<int>(m.controls.size())
             ? m.controls[static_cast<std::size_t>(control)]
             : nullptr;
}
}  // namespace

namespace {
// The caret before the first character, nothing selected, the first line in view.
void CaretToStart(HWND textBox) {
  ::SendMessageW(textBox, EM_SETSEL, 0, 0);
  ::SendMessageW(textBox, EM_SCROLLCARET, 0, 0);
}

// Where the first piece of `text` ends: after the last line end within
// `size`, else there, but never between a CR and its LF or the halves of a
// surrogate pair; the whole text when it is short.
std::size_t FirstPieceEnd(std::wstring_view text, std::size_t size) {
  if (text.size() <= size) return text.size();
  const std::size_t lineEnd = text.rfind(L'\n', size - 1);
  if (lineEnd != std::wstring::npos && lineEnd > 0) return lineEnd + 1;
  std::size_t end = size;
  const wchar_t before = text[end - 1], after = text[end];
  if ((before == L'\r' && after == L'\n') || (before >= 0xD800 && before <= 0xDBFF)) --end;
  return end;
}

// Adds `piece` at the end of the text box, leaving its selection and the
// part of the text it shows as they were; a selection of the whole text (as
// the dialog makes when the box gets the focus) takes in the piece too.
void AppendToTextBox(HWND box, const std::wstring& piece) {
  DWORD selStart = 0, selEnd = 0;
  ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
  const LRESULT firstLine = ::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  // Turning drawing off and on again shows a hidden window.
  const bool visible = (::GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible) ::SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  const int end = ::GetWindowTextLengthW(box);
  const bool all = selStart == 0 && end > 0 && selEnd == static_cast<DWORD>(end);
  ::SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
  ::SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
  if (all) selEnd = static_cast<DWORD>(::GetWindowTextLengthW(box));
  ::SendMessageW(box, EM_SETSEL, selStart, static_cast<LPARAM>(selEnd));
  const LRESULT nowFirst = ::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  ::SendMessageW(box, EM_LINESCROLL, 0, firstLine - nowFirst);
  if (visible) ::SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(box, nullptr, TRUE);
}

}  // namespace

void Form::Impl::SetBoxText(int control, const std::wstring& text) {
  const std::size_t end = FirstPieceEnd(text, kFirstTextPieceChars);
  boxTexts.resize(controls.size());
  boxTexts[static_cast<std::size_t>(control)] = {text, end};
  ::SetWindowTextW(controls[static_cast<std::size_t>(control)], text.substr(0, end).c_str());
  if (end < text.size()) ::SetTimer(hwnd, kTextFillTimer, USER_TIMER_MINIMUM, nullptr);
}

void Form::Impl::FillTextBoxes() {
  // Timer messages come only when no other message waits: the user's keys
  // and clicks always go first. Pieces are added for a slice of time, then
  // the window turns to its messages again.
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  for (;;) {
    const auto box = std::find_if(boxTexts.begin(), boxTexts.end(),
                                  [](const BoxText& b) { return !b.Complete(); });
    if (box == boxTexts.end()) {
      ::KillTimer(hwnd, kTextFillTimer);
      return;
    }
    const std::wstring_view rest = std::wstring_view(box->text).substr(box->shown);
    const std::size_t end = FirstPieceEnd(rest, kTextPieceChars);
    AppendToTextBox(controls[static_cast<std::size_t>(box - boxTexts.begin())],
                    std::wstring(rest.substr(0, end)));
    box->shown += end;
    ::QueryPerformanceCounter(&now);
    if (static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
            static_cast<double>(frequency.QuadPart) >=
        kTextFillSliceMs)
      return;
  }
}

void Form::SetText(int control, const std::wstring& whole) {
  // A window's text ends at its first NUL.
  const std::wstring text = whole.substr(0, whole.find(L'\0'));
  Impl& m = *impl_;
  const bool textBox = m.layout.controls[control].kind == ControlKind::TextBox;
  HWND hwnd = ControlOf(m, control);
  if (!textBox) {
    ::SetWindowTextW(hwnd, text.c_str());
    return;
  }
  if (hwnd) {
    m.SetBoxText(control, text);
    CaretToStart(hwnd);
  }
  m.events.OnTextChange(control);
}

std::wstring Form::Text(int control) const {
  std::wstring text = TextOf(ControlOf(*impl_, control));
  if (static_cast<std::size_t>(control) < impl_->boxTexts.size()) {
    const Impl::BoxText& box = impl_->boxTexts[static_cast<std::size_t>(control)];
    text += box.text.substr(box.shown);  // what is still to come
  }
  return text;
}

namespace {

// A control's device context with the control's font chosen into it.
class ControlDc {
 public:
  explicit ControlDc(HWND control) : control_(control), dc_(::GetDC(control)) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (dc_ && font) old_ = ::SelectObject(dc_, font);
  }
  ~ControlDc() {
    if (old_) ::SelectObject(dc_, old_);
    if (dc_) ::ReleaseDC(control_, dc_);
  }
  ControlDc(const ControlDc&) = delete;
  ControlDc& operator=(const ControlDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND control_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

Extent Form::ContentSize(int control) const {
  const Impl& m = *impl_;
  const HWND hwnd = ControlOf(m, control);
  if (!hwnd) return {0, 0};
  const ControlKind kind = m.layout.controls[control].kind;
  const int dpi = static_cast<int>(DpiOf(m.hwnd));
  // Edges and margins, in pixels at 96 dots per inch: a button's edge and
  // focus rectangle, the sunken edge of a list or a text box.
  const int buttonEdge = ::MulDiv(3, dpi, 96), boxEdge = ::MulDiv(3, dpi, 96);
  ControlDc dc(hwnd);
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc.Get(), &metrics);
  SIZE text = {0, 0};
  if (kind == ControlKind::Button || kind == ControlKind::Label) {
    const std::wstring caption = TextOf(hwnd);
    if (!caption.empty())
      ::GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &text);
  }
  int width = 0, height = 0;
  switch (kind) {
    case ControlKind::Button:
      width = text.cx + 2 * buttonEdge;
      height = metrics.tmHeight + 2 * buttonEdge;
      break;
    case ControlKind::Label:
      width = text.cx;
      height = text.cx > 0 ? metrics.tmHeight : 0;
      break;
    case ControlKind::ListBox: {
      const LRESULT item = ::SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0);
      height = (item == LB_ERR ? metrics.tmHeight : static_cast<int>(item)) + 2 * boxEdge;
      break;
    }
    case ControlKind::TextBox:
      height = metrics.tmHeight + 2 * boxEdge;
      break;
    default:
      break;
  }
  return {ToTwips(m, width), ToTwips(m, height)};
}

void Form::SetVisible(int control, bool visible) {
  ::ShowWindow(ControlOf(*impl_, control), visible ? SW_SHOWNA : SW_HIDE);
}

bool Form::Visible(int control) const {
  return (::GetWindowLongPtrW(ControlOf(*impl_, control), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Form::SetEnabled(int control, bool enabled) {
  ::EnableWindow(ControlOf(*impl_, control), enabled);
}
bool Form::Enabled(int control) const {
  return ::IsWindowEnabled(ControlOf(*impl_, control)) != FALSE;
}

void Form::SetFocus(int control) {
  if (impl_->CanFocus(control))
    ::SendMessageW(impl_->hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ControlOf(*impl_, control)),
                   TRUE);
}

void Form::BeginFill(int control) {
  ::SendMessageW(ControlOf(*impl_, control), WM_SETREDRAW, FALSE, 0);
}

void Form::EndFill(int control) {
  HWND list = ControlOf(*impl_, control);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

void Form::AddItem(int control, const std::wstring& text) {
  ::SendMessageW(ControlOf(*impl_, control), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
}

int Form::ItemCount(int control) const {
  const LRESULT count = ::SendMessageW(ControlOf(*impl_, control), LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring Form::ItemText(int control, int item) const {
  HWND list = ControlOf(*impl_, control);
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length == LB_ERR || length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item),
                                     reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

int Form::SelectedIndex(int control) const {
  const LRESULT selected = ::SendMessageW(ControlOf(*impl_, control), LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

namespace {

void ShowBitmap(Form::Impl& m, int control, HBITMAP bitmap) {
  HWND image = ControlOf(m, control);
  if (!image) {
    if (bitmap) ::DeleteObject(bitmap);
    return;
  }
  ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  HBITMAP& shown = m.pictures[static_cast<std::size_t>(control)];
  if (shown) ::DeleteObject(shown);
  shown = bitmap;
  ::InvalidateRect(image, nullptr, TRUE);
}

// Decodes the picture file at the control's present size and shows it.
bool DecodeInto(Form::Impl& m, int control, const std::wstring& file) {
  RECT size = {};
  ::GetClientRect(ControlOf(m, control), &size);
  HBITMAP bitmap = win32::DecodePicture(file, size.right, size.bottom);
  ShowBitmap(m, control, bitmap);
  if (control >= 0 && control < static_cast<int>(m.pictureFiles.size())) {
    m.pictureFiles[static_cast<std::size_t>(control)] = bitmap ? file : std::wstring();
    m.pictureSizes[static_cast<std::size_t>(control)] = {size.right, size.bottom};
  }
  return bitmap != nullptr;
}

}  // namespace

void Form::Impl::RefreshPictures() {
  if (::IsIconic(hwnd)) return;
  for (std::size_t i = 0; i < pictureFiles.size(); ++i) {
    if (pictureFiles[i].empty()) continue;
    RECT size = {};
    ::GetClientRect(controls[i], &size);
    if (size.right <= 0 || size.bottom <= 0) continue;
    if (size.right == pictureSizes[i].cx && size.bottom == pictureSizes[i].cy) continue;
    const std::wstring file = pictureFiles[i];
    DecodeInto(*this, static_cast<int>(i), file);
  }
}

void Form::ClearPicture(int control) {
  ShowBitmap(*impl_, control, nullptr);
  if (control >= 0 && control < static_cast<int>(impl_->pictureFiles.size()))
    impl_->pictureFiles[static_cast<std::size_t>(control)].clear();
}

bool Form::LoadPicture(int control, const std::wstring& file) {
  return DecodeInto(*impl_, control, file);
}

namespace win32 {

bool PreTranslateFormMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  for (Form::Impl* form : OpenForms()) {
    if (form->hwnd != root) continue;
    if (form->layout.keyPreview && (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)) {
      const int shift = (::GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) |
                        (::GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) |
                        (::GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
      form->events.OnKeyUp(static_cast<int>(msg.wParam), shift);
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
  return false;
}

}  // namespace win32
}  // namespace platform
