#include "app/start_window.h"

#include "board/windows.h"

namespace app {

namespace {

ui::ElementDesign title(const char* name, const char* caption, float left, float width) {
  ui::ElementDesign d;
  d.kind = ui::Kind::Label;
  d.name = name;
  d.left = left;
  d.width = width;
  d.height = 1350;
  d.caption = caption;
  d.font = {"Comic Sans MS", 48, 700};
  d.color = ui::Color::of(ui::Color::System::ButtonText);
  return d;
}

const ui::FormDesign& startDesign() {
  static const ui::FormDesign d = [] {
    ui::FormDesign f;
    f.caption = "Fnork till fnork av Bromle";
    f.clientWidth = 4680;
    f.clientHeight = 4470;
    auto l1 = title("Label1", "Fnork", 1185, 2280);
    l1.top = 330;
    auto l2 = title("Label2", "till", 1695, 1260);
    l2.top = 1470;
    auto l3 = title("Label3", "fnork", 1185, 2280);
    l3.top = 2505;
    f.elements = {l1, l2, l3};
    f.menus = {{0, "mnuMeny", ui::kNoIndex, "&Meny"},
               {1, "mnuBild", 1, "Bild&1"},
               {1, "mnuBild", 2, "Bild&2"},
               {1, "mnuBild", 3, "Bild&3"},
               {1, "mnuBild", 4, "Bild&4"},
               {1, "mnuBild", 5, "Bild&5"},
               {1, "mnuBild", 6, "Bild&6"},
               {1, "mnuTomt2", ui::kNoIndex, "-"},
               {1, "mnuAvsluta", ui::kNoIndex, "&Avsluta"}};
    return f;
  }();
  return d;
}

}  // namespace

const ui::WindowClass frmMain("frmMain", [] { return std::unique_ptr<ui::Form>(new StartWindow); });

StartWindow::StartWindow() : ui::Form(startDesign()) {
  onClick("mnuBild", [this](ui::Integer i) { mnuBild_Click(i); });
  onClick("mnuAvsluta", [this](ui::Integer) { mnuAvsluta_Click(); });
}

void StartWindow::mnuBild_Click(ui::Integer Index) {
  const ui::WindowClass* windows[] = {&board::frmBild1, &board::frmBild2, &board::frmBild3,
                                      &board::frmBild4, &board::frmBild5, &board::frmBild6};
  for (int n = 1; n <= 6; ++n) {
    if (Index == n) {
      (*windows[n - 1])().Show();
      return;
    }
  }
}

void StartWindow::mnuAvsluta_Click() {
  ui::Unload(board::frmBild1());
  ui::Unload(board::frmBild2());
  ui::Unload(board::frmBild3());
  ui::Unload(board::frmBild4());
  ui::Unload(board::frmBild5());
  ui::Unload(board::frmBild6());
  ui::Unload(*this);
}

}  // namespace app
