#pragma once

#include "editor/LedPositions.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace velmora::art
{

// Where the editor puts things, in editor units; the artwork is drawn to match.
inline constexpr int kPanelWidth = 650;
inline constexpr int kPanelHeight = 400;

inline constexpr int kStripColumns = 16;
inline constexpr int kStripRows = 17;
inline constexpr int kStripFrames = 271;
inline constexpr int kLargeKnobSize = 64;
inline constexpr int kSmallKnobSize = 47;
inline constexpr int kLedSize = 16;
inline constexpr int kSwitchSize = 29;

struct KnobPlace
{
  std::string_view label;
  int x;
  int y;
  int size;
  bool bipolar; // centre detent: the default sits in the middle of the range
};

inline constexpr std::array<KnobPlace, 11> kKnobs{{
    {"THRESHOLD", 24, 152, kLargeKnobSize, false},
    {"T ASSYM", 112, 145, kSmallKnobSize, true},
    {"KNEE", 26, 309, kLargeKnobSize, false},
    {"K ASSYM", 63, 249, kSmallKnobSize, true},
    {"NONLINEARITY", 563, 152, kLargeKnobSize, false},
    {"N ASSYM", 494, 146, kSmallKnobSize, true},
    {"MOD A", 539, 250, kSmallKnobSize, false},
    {"MOD B", 571, 318, kSmallKnobSize, false},
    {"GAIN", 154, 268, kLargeKnobSize, false},
    {"MIX", 370, 294, kSmallKnobSize, false},
    {"OUTPUT", 443, 267, kSmallKnobSize, false},
}};

inline constexpr int kSwitchX = 480;
inline constexpr int kSwitchY = 330;

struct Rect
{
  double left;
  double top;
  double right;
  double bottom;
};

inline constexpr Rect kCurveDisplay{239, 58, 411, 230};
inline constexpr Rect kVersionArea{562, 0, 650, 13};

struct Point
{
  int x;
  int y;
};

using LedTable = std::array<Point, 16>;

// Top-left corners of the LEDs, as the editor's meters place them.
inline constexpr std::array<LedTable, 4> ToPoints(const std::array<::velmora::LedTable, 4>& tables)
{
  std::array<LedTable, 4> points{};
  for (std::size_t m = 0; m < tables.size(); ++m)
    for (std::size_t i = 0; i < tables[m].size(); ++i)
      points[m][i] = Point{tables[m][i][0], tables[m][i][1]};
  return points;
}
inline constexpr std::array<LedTable, 4> kLedTables = ToPoints(::velmora::kLedTables);

// The pointer turns through 270 degrees; angles are measured clockwise from straight up.
inline constexpr double kKnobSweepDegrees = 270.0;
inline constexpr double kKnobMinDegrees = -135.0;

} // namespace velmora::art
