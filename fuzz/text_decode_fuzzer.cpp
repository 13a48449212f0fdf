// The decoding of a disc's text files: encoding detection, ANSI, UTF-8 with
// and without a byte-order mark, UTF-16 in both byte orders, and a read cut
// off at any point (as the size limit cuts a long file).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/sim/Sim.h"
#include "util/TextDecodeModule.h"

using TextDecodeModule::Encoding;

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::size_t MarkLength(Encoding e) {
  switch (e) {
    case Encoding::Utf8Bom:
      return 3;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Encoding encoding = TextDecodeModule::DetectEncoding(bytes);
  const std::wstring text = TextDecodeModule::DecodeText(bytes);

  // Never more characters than bytes; UTF-16 gives one per two bytes.
  FUZZ_CHECK(text.size() <= size);
  if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be)
    FUZZ_CHECK(text.size() <= (size - 2) / 2);
  if (encoding == Encoding::Utf8) FUZZ_CHECK(TextDecodeModule::IsUtf8(bytes));
  if (encoding == Encoding::Ansi) FUZZ_CHECK(text.size() == size);

  // The read cut off anywhere after the mark: where the encoding is still
  // known, the shorter read shows a beginning of the longer one.
  if (size > 0) {
    const std::size_t cut = data[0] % (size + 1);
    const std::string_view head = bytes.substr(0, cut);
    const Encoding headEncoding = TextDecodeModule::DetectEncoding(head);
    if (cut >= MarkLength(encoding) && headEncoding == encoding && encoding != Encoding::Ansi)
      FUZZ_CHECK(StartsWith(text, TextDecodeModule::DecodeText(head)));
  }
  return 0;
}
