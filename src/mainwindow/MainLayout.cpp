#include "mainwindow/MainLayout.h"

namespace MainLayout {
namespace {

using platform::ControlKind;
using platform::kNoTabStop;

const platform::ControlLayout kControls[kControlCount] = {
    // name          kind                      left   top  width height tab  name / description,
    // hidden, locked
    {L"btReadMe", ControlKind::Button, 6300, 4650, 2700, 375, 6, nullptr, nullptr, false, false},
    {L"drGame", ControlKind::FolderList, 0, 1365, 1215, 315, 7, nullptr, nullptr, true, false},
    {L"btClose", ControlKind::Button, 3300, 4650, 2700, 375, 5, nullptr, nullptr, false, false},
    {L"btInstall", ControlKind::Button, 300, 4650, 2700, 375, 4, nullptr, nullptr, false, false},
    {L"edDescript", ControlKind::TextBox, 150, 5400, 9000, 1500, 3, nullptr, L"Описание", false,
     true},
    {L"lsGame", ControlKind::ListBox, 6225, 300, 3000, 4320, 1, nullptr, L"Список игр", false,
     false},
    {L"img", ControlKind::Image, 75, 0, 6000, 4500, kNoTabStop, L"Скриншот игры", nullptr, false,
     false},
    {L"lbDescript", ControlKind::Label, 150, 5100, 9000, 300, 2, nullptr, nullptr, false, false},
    {L"lbGame", ControlKind::Label, 6225, 0, 3000, 300, 0, nullptr, L"Список игр", false, false},
};

}  // namespace

const platform::FormLayout fMainLayout = {
    /*caption=*/L"Varnolt",
    /*clientWidth=*/9300,
    /*clientHeight=*/7200,
    /*sizable=*/true,
    /*controlBox=*/true,
    /*keyPreview=*/true,
    kControls,
    kControlCount,
    /*defaultButton=*/btInstall,
    /*cancelButton=*/btClose,
};

}  // namespace MainLayout
