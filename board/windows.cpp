#include "board/windows.h"

#include <array>

#include "pictures/designs.h"

namespace board {

namespace {

// SegmentTotal, FrontAtSetUp, CopyPenAtSetUp, UniformDotSize, StartOverAfterResize,
// FrontWhenPlaced.
const std::array<Variation, pictures::kPictureCount> kVariations = {{
    {13, true, false, false, false, false},
    {9, false, true, true, false, true},
    {10, false, true, false, false, false},
    {25, false, false, false, false, false},
    {10, false, false, true, true, true},
    {9, false, true, true, false, true},
}};

template <int N>
std::unique_ptr<ui::Form> make() {
  return std::make_unique<PictureWindow>(pictures::design(N), variation(N));
}

}  // namespace

const ui::WindowClass frmBild1("frmBild1", &make<1>);
const ui::WindowClass frmBild2("frmBild2", &make<2>);
const ui::WindowClass frmBild3("frmBild3", &make<3>);
const ui::WindowClass frmBild4("frmBild4", &make<4>);
const ui::WindowClass frmBild5("frmBild5", &make<5>);
const ui::WindowClass frmBild6("frmBild6", &make<6>);

const ui::WindowClass& frmBild(int number) {
  static const std::array<const ui::WindowClass*, pictures::kPictureCount> classes = {
      &frmBild1, &frmBild2, &frmBild3, &frmBild4, &frmBild5, &frmBild6};
  return *classes.at(std::size_t(number - 1));
}

const Variation& variation(int number) {
  return kVariations.at(std::size_t(number - 1));
}

}  // namespace board
