// The board of the picture windows: set-up, the hit test, the drag protocol, start over and close.
#include <gtest/gtest.h>

#include "app/start_window.h"
#include "board/board_driver.h"
#include "facts.h"
#include "pictures/designs.h"

using namespace testing_support;

namespace {

using BoardSetUp = RuntimeTest;
using HitTest = RuntimeTest;
using Drag = RuntimeTest;
using StartOverAndClose = RuntimeTest;
using DrawingOrder = RuntimeTest;

TEST_F(BoardSetUp, HiddenSegmentsFromTheTemplateAndEveryDotInPlayAtItsCentre) {
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    const facts::Picture& p = facts::picture(n);
    BoardDriver b(n);
    b.window().Show();
    ASSERT_EQ(b.segmentTotal(), p.segments());
    int lines = 0;
    for (const auto& e : b.window().drawingOrder()) lines += e->name() == "Line1";
    EXPECT_EQ(lines, p.segments() + 1);
    for (int k = 0; k <= p.segments(); ++k) {
      const ui::Line& s = b.segment(k);
      EXPECT_EQ(s.Visible(), k == 0) << k;
      EXPECT_EQ(s.BorderColor(), ui::Color::rgb(128, 128, 128));
      EXPECT_EQ(s.BorderWidth(), 2);
      EXPECT_EQ(s.DrawMode(), ui::kDrawCopyPen);
      EXPECT_EQ(
          std::vector<float>({s.X1().value(), s.Y1().value(), s.X2().value(), s.Y2().value()}),
          std::vector<float>({465, -75, 4455, -75}));
    }
    // Every dot in play is 150 x 150 at the centre the player sees, with its number.
    for (int k = 1; k <= p.segments() + 1; ++k) {
      EXPECT_FLOAT_EQ(b.centre(k).x, p.centres[std::size_t(k - 1)].x) << "dot " << k;
      EXPECT_FLOAT_EQ(b.centre(k).y, p.centres[std::size_t(k - 1)].y) << "dot " << k;
      EXPECT_FLOAT_EQ(b.dot(k).Width().value(), 150);
      EXPECT_FLOAT_EQ(b.dot(k).Height().value(), 150);
      EXPECT_STREQ(b.label(k).Caption(), std::to_string(k).c_str());
    }
    EXPECT_EQ(b.state().bytDot, 0);
    EXPECT_EQ(b.state().bytLine, 0);
    EXPECT_EQ(b.state().blnDrawing, ui::False);
    // The rubber band starts above the client area.
    EXPECT_FLOAT_EQ(b.band().Y1().value(), -150);
    EXPECT_EQ(b.band().DrawMode(), p.inverts ? ui::kDrawInvert : ui::kDrawCopyPen);
    EXPECT_FALSE(b.dot(0).Visible());
    EXPECT_EQ(b.window().Picture(), nullptr);
  }
}

TEST_F(BoardSetUp, DotSizesFollowShape1ZeroOnlyInWindows256) {
  // Windows 2 and 5 store narrower dots; set-up makes every dot in play 150 x 150.
  app::frmMain().Show();  // keeps the program going while a picture is closed
  BoardDriver two(2), five(5), one(1);
  two.window().Show();
  five.window().Show();
  one.window().Show();
  // Window 1's dots keep their size although Shape1(0) there is 120 x 120.
  EXPECT_FLOAT_EQ(one.dot(0).Width().value(), 120);
  EXPECT_FLOAT_EQ(one.dot(1).Width().value(), 150);
  // A press 140 to the right of a window-2 dot's left edge is taken: its width is 150 now.
  two.press({60 + 140, 3480 + 75});
  EXPECT_EQ(two.state().blnDrawing, ui::True);
  // After a close the design's boxes come back, and set-up widens them again.
  two.close();
  two.window().Show();
  EXPECT_FLOAT_EQ(two.dot(1).Width().value(), 150);
}

