#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace iplug
{

// Creates one new object of a registered class with a reference count of 1, or null.
using VST3CreateFunction = Steinberg::FUnknown* (*)(void* context);

// The module's plug-in factory: the factory record and the registered classes, served through
// the plain, version-2 and Unicode class queries. Reference counted; it deletes itself on its
// last release after telling its owner through onLastRelease.
class VST3PluginFactory final : public Steinberg::IPluginFactory3
{
public:
  VST3PluginFactory(const Steinberg::PFactoryInfo& info, std::function<void()> onLastRelease);
  VST3PluginFactory(const VST3PluginFactory&) = delete;
  VST3PluginFactory& operator=(const VST3PluginFactory&) = delete;

  void RegisterClass(const Steinberg::PClassInfo2& info, VST3CreateFunction create,
                     void* context = nullptr);

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  Steinberg::tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) override;
  Steinberg::int32 PLUGIN_API countClasses() override;
  Steinberg::tresult PLUGIN_API getClassInfo(Steinberg::int32 index,
                                             Steinberg::PClassInfo* info) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                               void** obj) override;
  Steinberg::tresult PLUGIN_API getClassInfo2(Steinberg::int32 index,
                                              Steinberg::PClassInfo2* info) override;
  Steinberg::tresult PLUGIN_API getClassInfoUnicode(Steinberg::int32 index,
                                                    Steinberg::PClassInfoW* info) override;
  Steinberg::tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) override;

private:
  struct RegisteredClass
  {
    Steinberg::PClassInfo2 info;
    VST3CreateFunction create = nullptr;
    void* context = nullptr;
  };

  ~VST3PluginFactory() = default;
  const RegisteredClass* FindClass(Steinberg::int32 index) const;

  std::atomic<Steinberg::uint32> mRefCount{1};
  Steinberg::PFactoryInfo mInfo;
  std::vector<RegisteredClass> mClasses;
  std::function<void()> mOnLastRelease;
};

} // namespace iplug

namespace iplug
{

// Lays out a class identifier given as four 32-bit words in the COM byte order that Windows
// hosts and projects use: word 1 little-endian, word 2 as two little-endian halves (upper half
// first), words 3 and 4 big-endian.
void MakeComOrderUID(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4, Steinberg::TUID out);

} // namespace iplug
