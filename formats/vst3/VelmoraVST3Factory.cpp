#include "formats/vst3/VelmoraVST3Factory.h"

#include "framework/vst3/VST3PluginFactory.h"
#include "framework/vst3/VST3Strings.h"
#include "plugin/Velmora.h"
#include "plugin/VelmoraConfig.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <mutex>
#include <new>

using namespace Steinberg;

namespace velmora
{

namespace
{

// The fixed first half of the identifier of every processor class of this framework.
constexpr uint32_t kProcessorClassIdWord1 = 0xF2AEE70D;
constexpr uint32_t kProcessorClassIdWord2 = 0x00DE4F4E;
constexpr const char* kSdkVersionText = "VST 3.8.0";
constexpr const char* kSubCategories = "Fx|Distortion";

std::mutex gFactoryMutex;
// Not owning: the factory owns itself through its reference count and clears this on its last
// release.
iplug::VST3PluginFactory* gFactory = nullptr;

std::mutex& InstanceCreationLock()
{
  static std::mutex lock;
  return lock;
}

FUnknown* CreateVelmora(void*)
{
  try
  {
    const std::lock_guard<std::mutex> guard(InstanceCreationLock());
    // The instance owns itself through its reference count, which starts at 1.
    auto* plug = new Velmora(iplug::InstanceInfo{});
    return static_cast<Vst::IAudioProcessor*>(plug);
  }
  catch (...)
  {
    return nullptr;
  }
}

PFactoryInfo MakeFactoryInfo(const iplug::Config& config)
{
  PFactoryInfo info;
  iplug::CopyToFixed(config.mfrName, info.vendor);
  iplug::CopyToFixed(kMakerUrl, info.url);
  iplug::CopyToFixed(kMakerEmail, info.email);
  info.flags = PFactoryInfo::kUnicode;
  return info;
}

PClassInfo2 MakeClassInfo(const iplug::Config& config)
{
  PClassInfo2 info;
  iplug::MakeComOrderUID(kProcessorClassIdWord1, kProcessorClassIdWord2,
                         static_cast<uint32_t>(config.mfrID),
                         static_cast<uint32_t>(config.uniqueID), info.cid);
  info.cardinality = PClassInfo::kManyInstances;
  iplug::CopyToFixed(kVstAudioEffectClass, info.category);
  iplug::CopyToFixed(config.pluginName, info.name);
  info.classFlags = Vst::kSimpleModeSupported;
  iplug::CopyToFixed(kSubCategories, info.subCategories);
  iplug::CopyToFixed("", info.vendor);
  iplug::CopyToFixed(iplug::VersionText(config.vendorVersion), info.version);
  iplug::CopyToFixed(kSdkVersionText, info.sdkVersion);
  return info;
}

} // namespace

IPluginFactory* AcquireVST3Factory()
{
  const std::lock_guard<std::mutex> guard(gFactoryMutex);
  if (gFactory)
  {
    gFactory->addRef();
    return gFactory;
  }
  try
  {
    const iplug::Config config = MakeVelmoraConfig();
    auto* factory = new iplug::VST3PluginFactory(MakeFactoryInfo(config),
                                                 []
                                                 {
                                                   const std::lock_guard<std::mutex> releaseGuard(
                                                       gFactoryMutex);
                                                   gFactory = nullptr;
                                                 });
    factory->RegisterClass(MakeClassInfo(config), CreateVelmora);
    gFactory = factory;
    return factory;
  }
  catch (...)
  {
    return nullptr;
  }
}

} // namespace velmora
