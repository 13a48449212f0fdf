// The help window as laid out: a fixed dialog with a text and an OK button,
// and a label no one sees that names the text for a screen reader.
#pragma once

#include "platform/Forms.h"

namespace HelpLayout {

enum ControlIndex { btHelp, edHelp, imHelp, lbHelp, kControlCount };

extern const platform::FormLayout fHelpLayout;

}  // namespace HelpLayout
