#include "helpwindow/HelpLayout.h"

namespace HelpLayout {
namespace {

using platform::ControlKind;
using platform::kNoTabStop;

// clang-format off
const platform::ControlLayout kControls[kControlCount] = {
    {.name = L"btHelp", .kind = ControlKind::Button,
     .left = 150, .top = 2700, .width = 1125, .height = 375, .tabIndex = 2},
    // Shows the read-me; the user may type into it, as into any text box.
    {.name = L"edHelp", .kind = ControlKind::TextBox,
     .left = 75, .top = 75, .width = 4500, .height = 2550, .tabIndex = 1},
    // Holds no picture; it reaches a little past the client area's right edge.
    {.name = L"imHelp", .kind = ControlKind::Image,
     .left = 1425, .top = 2700, .width = 3300, .height = 375, .tabIndex = kNoTabStop},
    // Never seen: right before edHelp, it gives the text box the heading as
    // its spoken name, as a label gives one to every other box.
    {.name = L"lbHelp", .kind = ControlKind::Label,
     .left = 75, .top = 75, .width = 4500, .height = 0, .tabIndex = 0,
     .hidden = true},
};
// clang-format on

}  // namespace

// No caption as laid out: without a control box that means no title bar,
// until Help gives the window a heading. Esc is handled on its release.
const platform::FormLayout fHelpLayout = {
    .caption = L"",
    .clientWidth = 4650,
    .clientHeight = 3150,
    .sizable = false,
    .controlBox = false,
    .keyPreview = true,
    .controls = kControls,
    .controlCount = kControlCount,
    .defaultButton = btHelp,
    .cancelButton = -1,
};

}  // namespace HelpLayout