TEST_F(HitTest, AcceptedAreaIsCentredOnTheDotsCorner) {
  BoardDriver b(1);
  b.window().Show();
  auto accepted = [&](Point p) {
    b.press(p);
    bool started = b.state().blnDrawing == ui::True;
    b.release({-1000, -1000});  // a miss that ends the drag
    return started;
  };
  for (Point p : {Point{270, 1905}, Point{540, 1905}, Point{480, 1695}, Point{480, 1965},
                  Point{255.01f, 1905}, Point{554.99f, 1905}})
    EXPECT_TRUE(accepted(p)) << p.x << "," << p.y;
  for (Point p : {Point{255, 1905}, Point{555, 1905}, Point{480, 1680}, Point{480, 1980}})
    EXPECT_FALSE(accepted(p)) << p.x << "," << p.y;
  // Dot 2 is not the current dot.
  EXPECT_FALSE(accepted({4470, 1905}));
  EXPECT_EQ(b.state().bytDot, 0);
}

TEST_F(HitTest, LabelsTakeThePressButNotADragAlreadyGoing) {
  BoardDriver b(1);
  b.window().Show();
  b.press({345, 1755});  // on label 1, inside dot 1's area
  EXPECT_EQ(b.state().blnDrawing, ui::False);
  b.release({4470, 1905});
  b.press({300, 1695});
  EXPECT_EQ(b.state().blnDrawing, ui::False);
  b.release({300, 1695});
  b.press({495, 1905});  // beside the label
  EXPECT_EQ(b.state().blnDrawing, ui::True);
  b.move({4300, 1700});  // over label 2
  EXPECT_FLOAT_EQ(b.band().X2().value(), 4300);
  b.release({4350, 1700});  // on label 2, inside dot 2's area: a hit
  EXPECT_EQ(b.state().bytDot, 1);
}

TEST_F(Drag, MissesStrayEventsAndEveryButtonBehaveAsDesigned) {
  BoardDriver b(1);
  b.window().Show();
  // Moves and releases with no drag change nothing, the rubber band included.
  b.move({480, 1905}, 0);
  b.release({4470, 1905});
  EXPECT_FLOAT_EQ(b.band().X1().value(), 150);
  EXPECT_FLOAT_EQ(b.band().Y1().value(), -150);
  // A miss with no segment placed parks the rubber band on the template's end.
  b.press({480, 1905}, ui::kRightButton, ui::kShiftKey | ui::kCtrlKey);
  EXPECT_EQ(b.state().blnDrawing, ui::True);
  b.release({4470, 2220}, ui::kRightButton);  // dot 3: a miss
  EXPECT_EQ(b.state().bytDot, 0);
  EXPECT_FALSE(b.segment(1).Visible());
  EXPECT_FLOAT_EQ(b.band().X1().value(), 4455);
  EXPECT_FLOAT_EQ(b.band().Y2().value(), -75);
  // The middle button works like any other; a release on the press spot is a miss.
  b.press({480, 1905}, ui::kMiddleButton);
  b.release({480, 1905}, ui::kMiddleButton);
  EXPECT_EQ(b.state().bytDot, 0);
  // A second button re-anchors on the current dot; the first release ends the drag.
  b.drag(1, 2);
  b.press({4470, 1905}, ui::kLeftButton);
  b.move({3000, 3000});
  b.press({4475, 1950}, ui::kRightButton);  // still in dot 2's area: re-anchored
  EXPECT_FLOAT_EQ(b.band().X2().value(), 4475);
  b.press({100, 100}, ui::kMiddleButton);  // a miss: the drag goes on
  EXPECT_EQ(b.state().blnDrawing, ui::True);
  b.release({4470, 2220}, ui::kMiddleButton);  // on dot 3
  EXPECT_EQ(b.state().bytDot, 2);
  b.release({4275, 3510}, ui::kLeftButton);  // the next dot, but no drag any more
  b.release({4275, 3510}, ui::kRightButton);
  EXPECT_EQ(b.state().bytDot, 2);
  EXPECT_FLOAT_EQ(b.band().X1().value(), 4470);
  EXPECT_FLOAT_EQ(b.band().Y1().value(), 2220);
}

