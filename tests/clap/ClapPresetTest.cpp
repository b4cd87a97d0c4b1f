// Preset discovery and preset loading.
#include "tests/clap/ClapTestSupport.h"
#include "tools/host/clap/ClapPresetIndex.h"

#include <gtest/gtest.h>

namespace
{

using namespace clapabi;
using velmora::host::ClapMetadataReceiver;
using velmora::host::ClapModule;
using velmora::host::ClapPresetIndexer;
using velmora::test::ClapModulePath;
using velmora::test::LoadClap;

class ClapPresetDiscoveryTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    mModule = ClapModule::Open(ClapModulePath(), error);
    ASSERT_TRUE(mModule) << error;
    ASSERT_TRUE(mModule->Init());
    mFactory = static_cast<const clap_preset_discovery_factory*>(
        mModule->GetFactory("clap.preset-discovery-factory/2"));
    ASSERT_NE(mFactory, nullptr);
  }

  std::unique_ptr<ClapModule> mModule;
  const clap_preset_discovery_factory* mFactory = nullptr;
};

TEST_F(ClapPresetDiscoveryTest, OneProviderDescribed)
{
  EXPECT_EQ(mFactory->count(mFactory), 1u);
  const clap_preset_discovery_provider_descriptor* d = mFactory->get_descriptor(mFactory, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->clap_version.major, 1u);
  EXPECT_EQ(d->clap_version.minor, 2u);
  EXPECT_EQ(d->clap_version.revision, 10u);
  EXPECT_STREQ(d->id, "com.corvaneaudio.velmora");
  EXPECT_STREQ(d->name, "Velmora Factory Presets");
  EXPECT_STREQ(d->vendor, "Corvane Audio");
  EXPECT_EQ(mFactory->get_descriptor(mFactory, 1), nullptr);
}

struct ProviderCase
{
  const char* name;
  const char* providerId;
  uint32_t indexerMajor;
  bool withDeclareLocation;
  bool created;
};

class ClapProviderCreateTest : public ClapPresetDiscoveryTest,
                               public ::testing::WithParamInterface<ProviderCase>
{
};

TEST_P(ClapProviderCreateTest, CreatedOnlyForThePluginIdAndAUsableIndexer)
{
  const ProviderCase& c = GetParam();
  ClapPresetIndexer indexer;
  indexer.Record().clap_version.major = c.indexerMajor;
  if (!c.withDeclareLocation)
    indexer.Record().declare_location = nullptr;
  const clap_preset_discovery_provider* provider =
      mFactory->create(mFactory, &indexer.Record(), c.providerId);
  EXPECT_EQ(provider != nullptr, c.created);
  if (provider)
  {
    EXPECT_EQ(provider->desc, mFactory->get_descriptor(mFactory, 0));
    EXPECT_EQ(provider->get_extension(provider, "anything"), nullptr);
    provider->destroy(provider);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, ClapProviderCreateTest,
    ::testing::Values(ProviderCase{"plugin_id", "com.corvaneaudio.velmora", 1, true, true},
                      ProviderCase{"other_id", "com.corvaneaudio.velmorb", 1, true, false},
                      ProviderCase{"provider_name", "Velmora Factory Presets", 1, true, false},
                      ProviderCase{"null_id", nullptr, 1, true, false},
                      ProviderCase{"indexer_major_0", "com.corvaneaudio.velmora", 0, true, false},
                      ProviderCase{"no_declare_location", "com.corvaneaudio.velmora", 1, false,
                                   false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClapPresetDiscoveryTest, NoInitialisedPresetMeansNothingIndexed)
{
  ClapPresetIndexer indexer;
  const clap_preset_discovery_provider* provider =
      mFactory->create(mFactory, &indexer.Record(), "com.corvaneaudio.velmora");
  ASSERT_NE(provider, nullptr);
  ClapMetadataReceiver receiver;
  // Metadata is refused before init.
  EXPECT_FALSE(provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                      receiver.Record()));
  ASSERT_TRUE(provider->init(provider));
  ASSERT_TRUE(provider->init(provider));
  EXPECT_TRUE(indexer.Locations().empty());
  EXPECT_TRUE(provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                     receiver.Record()));
  EXPECT_TRUE(receiver.Presets().empty());
  EXPECT_FALSE(provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_FILE, nullptr,
                                      receiver.Record()));
  EXPECT_FALSE(provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, "/tmp",
                                      receiver.Record()));
  EXPECT_FALSE(
      provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, nullptr));
  provider->destroy(provider);
}

