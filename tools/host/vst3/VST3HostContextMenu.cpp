#include "tools/host/vst3/VST3HostContextMenu.h"

#include "framework/vst3/VST3Strings.h"

#include <algorithm>
#include <functional>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::host::vst3
{

// The target of the host's own item: counts how often it was chosen.
class VST3HostContextMenu::HostTarget final : public IContextMenuTarget
{
public:
  explicit HostTarget(int& chosen) : mChosen(chosen) {}

  tresult PLUGIN_API executeMenuItem(int32) override
  {
    ++mChosen;
    return kResultOk;
  }
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
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
  uint32 PLUGIN_API addRef() override { return ++mRefCount; }
  uint32 PLUGIN_API release() override
  {
    const uint32 remaining = --mRefCount;
    if (remaining == 0)
      delete this;
    return remaining;
  }

private:
  ~HostTarget() = default;
  std::atomic<uint32> mRefCount{1};
  int& mChosen;
};

IPtr<VST3HostContextMenu> VST3HostContextMenu::Create(std::optional<ParamID> param)
{
  return owned(new VST3HostContextMenu(param));
}

VST3HostContextMenu::VST3HostContextMenu(std::optional<ParamID> param) : mParam(param)
{
  Entry automation;
  iplug::CopyToUTF16(kHostItemName, automation.item.name);
  automation.item.tag = 100;
  automation.target = owned(new HostTarget(mHostItemChosen));
  mEntries.push_back(automation);
}

std::vector<std::string> VST3HostContextMenu::ItemNames() const
{
  std::vector<std::string> names;
  for (const Entry& entry : mEntries)
    names.push_back((entry.item.flags & IContextMenuItem::kIsSeparator) != 0
                        ? "-"
                        : iplug::UTF16ToUTF8(entry.item.name, 128));
  return names;
}

bool VST3HostContextMenu::Choose(const std::string& name)
{
  const auto found = std::find_if(mEntries.begin(), mEntries.end(),
                                  [&](const Entry& entry)
                                  { return iplug::UTF16ToUTF8(entry.item.name, 128) == name; });
  if (found == mEntries.end() || !found->target)
    return false;
  // The target may change the menu; it stays alive for the call.
  const IPtr<IContextMenuTarget> target = found->target;
  return target->executeMenuItem(found->item.tag) == kResultOk;
}

int32 PLUGIN_API VST3HostContextMenu::getItemCount()
{
  return static_cast<int32>(mEntries.size());
}

tresult PLUGIN_API VST3HostContextMenu::getItem(int32 index, Item& item,
                                                IContextMenuTarget** target)
{
  if (index < 0 || index >= getItemCount())
    return kInvalidArgument;
  const Entry& entry = mEntries[static_cast<size_t>(index)];
  item = entry.item;
  // No reference is added, as most hosts do.
  if (target)
    *target = entry.target;
  return kResultOk;
}

tresult PLUGIN_API VST3HostContextMenu::addItem(const Item& item, IContextMenuTarget* target)
{
  mEntries.push_back({item, target});
  return kResultOk;
}

tresult PLUGIN_API VST3HostContextMenu::removeItem(const Item& item, IContextMenuTarget* target)
{
  const auto found = std::find_if(mEntries.begin(), mEntries.end(),
                                  [&](const Entry& entry)
                                  { return entry.item.tag == item.tag && entry.target == target; });
  if (found == mEntries.end())
    return kResultFalse;
  mEntries.erase(found);
  return kResultOk;
}

tresult PLUGIN_API VST3HostContextMenu::popup(UCoord x, UCoord y)
{
  mPopups.push_back({x, y});
  return kResultOk;
}

tresult PLUGIN_API VST3HostContextMenu::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IContextMenu::iid))
  {
    addRef();
    *obj = static_cast<IContextMenu*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3HostContextMenu::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3HostContextMenu::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

} // namespace velmora::host::vst3
