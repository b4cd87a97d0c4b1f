#include "editor/DisplayScalePreference.h"
#include "editor/EditorLayout.h"
#include "editor/ITransferCurveControl.h"
#include "plugin/CurvePoints.h"
#include "tests/editor/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using namespace iplug::igraphics;
using editor_test::OpenVelmora;
using editor_test::ScopedConfigFolder;

namespace
{

// Counts how often the editor it sits in changes size.
class ResizeProbe final : public IControl
{
public:
  explicit ResizeProbe(int& resizes) : IControl({}), mResizes(resizes) {}
  void OnResize() override { ++mResizes; }

private:
  int& mResizes;
};

bool SameRecord(const velmora::ShaperCoefficients& a, const velmora::ShaperCoefficients& b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

velmora::ShaperCoefficients CoefficientsInForce(const Velmora& plugin)
{
  velmora::ShaperCoefficients record;
  EXPECT_TRUE(plugin.TryReadCoefficients(record));
  return record;
}

std::vector<double> ShownCurve(IGraphics& ui)
{
  std::vector<double> points;
  dynamic_cast<const ITransferCurveControl&>(*ui.GetControl(13)).CopyPoints(points);
  return points;
}

// The loudest output sample of one block of a constant input.
double PeakOfProcessedBlock(Velmora& plugin, double level)
{
  std::vector<double> in(64, level);
  std::vector<double> out(64, 0.0);
  double* inputs[] = {in.data()};
  double* outputs[] = {out.data()};
  plugin.ProcessBlock(inputs, outputs, 64);
  double peak = 0.0;
  for (const double v : out)
    peak = std::max(peak, std::fabs(v));
  return peak;
}

class EditorHooks : public ::testing::Test
{
protected:
  ScopedConfigFolder mConfig;
};

} // namespace

TEST_F(EditorHooks, EditorOpensAtTheScaleAnotherInstanceStored)
{
  {
    OpenVelmora first;
    EXPECT_EQ(first.UI().GetDrawScale(), 1.f);
    EXPECT_EQ(first.UI().Width(), 650);
    EXPECT_EQ(first.UI().Height(), 400);
    EXPECT_EQ(first.UI().FPS(), 60);
    IRasterScaleCornerDragControl::RescaleEditor(first.UI(), 1.5f);
    first.Plugin().CloseEditor();
    EXPECT_EQ(mConfig.PreferenceText(), "1.5000\n");
  }
  OpenVelmora second;
  EXPECT_EQ(second.UI().GetDrawScale(), 1.5f);
  EXPECT_EQ(second.UI().WindowWidth(), 975);
  EXPECT_EQ(second.Corner().GetHitRECT().L, 650.f - 40.f / 1.5f + 1.f);
}

TEST_F(EditorHooks, OpeningResizesOnlyWhenTheStoredScaleChangedMeanwhile)
{
  const struct
  {
    const char* name;
    float storedBeforeCreation;
    float storedBeforeOpening; // 0: unchanged
    int resizes;
    float scale;
  } cases[] = {
      {"same scale", 1.5f, 0.f, 0, 1.5f},
      {"another instance stored 1.75", 1.5f, 1.75f, 1, 1.75f},
      {"within 0.0001", 1.5f, 1.50005f, 0, 1.5f},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(velmora::WritePreference("velmora", c.storedBeforeCreation));
    Velmora plugin{iplug::InstanceInfo{}};
    int resizes = 0;
    plugin.SetLayoutFunc(
        [&](IGraphics& ui)
        {
          velmora::LayoutEditor(ui, [&](ITransferCurveControl* curve)
                                { plugin.LinkCurveControl(curve); });
          ui.AttachControl(std::make_unique<ResizeProbe>(resizes));
          if (c.storedBeforeOpening > 0.f)
          {
            ASSERT_TRUE(velmora::WritePreference("velmora", c.storedBeforeOpening));
          }
        });
    IGraphics* ui = plugin.OpenEditor();
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(resizes > 0 ? 1 : 0, c.resizes);
    EXPECT_EQ(ui->GetDrawScale(), c.scale);
    EXPECT_FALSE(ui->IsResizingInProcess());
  }
}

TEST_F(EditorHooks, AfterClosingParameterChangesReachOnlyTheCoefficients)
{
  OpenVelmora editor;
  Velmora& plugin = editor.Plugin();
  plugin.CloseEditor();
  const std::vector<double> handed(plugin.GetCurvePoints().begin(), plugin.GetCurvePoints().end());
  const velmora::ShaperCoefficients before = CoefficientsInForce(plugin);

  plugin.SendParameterValueFromUI(kGain, 0.5);

  EXPECT_FALSE(SameRecord(CoefficientsInForce(plugin), before));
  EXPECT_EQ(std::vector<double>(plugin.GetCurvePoints().begin(), plugin.GetCurvePoints().end()),
            handed);
}

TEST_F(EditorHooks, OpeningAndClosingAHundredTimesKeepsEverythingInPlace)
{
  Velmora plugin{iplug::InstanceInfo{}};
  for (int i = 0; i < 100; ++i)
  {
    IGraphics* ui = plugin.OpenEditor();
    ASSERT_NE(ui, nullptr);
    ASSERT_EQ(ui->NControls(), 21);
    ASSERT_EQ(ShownCurve(*ui).size(), static_cast<size_t>(Velmora::kCurvePointCount));
    plugin.CloseEditor();
    ASSERT_EQ(plugin.GetUI(), nullptr);
  }
  EXPECT_EQ(mConfig.PreferenceText(), "1.0000\n");
}

TEST_F(EditorHooks, DraggingAKnobChangesWhatTheAudioThreadUsesAndTheCurveShown)
{
  OpenVelmora editor;
  Velmora& plugin = editor.Plugin();
  IGraphics& ui = editor.UI();
  plugin.SetSampleRate(48000.0);
  plugin.SetBlockSize(64);
  plugin.SetChannelConnections(1, 1);
  plugin.OnReset();
  const double quiet = PeakOfProcessedBlock(plugin, 0.1);
  const std::vector<double> curveBefore = ShownCurve(ui);
  const velmora::ShaperCoefficients before = CoefficientsInForce(plugin);

  // Gain sits at its minimum; dragging its knob up by a quarter of 4 x its height raises it by
  // a quarter of its range.
  const IRECT gain = ui.GetControl(9)->GetRECT();
  ui.OnMouseDown(gain.MW(), gain.MH(), {true});
  for (int step = 1; step <= 16; ++step)
    ui.OnMouseDrag(gain.MW(), gain.MH() - 4.f * step, 0.f, -4.f, {true});
  ui.OnMouseUp(gain.MW(), gain.MH() - 64.f, {true});

  EXPECT_NEAR(plugin.GetParam(kGain)->Value(), 15.0, 0.01);
  const velmora::ShaperCoefficients after = CoefficientsInForce(plugin);
  EXPECT_FALSE(SameRecord(after, before));
  EXPECT_GT(PeakOfProcessedBlock(plugin, 0.1), quiet * 1.5);

  std::vector<double> expected(Velmora::kCurvePointCount);
  velmora::ComputeCurvePoints(after, expected);
  EXPECT_EQ(ShownCurve(ui), expected);
  EXPECT_NE(ShownCurve(ui), curveBefore);
}
