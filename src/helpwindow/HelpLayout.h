// The help window as laid out: a fixed dialog with a text and an OK button.
#pragma once

#include "platform/Forms.h"

namespace HelpLayout {

enum ControlIndex { btHelp, edHelp, imHelp, kControlCount };

extern const platform::FormLayout fHelpLayout;

}  // namespace HelpLayout
