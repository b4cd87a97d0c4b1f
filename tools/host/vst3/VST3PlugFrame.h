#pragma once

#include "tools/host/vst3/VST3HostContext.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <atomic>
#include <functional>

namespace velmora::host::vst3
{

// The host's frame around one open editor view. A resize request from the view goes to the
// host's handler (which resizes the window) and is then confirmed to the view with onSize. The
// frame answers the host context's run loop where the host offers it to frames. Main thread.
class VST3PlugFrame final : public Steinberg::IPlugFrame
{
public:
  using ResizeHandler = std::function<void(int width, int height)>;

  // view: the one view this frame serves (not owned).
  static Steinberg::IPtr<VST3PlugFrame> Create(Steinberg::IPtr<VST3HostContext> context,
                                               Steinberg::IPlugView* view, ResizeHandler onResize);
  VST3PlugFrame(const VST3PlugFrame&) = delete;
  VST3PlugFrame& operator=(const VST3PlugFrame&) = delete;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;

private:
  VST3PlugFrame(Steinberg::IPtr<VST3HostContext> context, Steinberg::IPlugView* view,
                ResizeHandler onResize);
  ~VST3PlugFrame() = default;

  std::atomic<Steinberg::uint32> mRefCount{1};
  Steinberg::IPtr<VST3HostContext> mContext;
  Steinberg::IPlugView* mView;
  ResizeHandler mOnResize;
};

} // namespace velmora::host::vst3
