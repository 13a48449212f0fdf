// Pictures decoded with the Windows Imaging Component at the size they are
// shown at, into a bitmap a static control can show.
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/shared/PictureHeader.h"
#include "platform/win32/Win32Internal.h"

// The decoder's own scaling, which the cross-compiler's headers lack. A COM
// interface has no virtual destructor: it is released, never deleted.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
struct IWICBitmapSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride,
                                               UINT bufferSize, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                         BOOL* supported) = 0;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace platform::win32 {
namespace {

const IID kIID_IWICBitmapSourceTransform = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// A file read at offsets, for the checks that run before any decoder.
class FileBytes final : public ByteSource {
 public:
  explicit FileBytes(const std::wstring& file)
      : handle_(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr)) {
    LARGE_INTEGER size;
    if (handle_.Valid() && ::GetFileSizeEx(handle_.Get(), &size) && size.QuadPart > 0)
      size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t count, unsigned char* out) const override {
    if (offset > size_ || size_ - offset < count) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN)) return false;
    while (count > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 20));
      DWORD got = 0;
      if (!::ReadFile(handle_.Get(), out, chunk, &got, nullptr) || got == 0) return false;
      out += got;
      count -= got;
    }
    return true;
  }

 private:
  ScopedFile handle_;
  std::uint64_t size_ = 0;
};

// Asks the decoder to scale while it decodes (JPEG decoders on Windows do,
// by 1/2, 1/4 or 1/8), to the smallest size that is still at least the
// wanted one. Returns the scaled frame, or nothing where that is not offered.
bool DecodeScaled(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT width,
                  UINT height, UINT wantW, UINT wantH, ComPtr<IWICBitmap>& scaled) {
  ComPtr<IWICBitmapSourceTransform> transform;
  if (FAILED(frame->QueryInterface(kIID_IWICBitmapSourceTransform,
                                   reinterpret_cast<void**>(transform.Put()))))
    return false;
  for (UINT divisor : {8u, 4u, 2u}) {
    UINT w = (width + divisor - 1) / divisor, h = (height + divisor - 1) / divisor;
    if (w < wantW || h < wantH) continue;
    if (FAILED(transform->GetClosestSize(&w, &h)) || w < wantW || h < wantH || w >= width) continue;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(transform->GetClosestPixelFormat(&format))) continue;
    if (FAILED(factory->CreateBitmap(w, h, format, WICBitmapCacheOnLoad, scaled.Put())))
      return false;
    ComPtr<IWICBitmapLock> lock;
    WICRect all = {0, 0, static_cast<INT>(w), static_cast<INT>(h)};
    if (FAILED(scaled->Lock(&all, WICBitmapLockWrite, lock.Put()))) return false;
    UINT stride = 0, size = 0;
    BYTE* data = nullptr;
    if (FAILED(lock->GetStride(&stride)) || FAILED(lock->GetDataPointer(&size, &data)))
      return false;
    return SUCCEEDED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0,
                                           stride, size, data));
  }
  return false;
}

// The first frame of a picture the checks let through, made by the
// decoder; nothing when the decoder sees a size the checks would refuse.
bool OpenFrame(IWICImagingFactory* factory, const std::wstring& file, const PictureHeader& header,
               ComPtr<IWICBitmapFrameDecode>& frame, UINT& width, UINT& height) {
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
      FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(frame->GetSize(&width, &height)))
    return false;
  // The frame's own size, by the rule for the format and depth the file has.
  PictureHeader decoded = header;
  decoded.width = width;
  decoded.height = height;
  return PlausiblePictureSize(decoded);
}

// The frame scaled to wantW x wantH, then in 32-bit BGR: the converter
// reaches it from every decoder's output (gray, palette and 16-bit sources
// among them), and converts only rows of the wanted size.
bool ScaledRows(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT width, UINT height,
                UINT wantW, UINT wantH, ComPtr<IWICFormatConverter>& converter) {
  // Where the decoder scales while it decodes, it goes most of the way.
  ComPtr<IWICBitmap> scaled;
  IWICBitmapSource* source = frame;
  if (DecodeScaled(factory, frame, width, height, wantW, wantH, scaled)) source = scaled.Get();
  ComPtr<IWICBitmapScaler> scaler;
  return SUCCEEDED(factory->CreateBitmapScaler(scaler.Put())) &&
         SUCCEEDED(scaler->Initialize(source, wantW, wantH, WICBitmapInterpolationModeFant)) &&
         SUCCEEDED(factory->CreateFormatConverter(converter.Put())) &&
         SUCCEEDED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppBGR,
                                         WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom));
}

