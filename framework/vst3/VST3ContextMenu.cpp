#include "framework/vst3/VST3ContextMenu.h"

#include "framework/vst3/VST3Strings.h"

#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace iplug
{

IPtr<VST3ContextMenuTarget> VST3ContextMenuTarget::Create(std::function<void(int32)> action)
{
  return owned(new VST3ContextMenuTarget(std::move(action)));
}

tresult PLUGIN_API VST3ContextMenuTarget::executeMenuItem(int32 tag)
{
  if (mAction)
    mAction(tag);
  return kResultOk;
}

tresult PLUGIN_API VST3ContextMenuTarget::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IContextMenuTarget::iid))
  {
    addRef();
    *obj = static_cast<IContextMenuTarget*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3ContextMenuTarget::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3ContextMenuTarget::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

namespace
{

struct HostItem
{
  IContextMenuItem item{};
  IPtr<IContextMenuTarget> target;
};

IContextMenuItem MakeItem(const char* name, int32 tag, int32 flags)
{
  IContextMenuItem item{};
  CopyToUTF16(name, item.name);
  item.tag = tag;
  item.flags = flags;
  return item;
}

} // namespace

bool PopupHostParamMenu(IComponentHandler& handler, IPlugView& view, ParamID id, int x, int y,
                        IContextMenuTarget& target)
{
  IComponentHandler3* handler3 = nullptr;
  if (handler.queryInterface(IComponentHandler3::iid, reinterpret_cast<void**>(&handler3)) !=
          kResultOk ||
      !handler3)
    return false;
  const IPtr<IComponentHandler3> menuMaker = owned(handler3);
  const IPtr<IContextMenu> menu = owned(menuMaker->createContextMenu(&view, &id));
  if (!menu)
    return false;

  // IContextMenu only appends, so the host's items are taken out and put back after the
  // plug-in's own. Targets come back without a reference of ours (hosts differ on whether they
  // add one), so each is held for as long as it is out of the menu.
  std::vector<HostItem> hostItems;
  const int32 count = menu->getItemCount();
  for (int32 i = 0; i < count; ++i)
  {
    HostItem taken;
    IContextMenuTarget* itemTarget = nullptr;
    if (menu->getItem(i, taken.item, &itemTarget) == kResultOk)
    {
      taken.target = itemTarget;
      hostItems.push_back(taken);
    }
  }
  std::vector<HostItem> removed;
  for (const HostItem& taken : hostItems)
  {
    if (menu->removeItem(taken.item, taken.target) == kResultOk)
      removed.push_back(taken);
  }
  // Items a host would not let go of stay first; a separator then sets the plug-in's apart.
  if (removed.size() < hostItems.size())
    menu->addItem(MakeItem("", 0, IContextMenuItem::kIsSeparator), nullptr);
  menu->addItem(MakeItem("Reset to default", kResetToDefaultMenuTag, 0), &target);
  if (!removed.empty())
    menu->addItem(MakeItem("", 0, IContextMenuItem::kIsSeparator), nullptr);
  for (const HostItem& taken : removed)
    menu->addItem(taken.item, taken.target);
  menu->popup(x, y);
  return true;
}

} // namespace iplug
