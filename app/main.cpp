#include "app/icon.h"
#include "app/start_window.h"
#include "ui/program.h"

int main(int argc, char** argv) {
  return ui::runProgram(argc, argv, app::frmMain, app::programIcon());
}
