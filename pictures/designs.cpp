#include "pictures/designs.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pictures {

extern const ui::PictureData kBild1Gif, kBild2Gif, kBild3Gif, kBild4Gif, kBild5Gif, kBild6Gif;

namespace {

using ui::Color;
using ui::ElementDesign;
using ui::Kind;

struct Dot {
  int left, top, width, height, labelLeft, labelTop;
};

struct Table {
  const char* caption;
  int clientWidth, clientHeight;
  int dot0Width, dot0Height;  // the hidden Shape1(0)
  bool invertRubberBand;
  int pictureLeft;  // the box of imgBild starts here; the background always shows the picture
                    // from the client area's corner
  const ui::PictureData* picture;
  int labelsInFrontFrom;  // dots from this number on lie in front of the labels (0: none)
  std::vector<Dot> dots;  // dot 1 first
};

const char* const kNumbers[] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                "9",  "10", "11", "12", "13", "14", "15", "16", "17",
                                "18", "19", "20", "21", "22", "23", "24", "25", "26"};

const Color kGrey = Color::rgb(128, 128, 128);

// clang-format off
const std::array<Table, kPictureCount> kTables = {{
    {"Bild1", 4755, 5400, 120, 120, true, 0, &kBild1Gif, 0, {
        {405, 1830, 150, 150, 285, 1650},   {4395, 1830, 150, 150, 4275, 1620},
        {4395, 2145, 150, 150, 4275, 1950}, {4200, 3435, 150, 150, 4110, 3255},
        {3915, 3555, 150, 150, 3795, 3360}, {4125, 4035, 150, 150, 4020, 3870},
        {3645, 4110, 150, 150, 3540, 3930}, {3480, 3630, 150, 150, 3360, 3450},
        {1320, 3630, 150, 150, 1215, 3450}, {1140, 4035, 150, 150, 915, 3885},
        {645, 3990, 150, 150, 420, 3825},   {870, 3525, 150, 150, 765, 3270},
        {555, 3390, 150, 150, 345, 3210},   {390, 2130, 150, 150, 165, 1980}}},
    {"Bild2", 5640, 5295, 150, 150, false, 0, &kBild2Gif, 0, {
        {60, 3480, 120, 150, 30, 3270},     {2595, 480, 120, 150, 2460, 300},
        {2775, 480, 120, 150, 2910, 300},   {5490, 3615, 120, 150, 5475, 3390},
        {4395, 2955, 120, 150, 4395, 3075}, {3855, 3570, 120, 150, 3855, 3705},
        {2625, 2790, 120, 150, 2475, 2550}, {1725, 3510, 120, 150, 1590, 3645},
        {1125, 3030, 120, 150, 975, 2880},  {180, 3555, 120, 150, 285, 3630}}},
    {"Bild3", 6765, 5700, 120, 120, true, 0, &kBild3Gif, 0, {
        {3195, 660, 150, 150, 3075, 510},   {2325, 2220, 150, 150, 2205, 2085},
        {750, 2475, 150, 150, 630, 2280},   {1770, 3465, 150, 150, 1680, 3285},
        {1380, 5010, 150, 150, 1260, 4815}, {3420, 4125, 150, 150, 3315, 3960},
        {5520, 4860, 150, 150, 5385, 4680}, {4815, 3285, 150, 150, 4680, 3120},
        {5955, 2625, 150, 150, 5820, 2430}, {4485, 2295, 150, 150, 4275, 2115},
        {3555, 675, 150, 150, 3690, 645}}},
    {"Bild4", 6765, 6000, 120, 120, true, 0, &kBild4Gif, 15, {
        {2820, 1950, 150, 150, 2700, 1800}, {2190, 1800, 150, 150, 2070, 1665},
        {1440, 1755, 150, 150, 1320, 1560}, {885, 1890, 150, 150, 795, 1710},
        {1560, 3540, 150, 150, 1440, 3345}, {1860, 3795, 150, 150, 1755, 3630},
        {1650, 4230, 150, 150, 1545, 4050}, {1890, 4935, 150, 150, 1770, 4755},
        {2580, 5055, 150, 150, 2475, 4875}, {2895, 5415, 150, 150, 2670, 5265},
        {3240, 4560, 150, 150, 2970, 4485}, {3540, 4830, 150, 150, 3480, 4995},
        {3795, 4515, 150, 150, 3900, 4320}, {4185, 5205, 150, 150, 4215, 5310},
        {4470, 4830, 150, 150, 4605, 4815}, {5085, 4485, 150, 150, 5235, 4350},
        {5310, 3885, 150, 150, 5085, 3750}, {5070, 3435, 150, 150, 4845, 3270},
        {5460, 3045, 150, 150, 5250, 2880}, {5760, 1500, 150, 150, 5535, 1335},
        {5235, 1455, 150, 150, 5010, 1275}, {4710, 1620, 150, 150, 4485, 1455},
        {4065, 2010, 150, 150, 4200, 2010}, {3720, 1545, 150, 150, 3855, 1470},
        {3255, 1545, 150, 150, 3030, 1365}, {2880, 855, 150, 150, 2985, 660}}},
    {"Bild5", 6765, 5295, 150, 150, false, -15, &kBild5Gif, 0, {
        {1515, 1440, 120, 150, 1395, 1440}, {1500, 975, 120, 150, 1365, 900},
        {5220, 975, 120, 150, 5370, 945},   {5235, 1710, 120, 150, 5445, 1620},
        {1515, 1710, 120, 150, 1680, 1725}, {1530, 1995, 120, 150, 1365, 1995},
        {1125, 3180, 120, 150, 975, 3150},  {1890, 4695, 120, 150, 1815, 4845},
        {4860, 4695, 120, 150, 4965, 4845}, {5655, 3225, 120, 150, 5835, 3195},
        {5235, 2055, 120, 120, 5355, 2025}}},
    {"Bild6", 6195, 6180, 150, 150, false, 0, &kBild6Gif, 0, {
        {765, 2880, 150, 150, 690, 2985},   {795, 2340, 150, 150, 675, 2415},
        {5640, 2310, 150, 150, 5775, 2430}, {5640, 2880, 150, 150, 5790, 2880},
        {870, 2940, 150, 150, 930, 3105},   {1290, 4230, 150, 150, 1155, 4110},
        {5115, 4245, 150, 150, 5310, 4275}, {4830, 5040, 150, 150, 4950, 5190},
        {1515, 5040, 150, 150, 1590, 5235}, {1350, 4395, 150, 150, 1110, 4425}}},
}};
// clang-format on

