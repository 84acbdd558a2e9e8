// The Qt windows: sizes, frames, captions, menus, icons, real mouse input and the program's end.
#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/start_window.h"
#include "qt/qt_fixture.h"

namespace {

QMenuBar* menuBarOf(const ui::Form& f) {
  return ui::qt::windowOf(f)->findChild<QMenuBar*>();
}

QStringList entries(const ui::Form& f) {
  QStringList texts;
  QMenu* menu = menuBarOf(f)->actions().at(0)->menu();
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? "-" : a->text());
  return texts;
}

QAction* entry(const ui::Form& f, const QString& text) {
  for (QAction* a : menuBarOf(f)->actions().at(0)->menu()->actions())
    if (a->text() == text) return a;
  return nullptr;
}

TEST_F(QtTest, SevenWindowsHaveTheirCaptionsFixedClientAreasMenusAndIcon) {
  ui::Form& start = app::frmMain();
  start.Show();
  for (int n = 1; n <= 6; ++n) start.menu("mnuBild", n)->click();

  struct Expect {
    const ui::Form* form;
    const char* caption;
    int w, h;
  };
  const Expect windows[] = {
      {&start, "Fnork till fnork av Bromle", 312, 298}, {&board::frmBild1(), "Bild1", 317, 360},
      {&board::frmBild2(), "Bild2", 376, 353},          {&board::frmBild3(), "Bild3", 451, 380},
      {&board::frmBild4(), "Bild4", 451, 400},          {&board::frmBild5(), "Bild5", 451, 353},
      {&board::frmBild6(), "Bild6", 413, 412}};
  QImage icon = ui::qt::windowOf(start)->windowIcon().pixmap(32, 32).toImage();
  for (const Expect& e : windows) {
    QWidget* w = ui::qt::windowOf(*e.form);
    ASSERT_NE(w, nullptr) << e.caption;
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8(e.caption));
    EXPECT_EQ(ui::qt::clientOf(*e.form)->size(), QSize(e.w, e.h)) << e.caption;
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << e.caption;  // fixed frame
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    // The client area sits right below the menu bar.
    EXPECT_EQ(ui::qt::clientOf(*e.form)->y(), menuBarOf(*e.form)->height());
    EXPECT_EQ(menuBarOf(*e.form)->actions().at(0)->text(), "&Meny");
    EXPECT_EQ(w->windowIcon().pixmap(32, 32).toImage(), icon);
    if (e.form != &start) {
      EXPECT_EQ(entries(*e.form), (QStringList{"&Börja om", "-", "&Avsluta"})) << e.caption;
    }
  }
  EXPECT_EQ(entries(start), (QStringList{"Bild&1", "Bild&2", "Bild&3", "Bild&4", "Bild&5", "Bild&6",
                                         "-", "&Avsluta"}));
  // The icon: a near-white tile with black marks on a transparent ground.
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(icon.pixelColor(16, 16), QColor(0, 0, 0));
  EXPECT_EQ(icon.pixelColor(6, 6), QColor(247, 243, 247));
}

TEST_F(QtTest, ChoosingAnOpenPictureOnlyBringsItToTheFront) {
  ui::Form& start = app::frmMain();
  start.Show();
  start.menu("mnuBild", 4)->click();
  QWidget* first = ui::qt::windowOf(board::frmBild4());
  QPoint at = first->pos();
  entry(start, "Bild&4")->trigger();
  EXPECT_EQ(ui::qt::windowOf(board::frmBild4()), first);
  EXPECT_EQ(first->pos(), at);
}

TEST_F(QtTest, AvslutaFromTheMenuEndsTheEventLoopWithStatusZero) {
  ui::Form& start = app::frmMain();
  start.Show();
  start.menu("mnuBild", 1)->click();
  start.menu("mnuBild", 6)->click();
  // The picture's own Avsluta closes only that window, from inside its own menu.
  entry(board::frmBild6(), "&Avsluta")->trigger();
  EXPECT_FALSE(board::frmBild6().loaded());
  EXPECT_TRUE(board::frmBild1().loaded());
  QTimer::singleShot(0, [&] { entry(start, "&Avsluta")->trigger(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(board::frmBild1().loaded());
  EXPECT_FALSE(start.loaded());
}

TEST_F(QtTest, AccessKeysChooseAvslutaFromInsideTheOpenMenu) {
  // The window is destroyed while its own menu is still delivering the key press; the sanitizer
  // build runs this too.
  app::frmMain().Show();
  board::frmBild1().Show();
  QWidget* w = ui::qt::windowOf(board::frmBild1());
  QApplication::setActiveWindow(w);
  QTest::keyClick(w, Qt::Key_M, Qt::AltModifier);
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  QTest::keyClick(popup, Qt::Key_A);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(board::frmBild1().loaded());
  EXPECT_TRUE(app::frmMain().loaded());
  // "Bild&1" by its access key opens it again.
  QApplication::setActiveWindow(ui::qt::windowOf(app::frmMain()));
  QTest::keyClick(ui::qt::windowOf(app::frmMain()), Qt::Key_M, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_1);
  EXPECT_TRUE(board::frmBild1().loaded());
}

TEST_F(QtTest, CloseControlOfTheStartWindowClosesOnlyIt) {
  ui::Form& start = app::frmMain();
  start.Show();
  start.menu("mnuBild", 2)->click();
  ui::qt::windowOf(start)->close();
  EXPECT_FALSE(start.loaded());
  ASSERT_TRUE(board::frmBild2().loaded());
  EXPECT_FALSE(ui::runtime().ended());
  QTimer::singleShot(0, [&] { ui::qt::windowOf(board::frmBild2())->close(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(ui::runtime().ended());
}

TEST_F(QtTest, RealMousePlaysAPictureToTheEnd) {
  board::frmBild2().Show();
  QWidget* c = ui::qt::clientOf(board::frmBild2());
  const QPoint centres[] = {{9, 237},   {178, 37},  {190, 37},  {371, 246}, {298, 202},
                            {262, 243}, {180, 191}, {120, 239}, {80, 207},  {17, 242}};
  for (int k = 0; k < 9; ++k) {
    QTest::mousePress(c, k % 2 ? Qt::RightButton : Qt::LeftButton, {}, centres[k]);
    QMouseEvent move(QEvent::MouseMove, QPointF(centres[k + 1]),
                     c->mapToGlobal(QPointF(centres[k + 1])), Qt::NoButton,
                     k % 2 ? Qt::RightButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c, &move);
    QTest::mouseRelease(c, k % 2 ? Qt::RightButton : Qt::LeftButton, {}, centres[k + 1]);
  }
  auto& w = static_cast<board::PictureWindow&>(board::frmBild2());
  EXPECT_EQ(w.Picture(), &pictures::finishedPicture(2));
  EXPECT_EQ(ui::runtime().beeps(), 1);
  EXPECT_EQ(w.state().bytDot, 0);
}

}  // namespace
