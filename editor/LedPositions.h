#pragma once

#include <array>

namespace velmora
{

inline constexpr int kLedsPerMeter = 16;
using LedTable = std::array<std::array<int, 2>, kLedsPerMeter>;

// Top-left corners of each LED meter's LEDs, lowest first, for the tags 1 to 4: input left and
// right (the outer and inner arc on the left), output left and right (mirrored on the right).
// The artwork paints the unlit LEDs here and the meters add their glow on top.
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

} // namespace velmora
