#include "mainwindow/MainLayout.h"

namespace MainLayout {
namespace {

using platform::ControlKind;
using platform::kNoTabStop;

// clang-format off
const platform::ControlLayout kControls[kControlCount] = {
    {.name = L"btReadMe", .kind = ControlKind::Button,
     .left = 6300, .top = 4650, .width = 2700, .height = 375, .tabIndex = 6},
    {.name = L"drGame", .kind = ControlKind::FolderList,
     .left = 0, .top = 1365, .width = 1215, .height = 315, .tabIndex = 7,
     .hidden = true},
    {.name = L"btClose", .kind = ControlKind::Button,
     .left = 3300, .top = 4650, .width = 2700, .height = 375, .tabIndex = 5},
    {.name = L"btInstall", .kind = ControlKind::Button,
     .left = 300, .top = 4650, .width = 2700, .height = 375, .tabIndex = 4},
    {.name = L"edDescript", .kind = ControlKind::TextBox,
     .left = 150, .top = 5400, .width = 9000, .height = 1500, .tabIndex = 3,
     .accDescription = L"Описание", .locked = true},
    {.name = L"lsGame", .kind = ControlKind::ListBox,
     .left = 6225, .top = 300, .width = 3000, .height = 4320, .tabIndex = 1,
     .accDescription = L"Список игр"},
    {.name = L"img", .kind = ControlKind::Image,
     .left = 75, .top = 0, .width = 6000, .height = 4500, .tabIndex = kNoTabStop,
     .accName = L"Скриншот игры"},
    {.name = L"lbDescript", .kind = ControlKind::Label,
     .left = 150, .top = 5100, .width = 9000, .height = 300, .tabIndex = 2},
    {.name = L"lbGame", .kind = ControlKind::Label,
     .left = 6225, .top = 0, .width = 3000, .height = 300, .tabIndex = 0,
     .accDescription = L"Список игр"},
};
// clang-format on

}  // namespace

const platform::FormLayout fMainLayout = {
    .caption = L"Varnolt",
    .clientWidth = 9300,
    .clientHeight = 7200,
    .sizable = true,
    .controlBox = true,
    .keyPreview = true,
    .controls = kControls,
    .controlCount = kControlCount,
    .defaultButton = btInstall,
    .cancelButton = btClose,
};

}  // namespace MainLayout
