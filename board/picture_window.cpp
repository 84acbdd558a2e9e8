#include "board/picture_window.h"

namespace board {

using ui::Integer;
using ui::Single;

PictureWindow::PictureWindow(const ui::FormDesign& design, const Variation& variation)
    : ui::Form(design), v_(variation) {
  onClick("mnuIgen", [this](Integer) { mnuIgen_Click(); });
  onClick("mnuAvsluta", [this](Integer) { mnuAvsluta_Click(); });
}

void PictureWindow::Form_Load() {
  PrepareBoard();
}

void PictureWindow::PrepareBoard() {
  // Creates the hidden segments Line1(1 ... SegmentTotal) from the template Line1(0), counting
  // with bytLine itself.
  const int last = v_.SegmentTotal;
  for (bytLine = 1; bytLine <= last; bytLine = bytLine + 1) {
    Line1.Load(bytLine);
    if (v_.FrontAtSetUp) Line1(bytLine).ZOrder(0);
    if (v_.CopyPenAtSetUp) Line1(bytLine).DrawMode(ui::kDrawCopyPen);
  }
  bytLine = 0;

  if (!v_.UniformDotSize) return;
  // Every dot in play takes the size of Shape1(0), counting with bytDot itself.
  const int lastDot = v_.SegmentTotal + 1;
  for (bytDot = 1; bytDot <= lastDot; bytDot = bytDot + 1) {
    Shape1(bytDot).Width(Shape1(0).Width());
    Shape1(bytDot).Height(Shape1(0).Height());
  }
  if (v_.StartOverAfterResize) {
    mnuIgen_Click();
  } else {
    bytDot = 0;
  }
}

// The accepted area of a dot is the open rectangle of twice its size centred on its top-left
// corner; the horizontal part is tested first.
bool PictureWindow::HitsDot(int i, Single X, Single Y) const {
  if (!(ui::Abs(X - Shape1(i).Left()) < Shape1(i).Width())) return false;
  return ui::Abs(Y - Shape1(i).Top()) < Shape1(i).Height();
}

Single PictureWindow::CentreX(int i) const {
  return Shape1(i).Width() / 2 + Shape1(i).Left();
}
Single PictureWindow::CentreY(int i) const {
  return Shape1(i).Height() / 2 + Shape1(i).Top();
}

void PictureWindow::Form_MouseDown(Integer, Integer, Single X, Single Y) {
  Integer d = bytDot + 1;
  if (!HitsDot(d, X, Y)) return;
  Line2->X1(CentreX(d));
  Line2->Y1(CentreY(d));
  Line2->X2(X);
  Line2->Y2(Y);
  blnDrawing = ui::True;
  mnuTomt->Visible(true);
  mnuIgen->Visible(true);
}

void PictureWindow::Form_MouseMove(Integer, Integer, Single X, Single Y) {
  if (blnDrawing != ui::True) return;
  Line2->X2(X);
  Line2->Y2(Y);
}

void PictureWindow::Form_MouseUp(Integer, Integer, Single X, Single Y) {
  if (blnDrawing == ui::False) return;
  blnDrawing = ui::False;
  Integer e = bytDot + 2;
  if (HitsDot(e, X, Y)) {
    bytLine = bytLine + 1;
    bytDot = bytDot + 1;
    ui::Line& segment = Line1(bytLine);
    segment.X1(CentreX(bytDot));
    segment.Y1(CentreY(bytDot));
    segment.X2(CentreX(bytDot + 1));
    segment.Y2(CentreY(bytDot + 1));
    segment.Visible(true);
    if (v_.FrontWhenPlaced) segment.ZOrder(0);
    if (bytDot == v_.SegmentTotal) {
      Picture(imgBild->Picture());
      ui::Beep();
      bytDot = 0;
      bytLine = 0;
    }
  }
  // The rubber band collapses onto the end of the segment placed last; with none placed, onto
  // the end of the template above the client area.
  Line2->X1(Line1(bytLine).X2());
  Line2->Y1(Line1(bytLine).Y2());
  Line2->X2(Line2->X1());
  Line2->Y2(Line2->Y1());
}

void PictureWindow::mnuIgen_Click() {
  Picture(nullptr);
  const int last = v_.SegmentTotal;
  for (ui::Byte i = 1; i <= last; i = i + 1) Line1(i).Visible(false);
  bytDot = 0;
  bytLine = 0;
}

void PictureWindow::mnuAvsluta_Click() {
  ui::Unload(*this);
}

}  // namespace board
