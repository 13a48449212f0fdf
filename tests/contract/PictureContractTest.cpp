// Pictures: which files show a picture and which leave the image empty,
// where the checks before decoding must agree with the system's decoder:
// cut-off pictures, data after the end, a size no picture has, no picture.
// (Every format shown is proven on the real program's screen.)
#include <gtest/gtest.h>

#include <cwchar>

#include "../common/TestPictures.h"
#include "ContractWorld.h"
#include "TestPictureFiles.h"
#include "platform/Forms.h"

namespace {

using platform::ControlKind;

const platform::ControlLayout kControls[] = {
    {L"img", ControlKind::Image, 0, 0, 3000, 2250, platform::kNoTabStop},
};
const platform::FormLayout kLayout = {L"Pictures", 3000,      2250, false, true,
                                      false,       kControls, 1,    -1,    -1};

struct NoEvents final : platform::FormEvents {};

// The red picture with its frame header claiming 60000 x 60000 pixels.
std::string HugeClaim() {
  std::string jpeg = testpictures::kRedJpeg;
  const std::size_t sof = jpeg.find("\xFF\xC0");
  if (sof == std::string::npos) return std::string();
  for (std::size_t at : {sof + 5, sof + 7}) {
    jpeg[at] = static_cast<char>(0xEA);
    jpeg[at + 1] = static_cast<char>(0x60);
  }
  return jpeg;
}

TEST(PictureContract, OnlyCompletePlausiblePicturesShow) {
  const std::string& red = testpictures::kRedJpeg;
  struct Case {
    const wchar_t* name;
    std::string bytes;
    bool shows;
  };
  const Case cases[] = {
      {L"red.jpg", red, true},
      {L"trailing 1 MiB.jpg", red + std::string(1 << 20, '\xFF'), true},
      {L"truncated.jpg", red.substr(0, red.size() / 2), false},
      {L"truncated progressive.jpg",
       testpictures::kProgressiveJpeg.substr(0, testpictures::kProgressiveJpeg.size() - 30), false},
      {L"truncated with trailing bytes.jpg", red.substr(0, red.size() / 2) + std::string(300, '\0'),
       false},
      {L"text.jpg", "this is not a picture, only text in a file called .jpg", false},
      {L"empty.jpg", "", false},
      {L"huge.jpg", HugeClaim(), false},
  };
  const std::wstring dir = contract::ScratchFolder(L"pictures");
  for (const Case& c : cases) contract::WriteFile(dir + c.name, c.bytes);

  NoEvents events;
  platform::Form form(kLayout, events);
  ASSERT_TRUE(form.Create());
  for (const Case& c : cases) {
    EXPECT_EQ(form.LoadPicture(0, dir + c.name), c.shows)
        << std::string(c.name, c.name + std::wcslen(c.name));
    EXPECT_TRUE(form.LoadPicture(0, dir + L"red.jpg"));
  }
  EXPECT_FALSE(form.LoadPicture(0, dir + L"missing.jpg"));
}

}  // namespace
