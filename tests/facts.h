// The game's facts as a player sees them, written down once for every test: the windows, their
// client areas and the dot centres in play. Kept apart from the program's own tables on purpose.
#pragma once

#include <vector>

namespace facts {

// A dot's centre in play and its number's top-left corner, in twips.
struct Dot {
  float x, y, labelLeft, labelTop;
};

struct Picture {
  const char* caption;
  int width, height;      // the client area in pixels
  bool inverts;           // the rubber band inverts what it crosses (grey elsewhere); these windows
                          // also keep their progress when closed and opened again
  std::vector<Dot> dots;  // dot 1 first; one segment fewer than dots
  int segments() const { return int(dots.size()) - 1; }
};

inline const char kStartCaption[] = "Fnork till fnork av Bromle";
inline constexpr int kStartWidth = 312, kStartHeight = 298;
// The title's three lines, in twips, all in bold 48-point "Comic Sans MS".
struct TitleLine {
  const char* caption;
  float left, top, width, height;
};
inline const TitleLine kTitle[] = {{"Fnork", 1185, 330, 2280, 1350},
                                   {"till", 1695, 1470, 1260, 1350},
                                   {"fnork", 1185, 2505, 2280, 1350}};

// clang-format off
inline const std::vector<Picture> kPictures = {
    {"Bild1", 317, 360, true, {
    {480, 1905, 285, 1650}, {4470, 1905, 4275, 1620}, {4470, 2220, 4275, 1950},
    {4275, 3510, 4110, 3255}, {3990, 3630, 3795, 3360}, {4200, 4110, 4020, 3870},
    {3720, 4185, 3540, 3930}, {3555, 3705, 3360, 3450}, {1395, 3705, 1215, 3450},
    {1215, 4110, 915, 3885}, {720, 4065, 420, 3825}, {945, 3600, 765, 3270}, {630, 3465, 345, 3210},
    {465, 2205, 165, 1980}}},
    {"Bild2", 376, 353, false, {
    {135, 3555, 30, 3270}, {2670, 555, 2460, 300}, {2850, 555, 2910, 300}, {5565, 3690, 5475, 3390},
    {4470, 3030, 4395, 3075}, {3930, 3645, 3855, 3705}, {2700, 2865, 2475, 2550},
    {1800, 3585, 1590, 3645}, {1200, 3105, 975, 2880}, {255, 3630, 285, 3630}}},
    {"Bild3", 451, 380, true, {
    {3270, 735, 3075, 510}, {2400, 2295, 2205, 2085}, {825, 2550, 630, 2280},
    {1845, 3540, 1680, 3285}, {1455, 5085, 1260, 4815}, {3495, 4200, 3315, 3960},
    {5595, 4935, 5385, 4680}, {4890, 3360, 4680, 3120}, {6030, 2700, 5820, 2430},
    {4560, 2370, 4275, 2115}, {3630, 750, 3690, 645}}},
    {"Bild4", 451, 400, true, {
    {2895, 2025, 2700, 1800}, {2265, 1875, 2070, 1665}, {1515, 1830, 1320, 1560},
    {960, 1965, 795, 1710}, {1635, 3615, 1440, 3345}, {1935, 3870, 1755, 3630},
    {1725, 4305, 1545, 4050}, {1965, 5010, 1770, 4755}, {2655, 5130, 2475, 4875},
    {2970, 5490, 2670, 5265}, {3315, 4635, 2970, 4485}, {3615, 4905, 3480, 4995},
    {3870, 4590, 3900, 4320}, {4260, 5280, 4215, 5310}, {4545, 4905, 4605, 4815},
    {5160, 4560, 5235, 4350}, {5385, 3960, 5085, 3750}, {5145, 3510, 4845, 3270},
    {5535, 3120, 5250, 2880}, {5835, 1575, 5535, 1335}, {5310, 1530, 5010, 1275},
    {4785, 1695, 4485, 1455}, {4140, 2085, 4200, 2010}, {3795, 1620, 3855, 1470},
    {3330, 1620, 3030, 1365}, {2955, 930, 2985, 660}}},
    {"Bild5", 451, 353, false, {
    {1590, 1515, 1395, 1440}, {1575, 1050, 1365, 900}, {5295, 1050, 5370, 945},
    {5310, 1785, 5445, 1620}, {1590, 1785, 1680, 1725}, {1605, 2070, 1365, 1995},
    {1200, 3255, 975, 3150}, {1965, 4770, 1815, 4845}, {4935, 4770, 4965, 4845},
    {5730, 3300, 5835, 3195}, {5310, 2130, 5355, 2025}}},
    {"Bild6", 413, 412, false, {
    {840, 2955, 690, 2985}, {870, 2415, 675, 2415}, {5715, 2385, 5775, 2430},
    {5715, 2955, 5790, 2880}, {945, 3015, 930, 3105}, {1365, 4305, 1155, 4110},
    {5190, 4320, 5310, 4275}, {4905, 5115, 4950, 5190}, {1590, 5115, 1590, 5235},
    {1425, 4470, 1110, 4425}}},
};
// clang-format on

inline const Picture& picture(int n) {
  return kPictures.at(std::size_t(n - 1));
}

}  // namespace facts
