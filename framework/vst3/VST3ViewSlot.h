#pragma once

#include "framework/vst3/VST3ViewOwner.h"
#include "framework/vst3/VST3ViewPlatform.h"

#include "pluginterfaces/gui/iplugview.h"

namespace iplug
{

class VST3View;

// The one editor view a plug-in gives out at a time, on the platform's windows. Main thread.
class VST3ViewSlot
{
public:
  // Both must outlive the slot and its views.
  VST3ViewSlot(VST3ViewOwner& owner, VST3ViewPlatform& platform)
      : mOwner(owner), mPlatform(platform)
  {
  }

  // A new view that holds the one reference the host receives; null while a view exists.
  Steinberg::IPlugView* Create();
  // The view the host holds while one exists; null otherwise.
  Steinberg::IPlugView* View() const;
  // The editor changed its own size: the view asks the host's frame to follow.
  bool RequestResize(int width, int height);
  // The view went.
  void Emptied() { mView = nullptr; }

private:
  VST3ViewOwner& mOwner;
  VST3ViewPlatform& mPlatform;
  VST3View* mView = nullptr;
};

} // namespace iplug
