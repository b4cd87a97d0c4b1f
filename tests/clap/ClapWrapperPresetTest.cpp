// Loading an initialised preset through the wrapper's preset-load extension. The module never
// initialises its preset, so this drives the plug-in class built for CLAP in-process.
#include "framework/clap/ClapPresetDiscovery.h"
#include "plugin/Velmora.h"
#include "tools/host/clap/ClapHost.h"

#include <gtest/gtest.h>

namespace
{

using namespace clapabi;
using velmora::host::ClapHost;

class ClapWrapperPresetTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mPlugin = std::make_unique<Velmora>(iplug::InstanceInfo{mHost.Record(), &mDescriptor});
    const clap_plugin* p = mPlugin->GetClapPlugin();
    ASSERT_TRUE(p->init(p));
    mLoad = static_cast<const clap_plugin_preset_load*>(p->get_extension(p, "clap.preset-load/2"));
    ASSERT_NE(mLoad, nullptr);
  }

  void TearDown() override
  {
    if (mPlugin)
    {
      const clap_plugin* p = mPlugin.release()->GetClapPlugin();
      p->destroy(p);
    }
  }

  bool Load(const char* key)
  {
    const clap_plugin* p = mPlugin->GetClapPlugin();
    return mLoad->from_location(p, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, key);
  }

  ClapHost mHost{ClapHost::Options{}};
  clap_plugin_descriptor mDescriptor{};
  std::unique_ptr<Velmora> mPlugin;
  const clap_plugin_preset_load* mLoad = nullptr;
};

TEST_F(ClapWrapperPresetTest, InitialisedPresetLoadsAndTellsTheHost)
{
  iplug::IParam& mix = *mPlugin->GetParam(kMix);
  mix.Set(80.0);
  ASSERT_TRUE(mPlugin->RestorePreset(0)); // captures the settings in force
  mix.Set(20.0);

  ASSERT_TRUE(Load("0"));
  EXPECT_DOUBLE_EQ(mix.Value(), 80.0);
  EXPECT_EQ(mHost.PresetsLoaded(), std::vector<std::string>{"0"});
  EXPECT_EQ(mHost.ParamRescans(), std::vector<uint32_t>{CLAP_PARAM_RESCAN_VALUES});
  EXPECT_TRUE(mHost.PresetErrors().empty());
}

TEST_F(ClapWrapperPresetTest, KeysThatAreNotPlainDecimalStillFail)
{
  ASSERT_TRUE(mPlugin->RestorePreset(0));
  for (const char* key : {"00", "+0", " 0", "0 ", "1", "0x0"})
  {
    EXPECT_FALSE(Load(key)) << key;
  }
  EXPECT_EQ(mHost.PresetErrors().size(), 6u);
  EXPECT_TRUE(mHost.PresetsLoaded().empty());
}

} // namespace
