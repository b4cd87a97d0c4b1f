#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <atomic>
#include <functional>

namespace iplug
{

// A file descriptor watched by the host's Linux run loop. Like the idle timer, the run loop
// holds a reference while it is registered; Stop cuts the callback off first.
class VST3FdHandler final : public Steinberg::Linux::IEventHandler
{
public:
  // Registers the descriptor; null when the run loop refuses it.
  static Steinberg::IPtr<VST3FdHandler> Start(Steinberg::Linux::IRunLoop& runLoop, int fd,
                                              std::function<void()> onReadable);
  VST3FdHandler(const VST3FdHandler&) = delete;
  VST3FdHandler& operator=(const VST3FdHandler&) = delete;

  // Unregisters and drops the callback; safe to call more than once.
  void Stop();

  void PLUGIN_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

private:
  VST3FdHandler(Steinberg::Linux::IRunLoop& runLoop, std::function<void()> onReadable);
  ~VST3FdHandler() = default;

  std::atomic<Steinberg::uint32> mRefCount{1};
  Steinberg::IPtr<Steinberg::Linux::IRunLoop> mRunLoop;
  std::function<void()> mOnReadable;
};

} // namespace iplug
