#pragma once

#include "framework/vst3/VST3ViewOwner.h"
#include "framework/vst3/VST3ViewPlatform.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <atomic>

namespace iplug
{

// The editor as a VST3 view: a child window of the host's window (of the platform's one type),
// fixed in size except where the editor rescales itself, which the view passes on to the host's
// plug-in frame.
class VST3View final : public Steinberg::IPlugView, public Steinberg::IPlugViewContentScaleSupport
{
public:
  // platform must outlive the view.
  static Steinberg::IPtr<VST3View> Create(VST3ViewOwner& owner, VST3ViewPlatform& platform);
  VST3View(const VST3View&) = delete;
  VST3View& operator=(const VST3View&) = delete;

  // The editor changed its own size (pixels): asks the host's frame to follow.
  bool RequestResize(int width, int height);

  // FUnknown
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  // IPlugView
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API onWheel(float distance) override;
  Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                          Steinberg::int16 modifiers) override;
  Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode,
                                        Steinberg::int16 modifiers) override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
  Steinberg::tresult PLUGIN_API canResize() override;
  Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;

  // IPlugViewContentScaleSupport
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

private:
  VST3View(VST3ViewOwner& owner, VST3ViewPlatform& platform);
  ~VST3View();

  void CloseWindow();

  std::atomic<Steinberg::uint32> mRefCount{1};
  VST3ViewOwner& mOwner;
  VST3ViewPlatform& mPlatform;
  Steinberg::IPtr<Steinberg::IPlugFrame> mFrame;
  bool mAttached = false;
};

} // namespace iplug
