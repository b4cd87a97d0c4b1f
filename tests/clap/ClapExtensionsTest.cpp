// What a CLAP host finds on an instance: the extension table, parameters, ports and
// configurations.
#include "tests/clap/ClapTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace
{

using namespace clapabi;
using velmora::host::ClapHost;
using velmora::test::LoadClap;

// Those of every platform; the run-loop and editor extensions depend on it (Linux: offered, see
// ClapRunLoopExtensionsTest.cpp; Windows: not, see tests/windows).
TEST(ClapExtensions, OfferedExactlyAsListed)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const char* offered[] = {
      "clap.audio-ports",
      "clap.audio-ports-config",
      "clap.params",
      "clap.latency",
      "clap.tail",
      "clap.state",
      "clap.preset-load/2",
      "clap.preset-load.draft/2",
      "clap.render",
      "clap.context-menu/1",
      "clap.context-menu.draft/0",
  };
  const char* notOffered[] = {
      "clap.note-ports",
      "clap.state-context/2",
      "clap.track-info/1",
      "clap.track-info.draft/1",
      "clap.thread-pool",
      "clap.voice-info",
      "clap.remote-controls/2",
      "clap.remote-controls.draft/2",
      "clap.param-indication/4",
      "clap.param-indication.draft/4",
      "clap.surround/4",
      "clap.surround.draft/4",
      "clap.configurable-audio-ports/1",
      "clap.configurable-audio-ports.draft1",
      "clap.audio-ports-activation/2",
      "clap.audio-ports-activation/draft-2",
      "clap.note-name",
      "clap.audio-ports-config-info/1",
      "clap.ambisonic/3",
      "clap.cv.draft/0",
      "clap.resource-directory.draft/0",
      "clap.transport-control.draft/0",
      "clap.triggers.draft/0",
      "clap.tuning.draft/2",
      "clap.extensible-audio-ports.draft0",
      "clap.params2",
      "clap.log",
      "clap.thread-check",
  };
  const clap_plugin* p = plugin->Plugin();
  for (const char* id : offered)
    EXPECT_NE(p->get_extension(p, id), nullptr) << id;
  for (const char* id : notOffered)
    EXPECT_EQ(p->get_extension(p, id), nullptr) << id;
  EXPECT_EQ(p->get_extension(p, nullptr), nullptr);
  EXPECT_EQ(p->get_extension(p, ""), nullptr);
}

TEST(ClapExtensions, TailIsZeroAndRenderHasNoHardRealtimeRequirement)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* tail = plugin->Extension<clap_plugin_tail>("clap.tail");
  ASSERT_NE(tail, nullptr);
  EXPECT_EQ(tail->get(plugin->Plugin()), 0u);
  const auto* render = plugin->Extension<clap_plugin_render>("clap.render");
  ASSERT_NE(render, nullptr);
  EXPECT_FALSE(render->has_hard_realtime_requirement(plugin->Plugin()));
  EXPECT_TRUE(render->set(plugin->Plugin(), CLAP_RENDER_OFFLINE));
  EXPECT_TRUE(render->set(plugin->Plugin(), CLAP_RENDER_REALTIME));
}

struct ParamCase
{
  uint32_t id;
  const char* name;
  double defaultValue;
  uint32_t flags;
};

