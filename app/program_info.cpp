#include "app/program_info.h"

#include "app/icon.h"

namespace app {

const ui::ProgramInfo& programInfo() {
  static const ui::ProgramInfo info{
      "FnorkTillFnork",
      "se.fnork.FnorkTillFnork",
      &programIcon(),
      {{"Comic Sans MS", {"Comic Neue", "DejaVu Sans"}}, {"Verdana", {"DejaVu Sans"}}}};
  return info;
}

}  // namespace app
