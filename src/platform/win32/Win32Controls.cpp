// What the program asks of a real window's controls: their texts (a long
// one added in pieces), states, focus, lists, pictures and the room their
// contents need. Every accessor takes an index into the layout and does
// nothing (or answers empty) for one outside it.
#include <string_view>
#include <utility>

#include "platform/Platform.h"
#include "platform/win32/Win32FormImpl.h"

namespace platform {

using win32::CaretToStart;
using win32::DpiOf;
using win32::kTextFillTimer;
using win32::TextOf;

namespace {

// A text box lays out a text on the window's thread, in time that grows
// with the text's length and more than that with the length of its lines:
// under Wine a megabyte takes seconds. So a long text goes in a piece at a
// time, a short piece set at once and the rest added in larger ones while
// the window is idle, and the window answers the user between the pieces.
constexpr std::size_t kFirstTextPieceChars = 4096;
constexpr std::size_t kTextPieceChars = 16384;
constexpr double kTextFillSliceMs = 30;  // pieces added at a time, at most

}  // namespace

int Form::ControlCount() const { return impl_->layout.controlCount; }

namespace {

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
  if (!m.IsControl(control)) return;
  HWND hwnd = m.controls[static_cast<std::size_t>(control)];
  if (m.layout.controls[control].kind != ControlKind::TextBox) {
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
  std::wstring text = TextOf(impl_->Control(control));
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

// The width of a vertical scroll bar at `dpi`.
int ScrollBarWidth(int dpi) {
  using MetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto metricsForDpi = reinterpret_cast<MetricsForDpiFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return metricsForDpi ? metricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi))
                       : ::GetSystemMetrics(SM_CXVSCROLL);
}

}  // namespace

// Measured once for the entries a list holds: the window asks for its
// minimum size again at every step of a drag.
int Form::Impl::WidestEntry(int control, HDC dc) {
  int& widest = entryWidths[static_cast<std::size_t>(control)];
  if (widest >= 0) return widest;
  widest = 0;
  const int count = std::min(self->ItemCount(control), kMeasuredEntries);
  for (int i = 0; i < count; ++i) {
    const std::wstring entry = self->ItemText(control, i);
    SIZE size = {0, 0};
    if (::GetTextExtentPoint32W(dc, entry.c_str(), static_cast<int>(entry.size()), &size))
      widest = std::max(widest, static_cast<int>(size.cx));
  }
  return widest;
}

Extent Form::ContentSize(int control) const {
  Impl& m = *impl_;
  const HWND hwnd = m.Control(control);
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
      // An entry is drawn a pixel in from the list's edge.
      width = m.WidestEntry(control, dc.Get()) + ::MulDiv(2, dpi, 96) + ScrollBarWidth(dpi) +
              2 * boxEdge;
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
  return {m.ToTwips(width), m.ToTwips(height)};
}

void Form::SetVisible(int control, bool visible) {
  ::ShowWindow(impl_->Control(control), visible ? SW_SHOWNA : SW_HIDE);
}

bool Form::Visible(int control) const {
  return (::GetWindowLongPtrW(impl_->Control(control), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Form::SetEnabled(int control, bool enabled) {
  ::EnableWindow(impl_->Control(control), enabled);
}
bool Form::Enabled(int control) const {
  return ::IsWindowEnabled(impl_->Control(control)) != FALSE;
}

void Form::SetFocus(int control) {
  if (!impl_->CanFocus(control)) return;
  ::SendMessageW(impl_->hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(impl_->Control(control)),
                 TRUE);
  impl_->focusSet = true;
}

void Form::BeginFill(int control) {
  ::SendMessageW(impl_->Control(control), WM_SETREDRAW, FALSE, 0);
}

void Form::EndFill(int control) {
  HWND list = impl_->Control(control);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

void Form::AddItem(int control, const std::wstring& text) {
  if (!impl_->IsControl(control)) return;
  ::SendMessageW(impl_->Control(control), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  impl_->entryWidths[static_cast<std::size_t>(control)] = -1;  // to be measured again
}

int Form::ItemCount(int control) const {
  const LRESULT count = ::SendMessageW(impl_->Control(control), LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring Form::ItemText(int control, int item) const {
  HWND list = impl_->Control(control);
  const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length == LB_ERR || length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item),
                                     reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

int Form::SelectedIndex(int control) const {
  const LRESULT selected = ::SendMessageW(impl_->Control(control), LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

int Form::PictureWidth(int control) const {
  RECT size = {};
  ::GetClientRect(impl_->Control(control), &size);
  return size.right;
}

int Form::PictureHeight(int control) const {
  RECT size = {};
  ::GetClientRect(impl_->Control(control), &size);
  return size.bottom;
}

void Form::ShowPicture(int control, std::shared_ptr<const Picture> picture) {
  Impl& m = *impl_;
  if (!m.IsControl(control)) return;
  if (picture && picture->Empty()) picture = nullptr;
  HWND image = m.controls[static_cast<std::size_t>(control)];
  std::shared_ptr<const Picture>& held = m.pictures[static_cast<std::size_t>(control)];
  Impl::SetImage(image, picture ? win32::BitmapOf(*picture) : nullptr,
                 held ? win32::BitmapOf(*held) : nullptr);
  held = std::move(picture);
  ::InvalidateRect(image, nullptr, TRUE);
}

void Form::Impl::RefreshPictures() {
  if (::IsIconic(hwnd)) return;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (!pictures[i]) continue;
    const int control = static_cast<int>(i);
    const int width = self->PictureWidth(control), height = self->PictureHeight(control);
    if (width <= 0 || height <= 0) continue;
    if (width == pictures[i]->Width() && height == pictures[i]->Height()) continue;
    // Decoded again on the reader (a large picture takes seconds), and shown
    // if the control still shows that file by then. The window whose
    // picture this is lives as long as the program (the help window has
    // none).
    const std::wstring file = win32::FileOf(*pictures[i]);
    RunInBackground(
        ReaderThread::Pictures,
        [file, width, height] { return DecodePicture(file, width, height); },
        [this, i, file](Picture decoded) {
          if (i < pictures.size() && pictures[i] && win32::FileOf(*pictures[i]) == file)
            self->ShowPicture(static_cast<int>(i),
                              std::shared_ptr<const Picture>(new Picture(std::move(decoded))));
        });
  }
}

void Form::ClearPicture(int control) { ShowPicture(control, nullptr); }

bool Form::LoadPicture(int control, const std::wstring& file) {
  if (!impl_->IsControl(control) || !win32::EnsureCom()) return false;
  auto picture = std::shared_ptr<const Picture>(
      new Picture(DecodePicture(file, PictureWidth(control), PictureHeight(control))));
  const bool shown = !picture->Empty();
  ShowPicture(control, std::move(picture));
  return shown;
}

}  // namespace platform
