#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <atomic>
#include <functional>

namespace iplug
{

// The receiver of the plug-in's own items in a host's context menu: runs an action with the
// chosen item's tag. Reference counted; the menu keeps it as long as it needs it.
class VST3ContextMenuTarget final : public Steinberg::Vst::IContextMenuTarget
{
public:
  static Steinberg::IPtr<VST3ContextMenuTarget>
  Create(std::function<void(Steinberg::int32)> action);
  VST3ContextMenuTarget(const VST3ContextMenuTarget&) = delete;
  VST3ContextMenuTarget& operator=(const VST3ContextMenuTarget&) = delete;

  Steinberg::tresult PLUGIN_API executeMenuItem(Steinberg::int32 tag) override;
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

private:
  explicit VST3ContextMenuTarget(std::function<void(Steinberg::int32)> action)
      : mAction(std::move(action))
  {
  }
  ~VST3ContextMenuTarget() = default;

  std::atomic<Steinberg::uint32> mRefCount{1};
  std::function<void(Steinberg::int32)> mAction;
};

// The tag of the plug-in's "Reset to default" item.
inline constexpr Steinberg::int32 kResetToDefaultMenuTag = 1;

// Asks a host that offers IComponentHandler3 for its menu for the parameter, puts the plug-in's
// "Reset to default" item (with the target) and a separator before the host's items, and pops
// the menu up at (x, y) in the view's coordinates. False when the host offers no menu.
bool PopupHostParamMenu(Steinberg::Vst::IComponentHandler& handler, Steinberg::IPlugView& view,
                        Steinberg::Vst::ParamID id, int x, int y,
                        Steinberg::Vst::IContextMenuTarget& target);

} // namespace iplug