TEST_F(Drag, ReleasesOutsideTheClientAreaAreMissesInEveryWindow) {
  for (int n = 1; n <= 6; ++n) {
    BoardDriver b(n);
    b.window().Show();
    const float w = b.window().design().clientWidth, h = b.window().design().clientHeight;
    for (Point p : {Point{-1, -1}, Point{w, 100}, Point{100, h}, Point{-3e30f, 5e30f},
                    Point{w + 0.5f, h + 0.5f}}) {
      b.press(b.centre(1));
      b.release(p);
      EXPECT_EQ(b.state().bytDot, 0) << n;
    }
  }
}

TEST_F(Drag, TheLastSegmentShowsThePictureBeepsAndStartsAgainAtDotOne) {
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    BoardDriver b(n);
    b.window().Show();
    for (int k = 1; k <= b.segmentTotal(); ++k) b.drag(k, k + 1);
    EXPECT_EQ(b.window().Picture(), &pictures::finishedPicture(n));
    EXPECT_EQ(platform.beeps, n);
    EXPECT_EQ(ui::runtime().beeps(), n);
    EXPECT_EQ(b.state().bytDot, 0);
    EXPECT_EQ(b.state().bytLine, 0);
    // The rubber band parked above the client area; every segment still shown.
    EXPECT_FLOAT_EQ(b.band().X1().value(), 4455);
    EXPECT_FLOAT_EQ(b.band().Y2().value(), -75);
    for (int k = 1; k <= b.segmentTotal(); ++k) EXPECT_TRUE(b.segment(k).Visible());
    // A second pass draws over the finished picture from dot 1.
    b.drag(1, 2);
    EXPECT_EQ(b.state().bytDot, 1);
    EXPECT_EQ(b.window().Picture(), &pictures::finishedPicture(n));
    EXPECT_EQ(platform.beeps, n);
  }
}

TEST_F(StartOverAndClose, StartOverAtTheStartInTheMiddleAndAfterCompletion) {
  BoardDriver b(1);
  b.window().Show();
  b.startOver();  // a fresh board: nothing changes
  EXPECT_EQ(b.state().bytDot, 0);
  for (int k = 1; k <= 4; ++k) b.drag(k, k + 1);
  b.startOver();
  for (int k = 1; k <= 13; ++k) EXPECT_FALSE(b.segment(k).Visible());
  EXPECT_FLOAT_EQ(b.band().X1().value(), 3990);  // the rubber band stays where it was
  b.press(b.centre(5));
  EXPECT_EQ(b.state().blnDrawing, ui::False);
  b.press(b.centre(1));
  EXPECT_EQ(b.state().blnDrawing, ui::True);
  b.release(b.centre(2));
  for (int k = 2; k <= 13; ++k) b.drag(k, k + 1);
  EXPECT_NE(b.window().Picture(), nullptr);
  b.startOver();
  EXPECT_EQ(b.window().Picture(), nullptr);
  for (int k = 1; k <= 13; ++k) EXPECT_FALSE(b.segment(k).Visible());
  // Start over in the middle of a drag leaves the drag going.
  b.press(b.centre(1));
  b.startOver();
  EXPECT_EQ(b.state().blnDrawing, ui::True);
}

