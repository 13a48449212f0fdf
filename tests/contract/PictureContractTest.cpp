// Pictures: which files show a picture and which leave the image empty.
#include <gtest/gtest.h>

#include "../common/TestPictures.h"
#include "ContractWorld.h"
#include "platform/Forms.h"

namespace {

using platform::ControlKind;

const platform::ControlLayout kControls[] = {
    {L"img", ControlKind::Image, 0, 0, 3000, 2250, platform::kNoTabStop, L"picture", nullptr, false,
     false},
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
  const std::wstring dir = contract::ScratchFolder(L"pictures");
  contract::WriteFile(dir + L"red.jpg", testpictures::kRedJpeg);
  contract::WriteFile(dir + L"truncated.jpg",
                      testpictures::kRedJpeg.substr(0, testpictures::kRedJpeg.size() / 2));
  contract::WriteFile(dir + L"text.jpg", "this is not a picture, only text in a file called .jpg");
  contract::WriteFile(dir + L"empty.jpg", "");
  contract::WriteFile(dir + L"huge.jpg", HugeClaim());
  contract::WriteFile(dir + L"hidden.jpg", testpictures::kRedJpeg, {true, false, false});

  NoEvents events;
  platform::Form form(kLayout, events);
  ASSERT_TRUE(form.Create());
  EXPECT_TRUE(form.LoadPicture(0, dir + L"red.jpg"));
  for (const wchar_t* name :
       {L"truncated.jpg", L"text.jpg", L"empty.jpg", L"huge.jpg", L"missing.jpg"})
    EXPECT_FALSE(form.LoadPicture(0, dir + name)) << name;
  EXPECT_TRUE(form.LoadPicture(0, dir + L"red.jpg"));
  form.ClearPicture(0);
}

}  // namespace
