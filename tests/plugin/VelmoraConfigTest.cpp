#include "plugin/VelmoraConfig.h"
#include "plugin/Velmora.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct ParamRow
{
  int index;
  const char* name;
  double defaultValue;
  double min;
  double max;
  const char* label;
  double normalizedDefault;
  double valueAtHalf;
};

// Every parameter as hosts see it.
const ParamRow kParams[] = {
    {kThreshold, "Threshold", 0, -60, 0, "dB", 1.0, -30},
    {kThresholdAsym, "T Assym", 0, -30, 30, "dB", 0.5, 0},
    {kNonlinearity, "Nonlinearity", 1, 1, 1.13, "", 0.0, 1.065},
    {kNonlinearityAsym, "N Assym", 0, -0.06, 0.06, "Offset", 0.5, 0},
    {kKnee, "Knee", 0.1, 0.1, 9, "dB", 0.0, 4.55},
    {kKneeAsym, "K Assym", 0, -9, 9, "dB", 0.5, 0},
    {kModA, "Mod A", 0, 0, 100, "%", 0.0, 50},
    {kModB, "Mod B", 0, 0, 100, "%", 0.0, 50},
    {kGain, "Gain", 0, 0, 60, "dB", 0.0, 30},
    {kMix, "Mix", 50, 0, 100, "%", 0.5, 50},
    {kOutput, "Output", 0, -60, 0, "dB", 1.0, -30},
    {kOversampling, "Oversampling", 0, 0, 1, "", 0.0, 1},
};

} // namespace

TEST(VelmoraConfig, IdentityAndLayout)
{
  Velmora plugin{iplug::InstanceInfo{}};
  const iplug::Config& config = plugin.GetConfig();
  EXPECT_EQ(config.nParams, 12);
  EXPECT_EQ(config.nPresets, 1);
  EXPECT_STREQ(config.pluginName, "Velmora");
  EXPECT_STREQ(config.productName, "Velmora");
  EXPECT_STREQ(config.mfrName, "Corvane Audio");
  EXPECT_EQ(config.vendorVersion, 0x00040102);
  EXPECT_EQ(plugin.GetVersionString(), "4.1.2");
  EXPECT_EQ(config.uniqueID, 0x766D3030);
  EXPECT_EQ(config.mfrID, 0x4372766E);
  EXPECT_FALSE(config.plugDoesMidiIn || config.plugDoesMidiOut || config.plugDoesMPE);
  EXPECT_EQ(config.plugType, iplug::EPlugType::Effect);
  EXPECT_TRUE(config.plugHasUI);
  EXPECT_EQ(config.plugWidth, 650);
  EXPECT_EQ(config.plugHeight, 400);
  EXPECT_EQ(config.plugMinWidth, 216);
  EXPECT_EQ(config.plugMaxWidth, 1950);
  EXPECT_EQ(config.plugMinHeight, 133);
  EXPECT_EQ(config.plugMaxHeight, 1200);
  EXPECT_FALSE(config.plugHostResize);
  EXPECT_STREQ(config.bundleID, "");
  EXPECT_STREQ(config.appGroupID, "");

  ASSERT_EQ(plugin.NIOConfigs(), 2);
  EXPECT_EQ(plugin.GetIOConfig(0), (iplug::IOConfig{1, 1}));
  EXPECT_EQ(plugin.GetIOConfig(1), (iplug::IOConfig{2, 2}));
  EXPECT_TRUE(plugin.LegalIO(1, 1));
  EXPECT_TRUE(plugin.LegalIO(2, 2));
  EXPECT_FALSE(plugin.LegalIO(1, 2));
  EXPECT_FALSE(plugin.LegalIO(2, 1));
  EXPECT_EQ(plugin.GetLatency(), 0);
}

TEST(VelmoraParams, TableDefaultsAndNormalisedMapping)
{
  Velmora plugin{iplug::InstanceInfo{}};
  ASSERT_EQ(plugin.NParams(), 12);
  for (const ParamRow& row : kParams)
  {
    SCOPED_TRACE(row.name);
    const iplug::IParam* p = plugin.GetParam(row.index);
    EXPECT_STREQ(p->GetName(), row.name);
    EXPECT_STREQ(p->GetLabel(), row.label);
    EXPECT_STREQ(p->GetGroup(), "");
    EXPECT_EQ(p->Value(), row.defaultValue);
    EXPECT_EQ(p->GetMin(), row.min);
    EXPECT_EQ(p->GetMax(), row.max);
    EXPECT_DOUBLE_EQ(p->GetDefault(true), row.normalizedDefault);
    EXPECT_DOUBLE_EQ(p->Constrain(p->FromNormalized(0.5)), row.valueAtHalf);
    const bool isSwitch = row.index == kOversampling;
    EXPECT_EQ(p->GetCanAutomate(), !isSwitch);
    EXPECT_EQ(p->GetStepped(), isSwitch);
  }
}

TEST(VelmoraParams, DisplayTexts)
{
  Velmora plugin{iplug::InstanceInfo{}};
  EXPECT_EQ(plugin.GetParam(kNonlinearity)->GetDisplay(1.05), "1.0500");
  EXPECT_EQ(plugin.GetParam(kNonlinearityAsym)->GetDisplay(-0.0125), "-0.0125");
  EXPECT_EQ(plugin.GetParam(kNonlinearityAsym)->GetDisplay(0.01, true), "0.0100 Offset");
  for (int i : {kThreshold, kThresholdAsym, kKnee, kKneeAsym, kModA, kModB, kGain, kMix, kOutput})
    EXPECT_EQ(plugin.GetParam(i)->GetDisplayPrecision(), 1) << plugin.GetParam(i)->GetName();
  EXPECT_EQ(plugin.GetParam(kMix)->GetDisplay(), "50.0");
  EXPECT_EQ(plugin.GetParam(kOversampling)->GetDisplay(), "off");
}

TEST(VelmoraParams, OversamplingAtHalfIsOnAndValuesAreClamped)
{
  Velmora plugin{iplug::InstanceInfo{}};
  iplug::IParam* os = plugin.GetParam(kOversampling);
  os->SetNormalized(0.5);
  EXPECT_EQ(os->Value(), 1.0);
  EXPECT_EQ(os->GetDisplay(), "on");

  plugin.GetParam(kMix)->Set(150.0);
  EXPECT_EQ(plugin.GetParam(kMix)->Value(), 100.0);
  plugin.GetParam(kThreshold)->Set(-1000.0);
  EXPECT_EQ(plugin.GetParam(kThreshold)->Value(), -60.0);
  plugin.GetParam(kNonlinearity)->Set(0.5);
  EXPECT_EQ(plugin.GetParam(kNonlinearity)->Value(), 1.0);
}
