#include "formats/clap/ClapInstanceCreation.h"

#include "plugin/Velmora.h"

#include <mutex>
#include <new>

namespace velmora::clap
{

namespace
{

std::mutex& InstanceCreationLock()
{
  static std::mutex lock;
  return lock;
}

} // namespace

std::unique_ptr<iplug::IPlugCLAP> MakeInstance(const clapabi::clap_host* host,
                                               const clapabi::clap_plugin_descriptor* descriptor)
{
  const std::lock_guard<std::mutex> guard(InstanceCreationLock());
  try
  {
    return std::make_unique<Velmora>(iplug::InstanceInfo{host, descriptor});
  }
  catch (const std::exception&)
  {
    return nullptr;
  }
}

} // namespace velmora::clap