TEST_F(ClapPresetDiscoveryTest, ProviderCreationRefusedAfterDeinit)
{
  mModule->Deinit();
  ClapPresetIndexer indexer;
  EXPECT_EQ(mFactory->create(mFactory, &indexer.Record(), "com.corvaneaudio.velmora"), nullptr);
}

TEST_F(ClapPresetDiscoveryTest, IndexingTheModuleFindsTheProviderAndNoPresets)
{
  const std::vector<velmora::host::ProviderIndex> index = velmora::host::IndexPresets(*mModule);
  ASSERT_EQ(index.size(), 1u);
  EXPECT_EQ(index[0].id, "com.corvaneaudio.velmora");
  EXPECT_TRUE(index[0].initialized);
  EXPECT_TRUE(index[0].locations.empty());
  EXPECT_TRUE(index[0].presets.empty());
}

struct PresetLoadCase
{
  const char* name;
  const char* extension;
  uint32_t kind;
  const char* location;
  const char* key;
};

class ClapPresetLoadTest : public ::testing::TestWithParam<PresetLoadCase>
{
};

TEST_P(ClapPresetLoadTest, FailsWithUnknownFactoryPreset)
{
  const PresetLoadCase& c = GetParam();
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* load = plugin->Extension<clap_plugin_preset_load>(c.extension);
  ASSERT_NE(load, nullptr);
  EXPECT_FALSE(load->from_location(plugin->Plugin(), c.kind, c.location, c.key));
  ASSERT_EQ(plugin->Host().PresetErrors().size(), 1u);
  const auto& error = plugin->Host().PresetErrors()[0];
  EXPECT_EQ(error.message, "Unknown factory preset");
  EXPECT_EQ(error.osError, 0);
  EXPECT_EQ(error.locationKind, c.kind);
  EXPECT_EQ(error.loadKey, c.key ? c.key : "");
  EXPECT_TRUE(plugin->Host().PresetsLoaded().empty());
  EXPECT_TRUE(plugin->Host().ParamRescans().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ClapPresetLoadTest,
    ::testing::Values(PresetLoadCase{"key_00", "clap.preset-load/2", 1, nullptr, "00"},
                      PresetLoadCase{"key_plus0", "clap.preset-load/2", 1, nullptr, "+0"},
                      PresetLoadCase{"key_1", "clap.preset-load/2", 1, nullptr, "1"},
                      PresetLoadCase{"key_0", "clap.preset-load/2", 1, nullptr, "0"},
                      PresetLoadCase{"key_0_draft", "clap.preset-load.draft/2", 1, nullptr, "0"},
                      PresetLoadCase{"key_minus1", "clap.preset-load/2", 1, nullptr, "-1"},
                      PresetLoadCase{"key_empty", "clap.preset-load/2", 1, nullptr, ""},
                      PresetLoadCase{"key_null", "clap.preset-load/2", 1, nullptr, nullptr},
                      PresetLoadCase{"key_huge", "clap.preset-load/2", 1, nullptr,
                                     "99999999999999999999"},
                      PresetLoadCase{"file_kind", "clap.preset-load/2", 0, nullptr, "0"},
                      PresetLoadCase{"with_location", "clap.preset-load/2", 1, "/tmp/x", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
