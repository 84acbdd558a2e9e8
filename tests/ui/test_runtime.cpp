// The window runtime without a toolkit: instances, element arrays, the routing of the mouse,
// run-time errors and the start window's title.
#include <gtest/gtest.h>

#include <cfloat>

#include "app/program_info.h"
#include "app/start_window.h"
#include "facts.h"
#include "support/fake_platform.h"

using namespace testing_support;
using ui::Integer;
using ui::Single;

namespace {

// clang-format off
const ui::FormDesign kDesign{"Test", 3000, 3000,
    {{.kind = ui::Kind::Line, .name = "Line1", .index = 0},
     {.kind = ui::Kind::Label, .name = "Label1", .left = 1500, .top = 1500, .width = 240,
      .height = 210}},
    {{0, "mnuMeny", ui::kNoIndex, "&Meny"}, {1, "mnuSep", ui::kNoIndex, "-"},
     {1, "mnuClose", ui::kNoIndex, "&Close"}}};
// clang-format on

// A window that notes its mouse events.
class TestForm : public ui::Form {
 public:
  TestForm() : ui::Form(kDesign) {
    onClick("mnuClose", [this](Integer) { ui::Unload(*this); });
  }
  std::string events;
  ui::Byte counter = 0;
  bool failOnPress = false;
  ui::ControlArray<ui::Line> Line1{*this, "Line1"};

