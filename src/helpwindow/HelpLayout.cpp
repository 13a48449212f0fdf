#include "helpwindow/HelpLayout.h"

namespace HelpLayout {
namespace {

using platform::ControlKind;

const platform::ControlLayout kControls[kControlCount] = {
    {L"btHelp", ControlKind::Button, 150, 2700, 1125, 375, 1, nullptr, nullptr, false},
    {L"edHelp", ControlKind::TextBox, 75, 75, 4500, 2550, 0, nullptr, nullptr, false},
    // Holds no picture; it reaches a little past the client area's right edge.
    {L"imHelp", ControlKind::Image, 1425, 2700, 3300, 375, platform::kNoTabStop, nullptr, nullptr,
     false},
};

}  // namespace

// No caption as laid out: without a control box that means no title bar,
// until Help gives the window a heading. Esc is handled on its release.
const platform::FormLayout fHelpLayout = {
    /*caption=*/L"",
    /*clientWidth=*/4650,
    /*clientHeight=*/3150,
    /*sizable=*/false,
    /*controlBox=*/false,
    /*keyPreview=*/true,      kControls, kControlCount,
    /*defaultButton=*/btHelp,
    /*cancelButton=*/-1,
};

}  // namespace HelpLayout
