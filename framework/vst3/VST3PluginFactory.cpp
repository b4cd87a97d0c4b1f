#include "framework/vst3/VST3PluginFactory.h"

#include "framework/vst3/VST3Strings.h"

#include <cstring>

using namespace Steinberg;

namespace iplug
{

VST3PluginFactory::VST3PluginFactory(const PFactoryInfo& info, std::function<void()> onLastRelease)
    : mInfo(info), mOnLastRelease(std::move(onLastRelease))
{
}

void VST3PluginFactory::RegisterClass(const PClassInfo2& info, VST3CreateFunction create,
                                      void* context)
{
  mClasses.push_back({info, create, context});
}

tresult PLUGIN_API VST3PluginFactory::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid))
  {
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3PluginFactory::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3PluginFactory::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
  {
    if (mOnLastRelease)
      mOnLastRelease();
    delete this;
  }
  return remaining;
}

tresult PLUGIN_API VST3PluginFactory::getFactoryInfo(PFactoryInfo* info)
{
  if (!info)
    return kInvalidArgument;
  *info = mInfo;
  return kResultOk;
}

int32 PLUGIN_API VST3PluginFactory::countClasses()
{
  return static_cast<int32>(mClasses.size());
}

const VST3PluginFactory::RegisteredClass* VST3PluginFactory::FindClass(int32 index) const
{
  if (index < 0 || index >= static_cast<int32>(mClasses.size()))
    return nullptr;
  return &mClasses[static_cast<size_t>(index)];
}

tresult PLUGIN_API VST3PluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
  const RegisteredClass* entry = FindClass(index);
  if (!info || !entry)
    return kInvalidArgument;
  *info = PClassInfo{};
  std::memcpy(info->cid, entry->info.cid, sizeof(TUID));
  info->cardinality = entry->info.cardinality;
  std::memcpy(info->category, entry->info.category, sizeof(info->category));
  std::memcpy(info->name, entry->info.name, sizeof(info->name));
  return kResultOk;
}

tresult PLUGIN_API VST3PluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
  const RegisteredClass* entry = FindClass(index);
  if (!info || !entry)
    return kInvalidArgument;
  *info = entry->info;
  return kResultOk;
}

tresult PLUGIN_API VST3PluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
  const RegisteredClass* entry = FindClass(index);
  if (!info || !entry)
    return kInvalidArgument;
  const PClassInfo2& source = entry->info;
  *info = PClassInfoW{};
  std::memcpy(info->cid, source.cid, sizeof(TUID));
  info->cardinality = source.cardinality;
  std::memcpy(info->category, source.category, sizeof(info->category));
  CopyToUTF16(source.name, info->name);
  info->classFlags = source.classFlags;
  std::memcpy(info->subCategories, source.subCategories, sizeof(info->subCategories));
  CopyToUTF16(source.vendor, info->vendor);
  CopyToUTF16(source.version, info->version);
  CopyToUTF16(source.sdkVersion, info->sdkVersion);
  return kResultOk;
}

tresult PLUGIN_API VST3PluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid)
    return kInvalidArgument;
  for (const RegisteredClass& entry : mClasses)
  {
    if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) != 0)
      continue;
    FUnknown* instance = entry.create ? entry.create(entry.context) : nullptr;
    if (!instance)
      return kOutOfMemory;
    const tresult result = instance->queryInterface(iid, obj);
    instance->release();
    if (result != kResultOk)
      *obj = nullptr;
    return result;
  }
  return kNoInterface;
}

tresult PLUGIN_API VST3PluginFactory::setHostContext(FUnknown*)
{
  return kResultOk;
}

} // namespace iplug

namespace iplug
{

void MakeComOrderUID(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4, TUID out)
{
  const auto byte = [](uint32_t word, int shift)
  { return static_cast<char>((word >> shift) & 0xFF); };
  const char bytes[16] = {byte(l1, 0),  byte(l1, 8),  byte(l1, 16), byte(l1, 24),
                          byte(l2, 16), byte(l2, 24), byte(l2, 0),  byte(l2, 8),
                          byte(l3, 24), byte(l3, 16), byte(l3, 8),  byte(l3, 0),
                          byte(l4, 24), byte(l4, 16), byte(l4, 8),  byte(l4, 0)};
  std::memcpy(out, bytes, sizeof(bytes));
}

} // namespace iplug