ElementDesign dotDesign(int index, int left, int top, int width, int height, bool visible) {
  ElementDesign d;
  d.kind = Kind::Shape;
  d.name = "Shape1";
  d.index = std::int16_t(index);
  d.visible = visible;
  d.left = float(left);
  d.top = float(top);
  d.width = float(width);
  d.height = float(height);
  d.color = Color::of(Color::System::WindowText);
  return d;
}

ui::FormDesign build(const Table& t) {
  ui::FormDesign f;
  f.caption = t.caption;
  f.clientWidth = float(t.clientWidth);
  f.clientHeight = float(t.clientHeight);
  const int n = int(t.dots.size());
  const int frontFrom = t.labelsInFrontFrom == 0 ? n + 1 : t.labelsInFrontFrom;

  // Back to front: the hidden finished picture, the dots with the template segment, the rubber
  // band, the number labels (and in front of them, where a window says so, its last dots).
  ElementDesign img;
  img.kind = Kind::Image;
  img.name = "imgBild";
  img.visible = false;
  img.left = float(t.pictureLeft);
  img.width = float(t.picture->width() * ui::kTwipsPerPixel);
  img.height = float(t.picture->height() * ui::kTwipsPerPixel);
  img.picture = t.picture;
  f.elements.push_back(img);

  f.elements.push_back(dotDesign(0, 0, 0, t.dot0Width, t.dot0Height, false));
  for (int i = 1; i < frontFrom; ++i) {
    const Dot& d = t.dots[std::size_t(i - 1)];
    f.elements.push_back(dotDesign(i, d.left, d.top, d.width, d.height, true));
  }

  ElementDesign segment;
  segment.kind = Kind::Line;
  segment.name = "Line1";
  segment.index = 0;
  segment.x1 = 465;
  segment.y1 = -75;
  segment.x2 = 4455;
  segment.y2 = -75;
  segment.borderWidth = 2;
  segment.drawMode = ui::kDrawCopyPen;
  segment.color = kGrey;
  f.elements.push_back(segment);

  ElementDesign band;
  band.kind = Kind::Line;
  band.name = "Line2";
  band.x1 = 150;
  band.y1 = -150;
  band.x2 = 300;
  band.y2 = -150;
  band.borderWidth = 2;
  band.drawMode = t.invertRubberBand ? ui::kDrawInvert : ui::kDrawCopyPen;
  band.color = kGrey;
  f.elements.push_back(band);

  for (int i = 1; i <= n; ++i) {
    const Dot& d = t.dots[std::size_t(i - 1)];
    ElementDesign label;
    label.kind = Kind::Label;
    label.name = "Label1";
    label.index = std::int16_t(i);
    label.left = float(d.labelLeft);
    label.top = float(d.labelTop);
    label.width = i < 10 ? 120 : 240;
    label.height = 210;
    label.caption = kNumbers[i];
    label.font = {"Verdana", 9, 400};
    label.color = Color::of(Color::System::ButtonText);
    f.elements.push_back(label);
  }
  for (int i = frontFrom; i <= n; ++i) {
    const Dot& d = t.dots[std::size_t(i - 1)];
    f.elements.push_back(dotDesign(i, d.left, d.top, d.width, d.height, true));
  }

  f.menus = {{0, "mnuMeny", ui::kNoIndex, "&Meny"},
             {1, "mnuIgen", ui::kNoIndex, "&Börja om"},
             {1, "mnuTomt", ui::kNoIndex, "-"},
             {1, "mnuAvsluta", ui::kNoIndex, "&Avsluta"}};
  return f;
}

}  // namespace

const ui::FormDesign& design(int number) {
  static const std::array<ui::FormDesign, kPictureCount> designs = [] {
    std::array<ui::FormDesign, kPictureCount> a;
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = build(kTables[i]);
    return a;
  }();
  return designs.at(std::size_t(number - 1));
}

const ui::PictureData& finishedPicture(int number) {
  return *kTables.at(std::size_t(number - 1)).picture;
}

}  // namespace pictures