TEST_F(StartOverAndClose, WindowsOneThreeFourKeepTheirProgressTwoFiveSixStartAfresh) {
  app::frmMain().Show();  // keeps the program going while a picture is closed
  for (int n = 1; n <= 6; ++n) {
    BoardDriver b(n);
    b.window().Show();
    for (int k = 1; k <= 4; ++k) b.drag(k, k + 1);
    b.close();
    EXPECT_FALSE(b.window().loaded());
    b.window().Show();
    bool keeps = n == 1 || n == 3 || n == 4;
    for (int k = 1; k <= b.segmentTotal(); ++k) EXPECT_FALSE(b.segment(k).Visible());
    EXPECT_EQ(b.window().Picture(), nullptr);
    EXPECT_EQ(b.state().bytDot, keeps ? 4 : 0) << n;
    EXPECT_EQ(b.state().bytLine, 0);
    b.press(b.centre(1));
    EXPECT_EQ(b.state().blnDrawing == ui::True, !keeps) << n;
    b.release({-5000, -5000});
    b.press(b.centre(5));
    EXPECT_EQ(b.state().blnDrawing == ui::True, keeps) << n;
    b.release({-5000, -5000});
  }
}

TEST_F(StartOverAndClose, ReopenedMidPictureCompletesWithTheRemainingSegments) {
  app::frmMain().Show();  // keeps the program going while the picture is closed
  BoardDriver b(1);
  b.window().Show();
  for (int k = 1; k <= 5; ++k) b.drag(k, k + 1);
  b.close();
  b.window().Show();
  b.drag(6, 7);
  EXPECT_TRUE(b.segment(1).Visible());
  EXPECT_FLOAT_EQ(b.segment(1).X1().value(), 4200);
  EXPECT_FLOAT_EQ(b.segment(1).X2().value(), 3720);
  for (int k = 7; k <= 13; ++k) b.drag(k, k + 1);
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_NE(b.window().Picture(), nullptr);
  EXPECT_FALSE(b.segment(9).Visible());
  EXPECT_EQ(b.state().bytDot, 0);
  EXPECT_EQ(b.state().bytLine, 0);
  // Closed mid-drag: the drag is remembered and the next release ends it as a miss.
  b.press(b.centre(1));
  b.close();
  b.window().Show();
  EXPECT_EQ(b.state().blnDrawing, ui::True);
  b.release({-100, -100});
  EXPECT_EQ(b.state().blnDrawing, ui::False);
}

TEST_F(DrawingOrder, AfterSetUpAndAfterPlacing) {
  // Back to front after loading: picture, dots with the template, rubber band, labels (and in
  // window 4, dots 15 to 26).
  for (int n = 1; n <= 6; ++n) {
    BoardDriver b(n);
    b.window().Show();
    const auto& w = b.window();
    EXPECT_EQ(depthOf(w, "imgBild"), 0);
    EXPECT_LT(depthOf(w, "Shape1", 1), depthOf(w, "Line2"));
    EXPECT_LT(depthOf(w, "Line2"), depthOf(w, "Label1", 1));
    EXPECT_EQ(depthOf(w, "Shape1", 26) > depthOf(w, "Label1", 26), n == 4);
    EXPECT_LT(depthOf(w, "Shape1", 14), depthOf(w, "Label1", 1));
    // Every created segment lies in front of the dots and labels.
    EXPECT_GT(depthOf(w, "Line1", 1), depthOf(w, "Label1", 1));
    if (n == 4) {
      EXPECT_GT(depthOf(w, "Line1", 1), depthOf(w, "Shape1", 26));
    }
  }
  // Windows 2, 5 and 6 bring each placed segment to the very front.
  for (int n : {2, 5, 6}) {
    BoardDriver b(n);
    b.drag(1, 2);
    b.drag(2, 3);
    const auto& order = b.window().drawingOrder();
    EXPECT_EQ(order.back()->name(), "Line1");
    EXPECT_EQ(order.back()->Index(), 2);
    EXPECT_EQ(depthOf(b.window(), "Line1", 1), int(order.size()) - 2);
  }
  // Window 1's order does not change when a segment is placed.
  BoardDriver one(1);
  int before = depthOf(one.window(), "Line1", 1);
  one.drag(1, 2);
  EXPECT_EQ(depthOf(one.window(), "Line1", 1), before);
}

}  // namespace