TEST(ClapParams, InfoForEveryParameter)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* params = plugin->Extension<clap_plugin_params>("clap.params");
  ASSERT_NE(params, nullptr);
  const ParamCase cases[] = {
      {0, "Threshold", 1.0, 0x8020}, {1, "T Assym", 0.5, 0x8020}, {2, "Nonlinearity", 0.0, 0x8020},
      {3, "N Assym", 0.5, 0x8020},   {4, "Knee", 0.0, 0x8020},    {5, "K Assym", 0.5, 0x8020},
      {6, "Mod A", 0.0, 0x8020},     {7, "Mod B", 0.0, 0x8020},   {8, "Gain", 0.0, 0x8020},
      {9, "Mix", 0.5, 0x8020},       {10, "Output", 1.0, 0x8020}, {11, "Oversampling", 0.0, 0x8001},
  };
  const clap_plugin* p = plugin->Plugin();
  ASSERT_EQ(params->count(p), 12u);
  for (const ParamCase& c : cases)
  {
    clap_param_info info{};
    ASSERT_TRUE(params->get_info(p, c.id, &info)) << c.name;
    EXPECT_EQ(info.id, c.id);
    EXPECT_STREQ(info.name, c.name);
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(info.flags, c.flags) << c.name;
    EXPECT_EQ(info.min_value, 0.0) << c.name;
    EXPECT_EQ(info.max_value, 1.0) << c.name;
    EXPECT_DOUBLE_EQ(info.default_value, c.defaultValue) << c.name;
    double value = -1.0;
    ASSERT_TRUE(params->get_value(p, c.id, &value));
    EXPECT_DOUBLE_EQ(value, c.defaultValue) << c.name;
  }
  clap_param_info info{};
  EXPECT_FALSE(params->get_info(p, 12, &info));
  EXPECT_FALSE(params->get_info(p, 0, nullptr));
  double value = 0.0;
  EXPECT_FALSE(params->get_value(p, 12, &value));
  EXPECT_FALSE(params->get_value(p, UINT32_MAX, &value));
}

struct TextCase
{
  uint32_t id;
  double value;
  const char* text;
};

TEST(ClapParams, ValueToTextAndBack)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* params = plugin->Extension<clap_plugin_params>("clap.params");
  ASSERT_NE(params, nullptr);
  const clap_plugin* p = plugin->Plugin();
  // Continuous parameters travel normalised, "Oversampling" in real units.
  const TextCase cases[] = {
      {0, 0.5, "-30.0 dB"}, {2, 0.5, "1.0650"}, {3, 1.0, "0.0600 Offset"}, {9, 0.5, "50.0 %"},
      {8, 0.2, "12.0 dB"},  {11, 1.0, "on"},    {11, 0.0, "off"},
  };
  for (const TextCase& c : cases)
  {
    char text[64] = "";
    ASSERT_TRUE(params->value_to_text(p, c.id, c.value, text, sizeof(text))) << c.text;
    EXPECT_STREQ(text, c.text);
    double back = -1.0;
    ASSERT_TRUE(params->text_to_value(p, c.id, c.text, &back)) << c.text;
    EXPECT_NEAR(back, c.value, 1e-9) << c.text;
  }
}

TEST(ClapParams, TextCallsRefuseBadArguments)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* params = plugin->Extension<clap_plugin_params>("clap.params");
  ASSERT_NE(params, nullptr);
  const clap_plugin* p = plugin->Plugin();
  char text[8] = "x";
  EXPECT_FALSE(params->value_to_text(p, 12, 0.5, text, sizeof(text)));
  EXPECT_FALSE(params->value_to_text(p, 0, std::nan(""), text, sizeof(text)));
  EXPECT_FALSE(params->value_to_text(p, 0, 0.5, nullptr, 8));
  EXPECT_FALSE(params->value_to_text(p, 0, 0.5, text, 0));
  // A short buffer gets a terminated, shortened text.
  char tiny[4] = {'x', 'x', 'x', 'x'};
  ASSERT_TRUE(params->value_to_text(p, 0, 0.5, tiny, sizeof(tiny)));
  EXPECT_STREQ(tiny, "-30");
  double value = 0.0;
  EXPECT_FALSE(params->text_to_value(p, 0, "abc", &value));
  EXPECT_FALSE(params->text_to_value(p, 0, nullptr, &value));
  EXPECT_FALSE(params->text_to_value(p, 0, "1", nullptr));
  EXPECT_FALSE(params->text_to_value(p, 99, "1", &value));
}

