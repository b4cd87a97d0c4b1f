#pragma once

#include "tools/host/HostedPlugin.h"
#include "tools/host/vst3/VST3HostContext.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora::host::vst3
{

// The host's component handler: records every restart request together with whether it came on
// the host's main thread (the thread that created the handler), and every edit step. Edited
// values also go to a forwarder, through which the host hands them to the processor.
class VST3ComponentHandler final : public Steinberg::Vst::IComponentHandler
{
public:
  struct Restart
  {
    Steinberg::int32 flags = 0;
    bool onMainThread = false;
  };

  static Steinberg::IPtr<VST3ComponentHandler> Create();
  VST3ComponentHandler(const VST3ComponentHandler&) = delete;
  VST3ComponentHandler& operator=(const VST3ComponentHandler&) = delete;

  std::vector<Restart> Restarts() const;
  void ClearRestarts();
  int EditCount() const { return mEditCount.load(); }
  // The edit steps since the last call, oldest first.
  std::vector<HostEdit> TakeEdits();
  // Set before the plug-in can edit; receives each performed value.
  void SetEditForwarder(
      std::function<void(Steinberg::Vst::ParamID, Steinberg::Vst::ParamValue)> forwarder)
  {
    mForwarder = std::move(forwarder);
  }

  // From now on the handler answers the context's run loop, as Ardour's does once an editor has
  // been made. Main thread.
  void OfferRunLoop(Steinberg::IPtr<VST3HostContext> context)
  {
    mRunLoopContext = std::move(context);
  }

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue valueNormalized) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

private:
  VST3ComponentHandler() = default;
  ~VST3ComponentHandler() = default;

  std::atomic<Steinberg::uint32> mRefCount{1};
  const std::thread::id mMainThread = std::this_thread::get_id();
  mutable std::mutex mMutex;
  std::vector<Restart> mRestarts;
  std::vector<HostEdit> mEdits;
  std::atomic<int> mEditCount{0};
  std::function<void(Steinberg::Vst::ParamID, Steinberg::Vst::ParamValue)> mForwarder;
  Steinberg::IPtr<VST3HostContext> mRunLoopContext;
};

} // namespace velmora::host::vst3
