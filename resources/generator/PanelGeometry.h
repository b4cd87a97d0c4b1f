#pragma once

#include <array>
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

// Top-left corners of the LEDs, lowest first: input left and right, output left and right.
inline constexpr std::array<LedTable, 4> kLedTables{{
    {{{28, 49},
      {36, 45},
      {44, 41},
      {51, 38},
      {59, 35},
      {68, 33},
      {76, 31},
      {84, 29},
      {92, 28},
      {101, 27},
      {109, 26},
      {117, 26},
      {126, 26},
      {134, 26},
      {143, 27},
      {151, 28}}},
    {{{37, 64},
      {44, 61},
      {51, 58},
      {58, 55},
      {65, 52},
      {72, 50},
      {80, 48},
      {87, 46},
      {95, 45},
      {102, 44},
      {110, 43},
      {118, 43},
      {125, 43},
      {133, 44},
      {141, 44},
      {148, 45}}},
    {{{605, 49},
      {597, 45},
      {589, 41},
      {582, 38},
      {574, 35},
      {565, 33},
      {557, 31},
      {549, 29},
      {541, 28},
      {532, 27},
      {524, 26},
      {516, 26},
      {507, 26},
      {499, 26},
      {490, 27},
      {482, 28}}},
    {{{596, 64},
      {589, 61},
      {582, 58},
      {575, 55},
      {568, 52},
      {561, 50},
      {553, 48},
      {546, 46},
      {538, 45},
      {531, 44},
      {523, 43},
      {515, 43},
      {508, 43},
      {500, 44},
      {492, 44},
      {485, 45}}},
}};

// The pointer turns through 270 degrees; angles are measured clockwise from straight up.
inline constexpr double kKnobSweepDegrees = 270.0;
inline constexpr double kKnobMinDegrees = -135.0;

} // namespace velmora::art
