// The main window as laid out: nine controls, in the order of the window's
// control collection, positions and sizes in twips.
#pragma once

#include "platform/Forms.h"

namespace MainLayout {

enum ControlIndex {
  btReadMe,
  drGame,
  btClose,
  btInstall,
  edDescript,
  lsGame,
  img,
  lbDescript,
  lbGame,
  kControlCount
};

extern const platform::FormLayout fMainLayout;

}  // namespace MainLayout