 protected:
  void Form_MouseDown(Integer b, Integer, Single x, Single) override {
    events += "down" + std::to_string(b) + "@" + std::to_string(int(x.value())) + " ";
    if (failOnPress) counter = counter - 1;  // below 0: the overflow error
  }
  void Form_MouseMove(Integer, Integer, Single, Single) override { events += "move "; }
  void Form_MouseUp(Integer b, Integer, Single, Single) override {
    events += "up" + std::to_string(b) + " ";
  }
};

const ui::WindowClass frmTest("frmTest", [] { return std::unique_ptr<ui::Form>(new TestForm); });
TestForm& test() {
  return static_cast<TestForm&>(frmTest());
}

// The number of the run-time error `fn` raises, 0 for none; its text in `message`.
std::string message;
template <class F>
int number(F fn) {
  try {
    fn();
  } catch (const ui::RuntimeError& e) {
    message = e.what();
    return int(e.number());
  }
  return 0;
}

using Runtime = RuntimeTest;

TEST_F(Runtime, AnInstanceIsMadeOnReferenceAndItsElementArraysGuardTheirIndexes) {
  EXPECT_FALSE(frmTest.exists());
  TestForm& f = test();
  f.Show();
  f.menu("mnuSep")->click();  // a separator does nothing, nor an entry without a handler
  f.menu("mnuMeny")->click();
  f.Line1(0).X1(600);
  f.Line1.Load(5);
  EXPECT_EQ(f.Line1(5).X1(), Single(600));  // a copy of element 0 as it is now
  EXPECT_EQ(number([&] { f.Line1(4); }), 340);
  EXPECT_EQ(message, "Control array element '4' doesn't exist");
  EXPECT_EQ(number([&] { f.Line1(-1); }), 340);
  EXPECT_EQ(number([&] { f.Line1.Load(5); }), 360);
  EXPECT_EQ(number([&] { f.Line1.Load(0); }), 360);
  EXPECT_EQ(number([&] { f.Line1.Load(40000); }), 6);
  f.menu("mnuClose")->click();
  EXPECT_EQ(number([&] { f.Line1(0); }), 340);  // elements die with the window
  f.Show();
  EXPECT_FALSE(f.Line1.exists(5));  // a new load has only the designed elements
}

TEST_F(Runtime, LabelsTakeTheirPressWithItsMovesAndReleaseTheWindowKeepsItsOwn) {
  TestForm& f = test();
  f.Show();
  f.mouseDown(1, 0, 1600, 1600);  // on the label, with its moves, a second button and releases
  f.mouseMove(1, 0, 100, 100);
  f.mouseDown(2, 0, 100, 100);
  f.mouseUp(1, 0, 100, 100);
  f.mouseUp(2, 0, 100, 100);
  f.mouseMove(0, 0, 1500, 1500);  // on the label's corner without a button: the label's
  EXPECT_EQ(f.events, "");
  for (Point p : {Point{1499, 1600}, Point{1740, 1600}, Point{1600, 1710}})
    f.mouseMove(0, 0, p.x, p.y);  // just left of it, right of it and below it: the window's
  f.mouseDown(2, 0, 100, 100);    // the window keeps the mouse until every button is up
  f.mouseMove(2, 0, 1600, 1600);
  f.mouseDown(1, 0, 1600, 1600);
  f.mouseUp(2, 0, 1600, 1600);
  f.mouseUp(1, 0, -7, 3);
  f.mouseDown(4, 0, 1600, 1600);  // all buttons were up: this press is the label's
  f.mouseUp(4, 0, 1600, 1600);
  EXPECT_EQ(f.events, "move move move down2@100 move down1@1600 up2 up1 ");
  // A release that went to a menu or another window: a move that finds the button up, or the
  // backend, ends the hold, and the label has its mouse back.
  f.mouseDown(1, 0, 100, 100);
  f.mouseMove(0, 0, 1600, 1600);
  f.mouseDown(1, 0, 1600, 1600);
  f.mouseUp(1, 0, 1600, 1600);
  f.mouseDown(1, 0, 100, 100);
  f.mouseCaptureLost();
  f.mouseUp(1, 0, 1600, 1600);
  EXPECT_EQ(f.events, "move move move down2@100 move down1@1600 up2 up1 down1@100 down1@100 ");
}

TEST_F(Runtime, CheckedValuesRaiseTheirErrorsAndAnUnhandledOneEndsTheProgram) {
  ui::Byte b = 255;
  EXPECT_EQ(number([&] { b = b + 1; }), 6);
  EXPECT_EQ(b, 255);  // unchanged by the failed store
  EXPECT_EQ(number([] { (void)ui::Byte(-1); }), 6);
  EXPECT_EQ(number([] { (void)Integer(32768); }), 6);
  EXPECT_EQ(number([] { (void)Integer(-32768); }), 0);
  EXPECT_EQ(number([&] { (void)(Single(FLT_MAX) + Single(FLT_MAX)); }), 6);
  EXPECT_EQ(number([&] { (void)(Single(1) / Single(0)); }), 11);

  TestForm& f = test();
  f.Show();
  f.failOnPress = true;
  testing::internal::CaptureStderr();
  f.mouseDown(1, 0, 10, 10);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("run-time error 6: Overflow"), std::string::npos) << err;
  EXPECT_EQ(platform.quits, std::vector<int>{1});
  f.mouseUp(1, 0, 10, 10);  // nothing runs after the end
  EXPECT_EQ(f.events, "down1@10 ");
  ui::Unload(f);  // nor does closing the last window change how the program ended
  EXPECT_EQ(platform.quits, std::vector<int>{1});
}

TEST_F(Runtime, TheTitleIsInBold48PointComicSansMSOrTheProgramsStandInsForIt) {
  auto& start = app::frmMain();
  start.Show();
  // One font choice for the three lines, which the backends keep their font by.
  ui::setUp(app::programInfo());
  const ui::FontChoice& title = ui::fontFor(element<ui::Label>(start, "Label1").font());
  EXPECT_EQ(&title, &ui::fontFor(element<ui::Label>(start, "Label2").font()));
  EXPECT_EQ(&title, &ui::fontFor(element<ui::Label>(start, "Label3").font()));
  EXPECT_EQ(title.families,
            (std::vector<std::string>{"Comic Sans MS", "Comic Neue", "DejaVu Sans"}));
  EXPECT_EQ(std::pair(title.points, title.weight), std::pair(48.f, 700));
  for (int i = 0; i < 3; ++i)
    EXPECT_STREQ(element<ui::Label>(start, "Label" + std::to_string(i + 1)).Caption(),
                 facts::kTitle[i].caption);
}

}  // namespace
