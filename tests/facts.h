// The game's facts as a player sees them, written down once for every test: the windows, their
// client areas and the dot centres in play. Kept apart from the program's own tables on purpose.
#pragma once

#include <vector>

namespace facts {

struct Point {
  float x, y;  // twips
};

struct Picture {
  const char* caption;
  int width, height;  // the client area in pixels
  bool inverts;       // the rubber band inverts what it crosses (grey elsewhere); these windows
                      // also keep their progress when closed and opened again
  std::vector<Point> centres;  // dot 1 first; one segment fewer than dots
  int segments() const { return int(centres.size()) - 1; }
};

inline const char kStartCaption[] = "Fnork till fnork av Bromle";
inline constexpr int kStartWidth = 312, kStartHeight = 298;

// clang-format off
inline const std::vector<Picture> kPictures = {
    {"Bild1", 317, 360, true, {
        {480, 1905}, {4470, 1905}, {4470, 2220}, {4275, 3510}, {3990, 3630}, {4200, 4110},
        {3720, 4185}, {3555, 3705}, {1395, 3705}, {1215, 4110}, {720, 4065}, {945, 3600},
        {630, 3465}, {465, 2205}}},
    {"Bild2", 376, 353, false, {
        {135, 3555}, {2670, 555}, {2850, 555}, {5565, 3690}, {4470, 3030}, {3930, 3645},
        {2700, 2865}, {1800, 3585}, {1200, 3105}, {255, 3630}}},
    {"Bild3", 451, 380, true, {
        {3270, 735}, {2400, 2295}, {825, 2550}, {1845, 3540}, {1455, 5085}, {3495, 4200},
        {5595, 4935}, {4890, 3360}, {6030, 2700}, {4560, 2370}, {3630, 750}}},
    {"Bild4", 451, 400, true, {
        {2895, 2025}, {2265, 1875}, {1515, 1830}, {960, 1965}, {1635, 3615}, {1935, 3870},
        {1725, 4305}, {1965, 5010}, {2655, 5130}, {2970, 5490}, {3315, 4635}, {3615, 4905},
        {3870, 4590}, {4260, 5280}, {4545, 4905}, {5160, 4560}, {5385, 3960}, {5145, 3510},
        {5535, 3120}, {5835, 1575}, {5310, 1530}, {4785, 1695}, {4140, 2085}, {3795, 1620},
        {3330, 1620}, {2955, 930}}},
    {"Bild5", 451, 353, false, {
        {1590, 1515}, {1575, 1050}, {5295, 1050}, {5310, 1785}, {1590, 1785}, {1605, 2070},
        {1200, 3255}, {1965, 4770}, {4935, 4770}, {5730, 3300}, {5310, 2130}}},
    {"Bild6", 413, 412, false, {
        {840, 2955}, {870, 2415}, {5715, 2385}, {5715, 2955}, {945, 3015}, {1365, 4305},
        {5190, 4320}, {4905, 5115}, {1590, 5115}, {1425, 4470}}},
};
// clang-format on

inline const Picture& picture(int n) {
  return kPictures.at(std::size_t(n - 1));
}

}  // namespace facts
