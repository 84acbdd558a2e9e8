#include "app/program_info.h"
#include "app/start_window.h"

int main(int argc, char** argv) {
  return ui::runProgram(argc, argv, app::frmMain, app::programInfo());
}
