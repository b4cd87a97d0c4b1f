// The module's entry, plug-in factory and descriptor, seen through the built file.
#include "framework/clap/ClapPresetDiscovery.h"
#include "tests/clap/ClapTestSupport.h"
#include "tools/host/clap/ClapModule.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using velmora::host::ClapHost;
using velmora::host::ClapModule;
using velmora::test::ClapModulePath;

class ClapEntryTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    mModule = ClapModule::Open(ClapModulePath(), error);
    ASSERT_TRUE(mModule) << error;
  }

  const clapabi::clap_plugin_factory* Factory() const { return mModule->PluginFactory(); }

  std::unique_ptr<ClapModule> mModule;
};

TEST_F(ClapEntryTest, EntryDeclaresClapVersion)
{
  const clapabi::clap_version v = mModule->Entry().clap_version;
  EXPECT_EQ(v.major, 1u);
  EXPECT_EQ(v.minor, 2u);
  EXPECT_EQ(v.revision, 10u);
}

TEST_F(ClapEntryTest, FactoryLookupAnswersOnlyWhileInitialised)
{
  EXPECT_EQ(mModule->GetFactory(clapabi::CLAP_PLUGIN_FACTORY_ID), nullptr);
  ASSERT_TRUE(mModule->Init());
  EXPECT_EQ(mModule->GetFactory(clapabi::CLAP_PLUGIN_FACTORY_ID), mModule->ExportedFactory());
  EXPECT_NE(mModule->GetFactory(clapabi::CLAP_PRESET_DISCOVERY_FACTORY_ID), nullptr);
  EXPECT_EQ(mModule->GetFactory(clapabi::CLAP_PRESET_DISCOVERY_FACTORY_ID),
            mModule->GetFactory(clapabi::CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT));
  EXPECT_EQ(mModule->GetFactory("clap.preset-discovery-factory/1"), nullptr);
  EXPECT_EQ(mModule->GetFactory(nullptr), nullptr);
  mModule->Deinit();
  EXPECT_EQ(mModule->GetFactory(clapabi::CLAP_PLUGIN_FACTORY_ID), nullptr);
}

TEST_F(ClapEntryTest, InitIsCountedForTheSamePath)
{
  ASSERT_TRUE(mModule->Init());
  ASSERT_TRUE(mModule->Init());
  mModule->Deinit();
  EXPECT_NE(mModule->PluginFactory(), nullptr);
  EXPECT_NE(Factory()->get_plugin_descriptor(Factory(), 0), nullptr);
  mModule->Deinit();
  EXPECT_EQ(mModule->PluginFactory(), nullptr);
  // Extra deinit calls change nothing and a later init works again.
  mModule->Deinit();
  ASSERT_TRUE(mModule->Init());
  EXPECT_NE(mModule->PluginFactory(), nullptr);
}

TEST_F(ClapEntryTest, UnusablePathsFailAndLeaveTheCount)
{
  EXPECT_FALSE(mModule->InitWithPath(nullptr));
  EXPECT_FALSE(mModule->InitWithPath(""));
  EXPECT_EQ(mModule->PluginFactory(), nullptr);
  ASSERT_TRUE(mModule->Init());
  const std::string other = std::string(ClapModulePath()) + "x";
  EXPECT_FALSE(mModule->InitWithPath(other.c_str()));
  EXPECT_FALSE(mModule->InitWithPath(""));
  // The count stayed 1: one deinit ends it.
  mModule->Deinit();
  EXPECT_EQ(mModule->PluginFactory(), nullptr);
}

TEST_F(ClapEntryTest, ExportedFactoryRefusesEverythingBeforeInit)
{
  const clapabi::clap_plugin_factory* factory = mModule->ExportedFactory();
  ASSERT_NE(factory, nullptr);
  ClapHost host{ClapHost::Options{}};
  EXPECT_EQ(factory->get_plugin_count(factory), 1u);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 0), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Record(), "com.corvaneaudio.velmora"), nullptr);
}

TEST_F(ClapEntryTest, DescriptorFields)
{
  ASSERT_TRUE(mModule->Init());
  EXPECT_EQ(Factory()->get_plugin_count(Factory()), 1u);
  const clapabi::clap_plugin_descriptor* d = Factory()->get_plugin_descriptor(Factory(), 0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Factory()->get_plugin_descriptor(Factory(), 1), nullptr);
  EXPECT_EQ(d->clap_version.major, 1u);
  EXPECT_EQ(d->clap_version.minor, 2u);
  EXPECT_EQ(d->clap_version.revision, 10u);
  EXPECT_STREQ(d->id, "com.corvaneaudio.velmora");
  EXPECT_STREQ(d->name, "Velmora");
  EXPECT_STREQ(d->vendor, "Corvane Audio");
  EXPECT_STREQ(d->url, "https://www.corvaneaudio.com");
  EXPECT_STREQ(d->manual_url, "");
  EXPECT_STREQ(d->support_url, d->url);
  EXPECT_STREQ(d->version, "4.1.2");
  EXPECT_STREQ(d->description, "Velmora audio plug-in");
  ASSERT_NE(d->features, nullptr);
  std::vector<std::string> features;
  for (int i = 0; d->features[i]; ++i)
    features.emplace_back(d->features[i]);
  EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "distortion", "stereo"}));
}

struct CreateCase
{
  const char* name;
  uint32_t hostMajor;
  const char* pluginId;
  bool created;
};

class ClapCreateTest : public ClapEntryTest, public ::testing::WithParamInterface<CreateCase>
{
};

TEST_P(ClapCreateTest, CreatesOnlyForTheExactIdAndAUsableHost)
{
  const CreateCase& c = GetParam();
  ASSERT_TRUE(mModule->Init());
  ClapHost::Options options;
  options.version.major = c.hostMajor;
  ClapHost host{options};
  const clapabi::clap_plugin* plugin =
      Factory()->create_plugin(Factory(), host.Record(), c.pluginId);
  EXPECT_EQ(plugin != nullptr, c.created);
  if (plugin)
  {
    EXPECT_EQ(plugin->desc, Factory()->get_plugin_descriptor(Factory(), 0));
    EXPECT_TRUE(plugin->init(plugin));
    plugin->destroy(plugin);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, ClapCreateTest,
    ::testing::Values(CreateCase{"exact", 1, "com.corvaneaudio.velmora", true},
                      CreateCase{"last_char_off", 1, "com.corvaneaudio.velmorb", false},
                      CreateCase{"first_char_off", 1, "dom.corvaneaudio.velmora", false},
                      CreateCase{"prefix", 1, "com.corvaneaudio.velmor", false},
                      CreateCase{"longer", 1, "com.corvaneaudio.velmoraa", false},
                      CreateCase{"null_id", 1, nullptr, false},
                      CreateCase{"host_major_0", 0, "com.corvaneaudio.velmora", false},
                      CreateCase{"host_major_2", 2, "com.corvaneaudio.velmora", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClapEntryTest, CreateWithoutHostAnswersNull)
{
  ASSERT_TRUE(mModule->Init());
  EXPECT_EQ(Factory()->create_plugin(Factory(), nullptr, "com.corvaneaudio.velmora"), nullptr);
}

} // namespace
