#include "helpwindow/HelpLayout.h"

namespace HelpLayout {
namespace {

using platform::ControlKind;
using platform::kNoTabStop;

const platform::ControlLayout kControls[kControlCount] = {
    // name / description, hidden, locked
    {L"btHelp", ControlKind::Button, 150, 2700, 1125, 375, 2, nullptr, nullptr, false, false},
    // Shows the read-me; the user may type into it, as into any text box.
    {L"edHelp", ControlKind::TextBox, 75, 75, 4500, 2550, 1, nullptr, nullptr, false, false},
    // Holds no picture; it reaches a little past the client area's right edge.
    {L"imHelp", ControlKind::Image, 1425, 2700, 3300, 375, kNoTabStop, nullptr, nullptr, false,
     false},
    // Never seen: right before edHelp, it gives the text box the heading as
    // its spoken name, as a label gives one to every other box.
    {L"lbHelp", ControlKind::Label, 75, 75, 4500, 0, 0, nullptr, nullptr, true, false},
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
