// The whole editor, opened through the plug-in's hooks, fed by the plug-in's own idle step: on
// silence it settles and then draws nothing; an edit redraws only what shows it.
#include "tests/editor/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace iplug::igraphics;
using editor_test::OpenVelmora;
using editor_test::ScopedConfigFolder;

namespace
{

constexpr int kBlock = 256;

class EditorRest : public ::testing::Test
{
protected:
  EditorRest()
  {
    Velmora& plugin = mEditor.Plugin();
    plugin.SetSampleRate(48000.0);
    plugin.SetBlockSize(kBlock);
    plugin.SetChannelConnections(2, 2);
    plugin.OnReset();
  }

  // About one idle period of audio at a constant level, then the idle tick and one frame; the
  // regions the frame drew.
  std::vector<PixelRect> Tick(double level)
  {
    std::vector<double> left(kBlock, level);
    std::vector<double> right(kBlock, -level);
    std::vector<double> outLeft(kBlock);
    std::vector<double> outRight(kBlock);
    double* inputs[] = {left.data(), right.data()};
    double* outputs[] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 4; ++block)
      mEditor.Plugin().ProcessBlock(inputs, outputs, kBlock);
    mEditor.Plugin().OnTimer();
    UI().Draw();
    const auto drawn = UI().DrawnRegions();
    return {drawn.begin(), drawn.end()};
  }

  IGraphics& UI() { return mEditor.UI(); }

  // The pixels of the control bound to a parameter.
  PixelRect KnobPixels(int paramIdx)
  {
    for (int i = 0; i < UI().NControls(); ++i)
    {
      const IControl* control = UI().GetControl(i);
      if (control->GetParamIdx() == paramIdx)
      {
        const IRECT& r = control->GetRECT();
        return {static_cast<int>(r.L), static_cast<int>(r.T), static_cast<int>(r.W()),
                static_cast<int>(r.H())};
      }
    }
    return {};
  }

  ScopedConfigFolder mConfig;
  OpenVelmora mEditor;
};

// Silence first, then a loud passage and silence again: the meters rise and fall and then the
// editor draws nothing more, frame after frame.
TEST_F(EditorRest, OnSilenceTheEditorSettlesAndDrawsNothing)
{
  ASSERT_TRUE(mEditor.Plugin().IsMeterFeedOn());
  for (int tick = 0; tick < 3; ++tick)
    Tick(0.0);
  for (int tick = 0; tick < 50; ++tick)
  {
    ASSERT_TRUE(Tick(0.0).empty()) << "tick " << tick;
    ASSERT_FALSE(UI().NeedsFrame()) << "tick " << tick;
  }

  // Meters at work: what is drawn lies within the meters' band at the top.
  int drawingTicks = 0;
  for (int tick = 0; tick < 10; ++tick)
  {
    const std::vector<PixelRect> drawn = Tick(0.7);
    drawingTicks += !drawn.empty();
    for (const PixelRect& region : drawn)
      EXPECT_LE(region.y + region.h, 93) << "tick " << tick;
  }
  EXPECT_GT(drawingTicks, 0);

  // The release takes the levels below the first LED within a second of silence.
  for (int tick = 0; tick < 60; ++tick)
    Tick(0.0);
  for (int tick = 0; tick < 20; ++tick)
    ASSERT_TRUE(Tick(0.0).empty()) << "tick " << tick;
}

// "Mix" is no part of the curve: its edit redraws its knob alone. "Gain" redraws its knob and
// the curve, and an edit too small to move a knob to another frame redraws nothing.
TEST_F(EditorRest, AnEditRedrawsOnlyWhatShowsIt)
{
  for (int tick = 0; tick < 3; ++tick)
    Tick(0.0);
  Velmora& plugin = mEditor.Plugin();
  const auto hostEdit = [&](int paramIdx, double normalized)
  {
    plugin.GetParam(paramIdx)->SetNormalized(normalized);
    plugin.OnParamChange(paramIdx, iplug::EParamSource::kHost, 0);
    plugin.SendParameterValueFromDelegate(paramIdx, normalized, true);
    return Tick(0.0);
  };
  EXPECT_EQ(hostEdit(kMix, 0.8), std::vector<PixelRect>{KnobPixels(kMix)});
  const PixelRect curve{239, 58, 172, 172};
  std::vector<PixelRect> drawn = hostEdit(kGain, 0.3);
  std::sort(drawn.begin(), drawn.end(),
            [](const PixelRect& a, const PixelRect& b)
            { return a.y < b.y || (a.y == b.y && a.x < b.x); });
  EXPECT_EQ(drawn, (std::vector<PixelRect>{curve, KnobPixels(kGain)}));
  EXPECT_TRUE(hostEdit(kMix, 0.8 + 0.1 / 270).empty());
}

} // namespace
