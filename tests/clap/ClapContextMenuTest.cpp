// The plug-in's part in a CLAP host's context menu: its item for parameters, and what choosing
// it does, delivered to the host as one gesture in the next flush or process call.
#include "tests/clap/ClapTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using namespace clapabi;
using velmora::host::HostEdit;
using velmora::test::LoadClap;

constexpr clap_id kMix = 9;

// A host's menu under construction: the entries the plug-in adds.
struct MenuBuilder
{
  struct Item
  {
    clap_context_menu_item_kind kind;
    std::string label;
    clap_id action;
  };

  MenuBuilder() : builder{this, &AddItem, &Supports} {}

  static bool AddItem(const clap_context_menu_builder* b, clap_context_menu_item_kind kind,
                      const void* data)
  {
    auto* self = static_cast<MenuBuilder*>(b->ctx);
    if (kind != CLAP_CONTEXT_MENU_ITEM_ENTRY || !data)
      return false;
    const auto* entry = static_cast<const clap_context_menu_entry*>(data);
    self->items.push_back({kind, entry->label, entry->action_id});
    return entry->is_enabled;
  }
  static bool Supports(const clap_context_menu_builder*, clap_context_menu_item_kind kind)
  {
    return kind == CLAP_CONTEXT_MENU_ITEM_ENTRY;
  }

  clap_context_menu_builder builder;
  std::vector<Item> items;
};

TEST(ClapContextMenu, ParametersGetResetToDefaultAndNothingElseGetsAnything)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  for (const char* id : {"clap.context-menu/1", "clap.context-menu.draft/0"})
  {
    SCOPED_TRACE(id);
    const auto* menu = plugin->Extension<clap_plugin_context_menu>(id);
    ASSERT_NE(menu, nullptr);
    const clap_plugin* p = plugin->Plugin();
    for (clap_id param = 0; param < 12; ++param)
    {
      MenuBuilder built;
      const clap_context_menu_target target{CLAP_CONTEXT_MENU_TARGET_KIND_PARAM, param};
      ASSERT_TRUE(menu->populate(p, &target, &built.builder)) << param;
      ASSERT_EQ(built.items.size(), 1u) << param;
      EXPECT_EQ(built.items[0].label, "Reset to default");
    }
    const clap_context_menu_target global{CLAP_CONTEXT_MENU_TARGET_KIND_GLOBAL, 0};
    const clap_context_menu_target noSuchParam{CLAP_CONTEXT_MENU_TARGET_KIND_PARAM, 12};
    const clap_context_menu_target unknownKind{7, 0};
    for (const clap_context_menu_target* target :
         {&global, &noSuchParam, &unknownKind,
          static_cast<const clap_context_menu_target*>(nullptr)})
    {
      MenuBuilder built;
      menu->populate(p, target, &built.builder);
      EXPECT_TRUE(built.items.empty());
      EXPECT_FALSE(menu->perform(p, target, 1));
    }
    EXPECT_FALSE(menu->populate(p, &global, nullptr));
  }
}

// Choosing the item sets the parameter to its default as one gesture, which reaches the host in
// its next flush while inactive and in its next block while processing.
TEST(ClapContextMenu, ResetToDefaultIsOneGestureInTheNextFlushOrProcess)
{
  auto plugin = LoadClap();
  ASSERT_TRUE(plugin);
  const auto* menu = plugin->Extension<clap_plugin_context_menu>("clap.context-menu/1");
  ASSERT_NE(menu, nullptr);
  const clap_plugin* p = plugin->Plugin();
  const clap_context_menu_target mix{CLAP_CONTEXT_MENU_TARGET_KIND_PARAM, kMix};
  MenuBuilder built;
  ASSERT_TRUE(menu->populate(p, &mix, &built.builder));
  ASSERT_EQ(built.items.size(), 1u);
  const clap_id reset = built.items[0].action;
  const std::vector<HostEdit> oneGesture{{HostEdit::Kind::Begin, kMix, 0.0},
                                         {HostEdit::Kind::Value, kMix, 0.5},
                                         {HostEdit::Kind::End, kMix, 0.0}};

  for (const bool processing : {false, true})
  {
    SCOPED_TRACE(processing ? "processing" : "inactive");
    ASSERT_TRUE(plugin->SetParameter(kMix, 0.8));
    std::vector<double> left(64, 0.0);
    std::vector<double> right(64, 0.0);
    std::vector<double*> channels{left.data(), right.data()};
    if (processing)
    {
      std::string error;
      ASSERT_TRUE(plugin->Start({}, error)) << error;
      ASSERT_TRUE(plugin->Process(channels, 64, {}));
    }
    else
    {
      plugin->Idle();
    }
    ASSERT_DOUBLE_EQ(plugin->GetParameter(kMix), 0.8);
    plugin->TakeEdits();

    EXPECT_FALSE(menu->perform(p, &mix, reset + 1));
    ASSERT_TRUE(menu->perform(p, &mix, reset));
    EXPECT_TRUE(plugin->TakeEdits().empty()) << "delivered with the host's next call only";
    if (processing)
      ASSERT_TRUE(plugin->Process(channels, 64, {}));
    else
      plugin->Idle();
    EXPECT_EQ(plugin->TakeEdits(), oneGesture);
    EXPECT_DOUBLE_EQ(plugin->GetParameter(kMix), 0.5);
    if (processing)
      plugin->Stop();
  }
}

} // namespace
