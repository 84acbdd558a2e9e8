// The start window: the title and the menu that opens the six pictures and ends the program.
#pragma once

#include "ui/form.h"

namespace app {

extern const ui::WindowClass frmMain;

class StartWindow : public ui::Form {
 public:
  StartWindow();

  void mnuBild_Click(ui::Integer Index);
  void mnuAvsluta_Click();
};

}  // namespace app
