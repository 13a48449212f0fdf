// The simple way of showing a game's details, which Varnolt's selection is
// measured against: a window shaped like Varnolt's main window (a dialog
// with a list of the disc's games, a multi-line box and a 400 x 300 picture
// control that fills itself with its bitmap) that, when an entry is chosen,
// reads the entry's descript.ion and decodes its screenshot.jpg at full size
// into a full-size 32-bit bitmap; the picture control shrinks it each time
// it paints.
//
// It sits in a disc's root like Varnolt: the first entry is the disc's own
// (autorun\), the others are the folders in games\.
#include <wincodec.h>
#include <windows.h>

#include <string>

#include "BenchDialog.h"
#include "platform/win32/ModulePath.h"

namespace {

constexpr wchar_t kTitle[] = L"Simple selection";
constexpr wchar_t kDiscEntry[] = L"Disc";
constexpr int kListId = 101;

struct Layout {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;  // pixels at 96 DPI
  int id;
};

// In Varnolt's z-order and places.
const Layout kControls[] = {
    {L"STATIC", SS_LEFT, 0, 415, 0, 200, 20, 100},
    {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
     WS_EX_CLIENTEDGE, 415, 20, 200, 288, kListId},
    {L"STATIC", SS_LEFT, 0, 10, 340, 600, 20, 102},
    {L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE, 10, 360, 600, 100, 103},
    {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 310, 180, 25, IDOK},
    {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, 220, 310, 180, 25, IDCANCEL},
    {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, 420, 310, 180, 25, 106},
    {L"LISTBOX", LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0, 91, 81, 21, 107},
    {L"STATIC", SS_BITMAP | SS_REALSIZECONTROL, 0, 5, 0, 400, 300, 108},
};
constexpr int kEditIndex = 3;
constexpr int kPictureIndex = 8;
constexpr int kHiddenIndex = 7;

std::wstring theRoot;  // the disc's root, with a trailing backslash
HWND theControls[sizeof kControls / sizeof kControls[0]];

std::wstring ReadText(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::wstring();
  std::string bytes;
  LARGE_INTEGER size;
  if (::GetFileSizeEx(file, &size) && size.QuadPart < (1 << 24)) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        !::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr))
      got = 0;
    bytes.resize(got);
  }
  ::CloseHandle(file);
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
  return text;
}

// The whole picture in a 32-bit top-down DIB section, or nullptr.
HBITMAP DecodeFullSize(const std::wstring& path) {
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  HBITMAP bitmap = nullptr;
  UINT w = 0, h = 0;
  if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&w, &h)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(w);
    info.bmiHeader.biHeight = -static_cast<LONG>(h);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap &&
        FAILED(converter->CopyPixels(nullptr, w * 4, w * 4 * h, static_cast<BYTE*>(bits)))) {
      ::DeleteObject(bitmap);
      bitmap = nullptr;
    }
  }
  if (converter) converter->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  if (factory) factory->Release();
  return bitmap;
}

void ShowEntry(HWND list) {
  const LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  std::wstring folder = theRoot + L"autorun\\";
  if (index > 0) {
    std::wstring name(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1,
                      L'\0');
    name.resize(static_cast<std::size_t>(
        ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&name[0]))));
    folder = theRoot + L"games\\" + name + L"\\";
  }
  const std::wstring text = ReadText(folder + L"descript.ion");
  HBITMAP picture = DecodeFullSize(folder + L"screenshot.jpg");
  HWND image = theControls[kPictureIndex];
  const auto old = reinterpret_cast<HBITMAP>(
      ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
  if (old && old != picture) ::DeleteObject(old);
  ::InvalidateRect(image, nullptr, TRUE);
  ::SetWindowTextW(theControls[kEditIndex], text.c_str());
}

void FillList(HWND list) {
  ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDiscEntry));
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((theRoot + L"games\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L".." && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_SELCHANGE)
      ShowEntry(reinterpret_cast<HWND>(lParam));
    if (LOWORD(wParam) == IDCANCEL) ::DestroyWindow(hwnd);
    return TRUE;
  }
  if (message == WM_DESTROY) {
    // The picture control is still there: a window's children go after it.
    HBITMAP last = reinterpret_cast<HBITMAP>(
        ::SendMessageW(theControls[kPictureIndex], STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (last) ::DeleteObject(last);
  }
  return bench::PlainDialogProc(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  theRoot = platform::win32::ModulePath();
  if (theRoot.empty()) return 1;
  theRoot.resize(theRoot.rfind(L'\\') + 1);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;

  HWND hwnd = bench::CreateMainDialog(instance, kTitle, DialogProc);
  if (!hwnd) return 1;

  const int dpi = bench::ScreenDpi();
  const auto font = static_cast<WPARAM>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
  for (std::size_t i = 0; i < sizeof kControls / sizeof kControls[0]; ++i) {
    const Layout& c = kControls[i];
    const DWORD visible = static_cast<int>(i) == kHiddenIndex ? 0 : WS_VISIBLE;
    theControls[i] = ::CreateWindowExW(
        c.exStyle, c.className, L"", WS_CHILD | visible | c.style, ::MulDiv(c.left, dpi, 96),
        ::MulDiv(c.top, dpi, 96), ::MulDiv(c.width, dpi, 96), ::MulDiv(c.height, dpi, 96), hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (!theControls[i]) return 1;
    ::SendMessageW(theControls[i], WM_SETFONT, font, FALSE);
  }
  FillList(theControls[1]);

  bench::ShowCentred(hwnd, bench::kMainWindowStyle, bench::kMainClientWidth,
                     bench::kMainClientHeight, dpi);
  ::SetFocus(theControls[1]);
  ::UpdateWindow(hwnd);
  bench::RunDialogMessages(hwnd);
  ::CoUninitialize();
  return 0;
}