// A bitmap of width x height the program can write into and a static
// control can show.
ScopedBitmap NewBitmap(int width, int height, std::uint32_t*& pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as WIC gives them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ScopedBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  pixels = static_cast<std::uint32_t*>(bits);
  return bits ? std::move(bitmap) : ScopedBitmap();
}

// The rows of `source` (wantW x wantH, as stored) into `pixels`, a bitmap
// `boxW` wide, each pixel where it is seen upright, opaque (a static control
// may draw a 32-bit bitmap through its alpha bytes). A row at a time: asked
// for the whole picture at once, a scaler may first copy every source row
// it covers (Wine's does: a second full-size copy of a large picture); row
// by row it reads only what each row needs.
bool CopyUpright(IWICBitmapSource* source, int orientation, UINT wantW, UINT wantH, UINT boxW,
                 std::uint32_t* pixels) {
  std::vector<std::uint32_t> row(wantW);
  const UINT stride = wantW * 4;
  for (UINT y = 0; y < wantH; ++y) {
    const WICRect line = {0, static_cast<INT>(y), static_cast<INT>(wantW), 1};
    if (FAILED(source->CopyPixels(&line, stride, stride, reinterpret_cast<BYTE*>(row.data()))))
      return false;
    for (UINT x = 0; x < wantW; ++x) {
      const PixelPosition at = UprightPosition(orientation, x, y, wantW, wantH);
      pixels[std::size_t{at.y} * boxW + at.x] = row[x] | 0xFF000000u;
    }
  }
  return true;
}

}  // namespace

ScopedBitmap DecodePicture(const std::wstring& file, int width, int height) {
  // Only a picture in a format the program shows, of a plausible size for
  // its format, and for a JPEG, complete, goes to a decoder (a JPEG cut off
  // short decodes on some systems with its missing part filled in grey).
  PictureHeader header;
  if (width <= 0 || height <= 0 || !WorthDecoding(FileBytes(file), header)) return {};
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT w = 0, h = 0;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()))) ||
      !OpenFrame(factory.Get(), file, header, frame, w, h))
    return {};
  // The picture is scaled as stored, to the box's size turned the way the
  // picture is turned to be seen upright.
  const bool swapped = OrientationSwapsSides(header.orientation);
  const UINT boxW = static_cast<UINT>(width), boxH = static_cast<UINT>(height);
  const UINT wantW = swapped ? boxH : boxW, wantH = swapped ? boxW : boxH;
  ComPtr<IWICFormatConverter> rows;
  std::uint32_t* pixels = nullptr;
  if (!ScaledRows(factory.Get(), frame.Get(), w, h, wantW, wantH, rows)) return {};
  ScopedBitmap bitmap = NewBitmap(width, height, pixels);
  if (!bitmap.Valid() || !CopyUpright(rows.Get(), header.orientation, wantW, wantH, boxW, pixels))
    return {};
  return bitmap;
}

}  // namespace platform::win32

namespace platform {

struct Picture::Data {
  win32::ScopedBitmap bitmap;
  std::wstring file;
};

Picture::Picture() = default;
Picture::Picture(std::unique_ptr<Data> data, int width, int height)
    : data_(std::move(data)), width_(width), height_(height) {}
Picture::~Picture() = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;

Picture DecodePicture(const std::wstring& file, int width, int height) {
  win32::ScopedBitmap bitmap = win32::DecodePicture(file, width, height);
  if (!bitmap.Valid()) return Picture();
  return Picture(std::unique_ptr<Picture::Data>(new Picture::Data{std::move(bitmap), file}), width,
                 height);
}

namespace win32 {

HBITMAP BitmapOf(const Picture& picture) {
  return picture.data() ? picture.data()->bitmap.Get() : nullptr;
}

std::wstring FileOf(const Picture& picture) {
  return picture.data() ? picture.data()->file : std::wstring();
}

}  // namespace win32
}  // namespace platform
