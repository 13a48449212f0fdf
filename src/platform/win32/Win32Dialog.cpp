// Building a real window: a dialog (#32770) made from an in-memory template
// in the style its layout asks for, and its standard controls, each of the
// class and style its kind asks for, placed in pixels from the layout's
// twips and named for a screen reader.
#include <oleacc.h>

#include <vector>

#include "platform/win32/DialogTemplate.h"
#include "platform/win32/Win32FormImpl.h"

namespace platform {
namespace win32 {

DWORD WindowStyle(const FormLayout& layout, bool hasTitle) {
  DWORD style = WS_POPUP | DS_SETFONT | DS_MODALFRAME | WS_CLIPCHILDREN;
  if (layout.controlBox) style |= WS_CAPTION | WS_SYSMENU;
  if (!layout.controlBox && hasTitle) style |= WS_CAPTION;
  if (layout.sizable) style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
  return style;
}

}  // namespace win32

namespace {

// The window class and styles that make a control of a kind.
struct ControlWindow {
  const wchar_t* className;
  DWORD style, exStyle;
  const wchar_t* text;
};

ControlWindow WindowFor(const ControlLayout& c, bool defaultButton) {
  const DWORD shown = WS_CHILD | (c.hidden ? 0 : WS_VISIBLE);
  switch (c.kind) {
    case ControlKind::Button:
      return {.className = L"BUTTON",
              .style = shown | WS_TABSTOP | (defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
              .exStyle = 0,
              .text = L""};
    case ControlKind::ListBox:
      return {.className = L"LISTBOX",
              .style = shown | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                       LBS_HASSTRINGS,
              .exStyle = WS_EX_CLIENTEDGE,
              .text = L""};
    case ControlKind::TextBox:
      // Without ES_AUTOVSCROLL a box takes added text only as far as it
      // shows, and a long text is added in pieces (see SetText).
      return {.className = L"EDIT",
              .style =
                  shown | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | (c.locked ? ES_READONLY : 0),
              .exStyle = WS_EX_CLIENTEDGE,
              .text = L""};
    case ControlKind::Image:
      // The picture fills the control, whatever its own size; a static's
      // text is its spoken name.
      return {.className = L"STATIC",
              .style = shown | SS_BITMAP | SS_REALSIZECONTROL,
              .exStyle = 0,
              .text = c.accName ? c.accName : L""};
    case ControlKind::FolderList:
      return {.className = L"LISTBOX",
              .style = shown | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
              .exStyle = 0,
              .text = L""};
    case ControlKind::Label:
      break;
  }
  return {.className = L"STATIC", .style = shown | SS_LEFT, .exStyle = 0, .text = L""};
}

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

HWND Form::Impl::CreateControl(int i, HFONT font) {
  const ControlLayout& c = layout.controls[i];
  const ControlWindow w = WindowFor(c, i == layout.defaultButton);
  // Made smaller with the window.
  const double s = scale;
  const RECT r = ToPixelRect(c.left * s, c.top * s, c.width * s, c.height * s);
  const HWND control = ::CreateWindowExW(w.exStyle, w.className, w.text, w.style, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, hwnd,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(i))),
                                         ::GetModuleHandleW(nullptr), nullptr);
  if (!control) return nullptr;
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
  return control;
}

void Form::Impl::CreateControls() {
  const auto count = static_cast<std::size_t>(layout.controlCount);
  controls.assign(count, nullptr);
  pictures.assign(count, nullptr);
  entryWidths.assign(count, -1);
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
  // Windows take the focus in the order they were created, so controls are
  // created in tab order; each label therefore comes right before the
  // control it names. Controls that never take the focus come last.
  for (int i : TabOrder(layout)) controls[static_cast<std::size_t>(i)] = CreateControl(i, font);
  if (layout.defaultButton >= 0) ::SendMessageW(hwnd, DM_SETDEFID, IDOK, 0);
}

bool Form::Create() {
  Impl& m = *impl_;
  if (m.hwnd) return true;
  const std::vector<WORD> dialog = win32::DialogTemplate(
      win32::WindowStyle(m.layout, *m.layout.caption != L'\0'), m.layout.caption);
  win32::OpenForms().push_back(&m);
  ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                               reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr,
                               win32::FormProc, reinterpret_cast<LPARAM>(&m));
  if (!m.hwnd) {
    win32::OpenForms().pop_back();
    return false;
  }
  if (m.layout.controlBox) {
    HICON icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (icon) ::SendMessageW(m.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  // On the screen it was fitted to.
  m.CentreOn(m.workArea, m.workArea);
  RECT opened = {};
  ::GetWindowRect(m.hwnd, &opened);
  m.openedAt = {.x = opened.left, .y = opened.top};
  return true;
}

}  // namespace platform