struct PortsCase
{
  const char* name;
  std::optional<int> trackChannels;
  uint32_t channels;
  const char* portType;
};

class ClapPortsTest : public ::testing::TestWithParam<PortsCase>
{
};

TEST_P(ClapPortsTest, InitialConfigurationFollowsTheTrack)
{
  const PortsCase& c = GetParam();
  ClapHost::Options options;
  options.trackChannels = c.trackChannels;
  auto plugin = LoadClap(options);
  ASSERT_TRUE(plugin);
  const auto* ports = plugin->Extension<clap_plugin_audio_ports>("clap.audio-ports");
  ASSERT_NE(ports, nullptr);
  const clap_plugin* p = plugin->Plugin();
  for (const bool isInput : {true, false})
  {
    ASSERT_EQ(ports->count(p, isInput), 1u);
    clap_audio_port_info info{};
    ASSERT_TRUE(ports->get(p, 0, isInput, &info));
    EXPECT_EQ(info.id, 0u);
    EXPECT_STREQ(info.name, isInput ? "Input" : "Output");
    EXPECT_EQ(info.flags, 15u);
    EXPECT_EQ(info.channel_count, c.channels);
    EXPECT_STREQ(info.port_type, c.portType);
    EXPECT_EQ(info.in_place_pair, CLAP_INVALID_ID);
    EXPECT_FALSE(ports->get(p, 1, isInput, &info));
  }
}

INSTANTIATE_TEST_SUITE_P(Tracks, ClapPortsTest,
                         ::testing::Values(PortsCase{"no_track_info", std::nullopt, 2, "stereo"},
                                           PortsCase{"mono_track", 1, 1, "mono"},
                                           PortsCase{"stereo_track", 2, 2, "stereo"},
                                           PortsCase{"surround_track", 6, 2, "stereo"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClapPortsConfig, TwoConfigurationsSelectableWhileInactive)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* configs =
      plugin->Extension<clap_plugin_audio_ports_config>("clap.audio-ports-config");
  const auto* ports = plugin->Extension<clap_plugin_audio_ports>("clap.audio-ports");
  ASSERT_NE(configs, nullptr);
  ASSERT_NE(ports, nullptr);
  const clap_plugin* p = plugin->Plugin();
  ASSERT_EQ(configs->count(p), 2u);
  for (uint32_t i = 0; i < 2; ++i)
  {
    clap_audio_ports_config config{};
    ASSERT_TRUE(configs->get(p, i, &config));
    const uint32_t channels = i + 1;
    EXPECT_EQ(config.id, i);
    EXPECT_STRNE(config.name, "");
    EXPECT_EQ(config.input_port_count, 1u);
    EXPECT_EQ(config.output_port_count, 1u);
    EXPECT_TRUE(config.has_main_input);
    EXPECT_TRUE(config.has_main_output);
    EXPECT_EQ(config.main_input_channel_count, channels);
    EXPECT_EQ(config.main_output_channel_count, channels);
    EXPECT_STREQ(config.main_output_port_type, i == 0 ? "mono" : "stereo");
  }
  clap_audio_ports_config config{};
  EXPECT_FALSE(configs->get(p, 2, &config));

  ASSERT_TRUE(configs->select(p, 0));
  clap_audio_port_info info{};
  ASSERT_TRUE(ports->get(p, 0, false, &info));
  EXPECT_EQ(info.channel_count, 1u);
  EXPECT_FALSE(configs->select(p, 2));
  ASSERT_TRUE(ports->get(p, 0, false, &info));
  EXPECT_EQ(info.channel_count, 1u);

  ASSERT_TRUE(p->activate(p, 48000.0, 1, 512));
  EXPECT_FALSE(configs->select(p, 1));
  p->deactivate(p);
  EXPECT_TRUE(configs->select(p, 1));
  ASSERT_TRUE(ports->get(p, 0, true, &info));
  EXPECT_EQ(info.channel_count, 2u);
}

} // namespace
