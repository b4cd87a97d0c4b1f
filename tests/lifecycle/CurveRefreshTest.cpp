#include "dsp/SaturationCurve.h"
#include "plugin/CurvePoints.h"
#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using lifecycle_test::PluginHarness;

namespace
{

// The default curve is the identity, so point i is the input -1 + 2i/172 mapped to 0..1 in
// double precision, with the first point raised to the floor.
double DefaultPoint(int i)
{
  const double x = static_cast<double>(i) / 172.0 * 2.0 - 1.0;
  return std::max((x + 1.0) * 0.5, velmora::kCurvePointFloor);
}

} // namespace

TEST(CurveRefresh, DefaultsGiveTheStraightLineRaisedAtItsFoot)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  const std::vector<double> points = h.Editor().CurvePoints();
  ASSERT_EQ(points.size(), 172u);
  EXPECT_EQ(points[0], 0.0015);
  for (int i = 1; i < 172; ++i)
  {
    EXPECT_EQ(points[static_cast<size_t>(i)], DefaultPoint(i)) << i;
    EXPECT_NEAR(points[static_cast<size_t>(i)], i / 172.0, 1e-15) << i;
  }
}

TEST(CurveRefresh, PointsStayWithinFloorAndCeiling)
{
  struct Case
  {
    const char* name;
    int param;
    double normalized;
  };
  const Case cases[] = {
      {"high gain", kGain, 1.0},
      {"full polynomial stage", kModA, 1.0},
      {"full sine stage", kModB, 1.0},
      {"low threshold", kThreshold, 0.0},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    PluginHarness h;
    h.Plugin().OpenEditor();
    h.Edit(c.param, c.normalized);
    const std::vector<double> points = h.Editor().CurvePoints();
    ASSERT_EQ(points.size(), 172u);
    for (const double y : points)
    {
      EXPECT_GE(y, velmora::kCurvePointFloor);
      EXPECT_LE(y, velmora::kCurvePointCeiling);
    }
    if (c.param == kGain)
    {
      EXPECT_EQ(points.front(), 0.0015);
      EXPECT_EQ(points.back(), 0.999);
    }
  }
}

TEST(CurveRefresh, EveryCurveParameterRefreshesAndOversamplingNever)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  auto* curve = h.Editor().Curve();
  // The control redraws only for points that differ from its own, so each change meets a
  // control that holds a flat line instead of the curve.
  const std::vector<double> flat(172, 0.5);
  const auto plantFlatLine = [&]
  {
    curve->SetPoints(flat);
    curve->ClearDirty();
  };
  for (int i = 0; i < kNumParams; ++i)
  {
    SCOPED_TRACE(i);
    plantFlatLine();
    h.Edit(i, 0.7);
    EXPECT_EQ(curve->IsDirty(), i != kOversampling);
    EXPECT_EQ(h.Editor().CurvePoints() != flat, i != kOversampling);
    plantFlatLine();
    h.Plugin().OnParamChange(i, iplug::EParamSource::kHost, 0);
    EXPECT_EQ(curve->IsDirty(), i != kOversampling);
  }
}

TEST(CurveRefresh, TheSameCurveAgainLeavesTheControlUnmarked)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  auto* curve = h.Editor().Curve();
  h.Edit(kGain, 0.5);
  curve->ClearDirty();
  // Mix and Output are not part of the curve; a refresh with unchanged parameters gives the same.
  for (const int param : {kMix, kOutput, kGain})
  {
    SCOPED_TRACE(param);
    h.Edit(param, param == kGain ? 0.5 : 0.2);
    EXPECT_FALSE(curve->IsDirty());
  }
  h.Edit(kGain, 0.6);
  EXPECT_TRUE(curve->IsDirty());
}

TEST(CurveRefresh, FollowsTheCoefficientsInForce)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  h.Edit(kModB, 0.6);
  h.Edit(kThreshold, 0.5);
  velmora::ShaperCoefficients record;
  ASSERT_TRUE(h.Plugin().TryReadCoefficients(record));
  const std::vector<double> points = h.Editor().CurvePoints();
  ASSERT_EQ(points.size(), 172u);
  for (size_t i = 0; i < points.size(); ++i)
  {
    const double x = static_cast<double>(i) / 172.0 * 2.0 - 1.0;
    const double y = (velmora::ShapeStatic(x, record) + 1.0) * 0.5;
    EXPECT_EQ(points[i], std::clamp(y, velmora::kCurvePointFloor, velmora::kCurvePointCeiling));
  }
}

TEST(CurveRefresh, WithTheEditorClosedNoCurveIsComputed)
{
  PluginHarness h;
  h.Plugin().OpenEditor();
  const std::vector<double> line = h.Editor().CurvePoints();
  h.Plugin().CloseEditor();
  h.Edit(kGain, 1.0);
  const auto kept = h.Plugin().GetCurvePoints();
  EXPECT_EQ(std::vector<double>(kept.begin(), kept.end()), line);

  // The coefficients did follow, and the next editor shows the curve they give.
  h.Plugin().OpenEditor();
  EXPECT_EQ(h.Editor().CurvePoints().back(), 0.999);
}

TEST(CurveRefresh, ANewInstanceComputesNoCurve)
{
  PluginHarness h;
  h.Edit(kGain, 0.5);
  for (const double y : h.Plugin().GetCurvePoints())
    EXPECT_EQ(y, 0.0);
}

// The curve display takes its points by copy: what drawing copies out is whole and does not
// change under it.
TEST(TransferCurveControl, HandsOutWholeCopiesOfItsPoints)
{
  using namespace iplug::igraphics;
  ITransferCurveControl curve(IRECT{239.f, 58.f, 411.f, 230.f}, IColor{255, 149, 219, 94},
                              IBlend{EBlend::Add, 1.f});
  std::vector<double> copy{1.0};
  curve.CopyPoints(copy);
  EXPECT_TRUE(copy.empty());
  EXPECT_TRUE(curve.GetIgnoreMouse());

  curve.ReservePoints(172);
  curve.ClearDirty();
  const std::vector<double> first(172, 0.5);
  curve.SetPoints(first);
  EXPECT_TRUE(curve.IsDirty());
  curve.CopyPoints(copy);
  EXPECT_EQ(copy, first);
  const std::vector<double> second(172, 0.25);
  curve.SetPoints(second);
  EXPECT_EQ(copy, first);
  curve.CopyPoints(copy);
  EXPECT_EQ(copy, second);
}
