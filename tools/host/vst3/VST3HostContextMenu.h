#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace velmora::host::vst3
{

// A host's context menu for a parameter as IComponentHandler3 hands it out: it comes with the
// host's own items, takes the plug-in's, and records where it was popped up instead of showing
// anything. A caller then plays the user by choosing an item by name.
class VST3HostContextMenu final : public Steinberg::Vst::IContextMenu
{
public:
  struct Entry
  {
    Steinberg::Vst::IContextMenuItem item{};
    Steinberg::IPtr<Steinberg::Vst::IContextMenuTarget> target;
  };
  struct Popup
  {
    int x = 0;
    int y = 0;
  };

  // The host's own item of every menu; choosing it counts in HostItemChosen.
  static constexpr const char* kHostItemName = "Show Automation";

  static Steinberg::IPtr<VST3HostContextMenu> Create(std::optional<Steinberg::Vst::ParamID> param);
  VST3HostContextMenu(const VST3HostContextMenu&) = delete;
  VST3HostContextMenu& operator=(const VST3HostContextMenu&) = delete;

  std::optional<Steinberg::Vst::ParamID> Param() const { return mParam; }
  const std::vector<Popup>& Popups() const { return mPopups; }
  // Item names in menu order (separators as "-").
  std::vector<std::string> ItemNames() const;
  // Runs the target of the first item so named; false when there is none or it has no target.
  bool Choose(const std::string& name);
  int HostItemChosen() const { return mHostItemChosen; }
  // Drops every item and its target (a host does so once the menu is done with).
  void Clear() { mEntries.clear(); }

  Steinberg::int32 PLUGIN_API getItemCount() override;
  Steinberg::tresult PLUGIN_API getItem(Steinberg::int32 index, Item& item,
                                        Steinberg::Vst::IContextMenuTarget** target) override;
  Steinberg::tresult PLUGIN_API addItem(const Item& item,
                                        Steinberg::Vst::IContextMenuTarget* target) override;
  Steinberg::tresult PLUGIN_API removeItem(const Item& item,
                                           Steinberg::Vst::IContextMenuTarget* target) override;
  Steinberg::tresult PLUGIN_API popup(Steinberg::UCoord x, Steinberg::UCoord y) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

private:
  class HostTarget;

  explicit VST3HostContextMenu(std::optional<Steinberg::Vst::ParamID> param);
  ~VST3HostContextMenu() = default;

  std::atomic<Steinberg::uint32> mRefCount{1};
  std::optional<Steinberg::Vst::ParamID> mParam;
  std::vector<Entry> mEntries;
  std::vector<Popup> mPopups;
  int mHostItemChosen = 0;
};

} // namespace velmora::host::vst3
