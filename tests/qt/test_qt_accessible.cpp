// What assistive technology reads from the windows: their captions and their menu entries, with
// the access-key marks left out.
#include <QAccessible>
#include <QMenu>
#include <QMenuBar>

#include "app/start_window.h"
#include "qt/qt_fixture.h"

namespace {

QString nameOf(QObject* o) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
  return a ? a->text(QAccessible::Name) : QString("(none)");
}

// The names of the accessible children of an object, "-" for a separator.
QStringList childNames(QObject* o) {
  QStringList names;
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
  if (!a) return names;
  for (int i = 0; i < a->childCount(); ++i) {
    QAccessibleInterface* c = a->child(i);
    names << (c->role() == QAccessible::Separator ? "-" : c->text(QAccessible::Name));
  }
  return names;
}

TEST_F(QtTest, WindowsAndMenusReadTheirCaptionsWithoutAccessKeyMarks) {
  ui::Form& start = app::frmMain();
  start.Show();
  board::frmBild3().Show();

  QWidget* startWindow = ui::qt::windowOf(start);
  EXPECT_EQ(nameOf(startWindow), "Fnork till fnork av Bromle");
  EXPECT_EQ(nameOf(ui::qt::windowOf(board::frmBild3())), "Bild3");

  const ui::Form* forms[] = {&start, &board::frmBild3()};
  for (const ui::Form* f : forms) {
    auto* bar = ui::qt::windowOf(*f)->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(childNames(bar), QStringList{"Meny"});
    EXPECT_EQ(nameOf(bar->actions().at(0)->menu()), "Meny");
  }
  QMenu* startMenu = startWindow->findChild<QMenuBar*>()->actions().at(0)->menu();
  EXPECT_EQ(childNames(startMenu),
            (QStringList{"Bild1", "Bild2", "Bild3", "Bild4", "Bild5", "Bild6", "-", "Avsluta"}));
  QMenu* pictureMenu =
      ui::qt::windowOf(board::frmBild3())->findChild<QMenuBar*>()->actions().at(0)->menu();
  EXPECT_EQ(childNames(pictureMenu), (QStringList{"Börja om", "-", "Avsluta"}));
}

}  // namespace
