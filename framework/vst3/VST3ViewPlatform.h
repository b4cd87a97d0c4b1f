#pragma once

#include "pluginterfaces/gui/iplugview.h"

namespace iplug
{

// What an editor view needs of the platform: the one window type it embeds in, and opening the
// editor's window in the host's with what the platform's windows run on (Linux: the host's run
// loop, where the plug-in's idle step then runs too while the editor is open; Windows: nothing
// from the host). Main thread.
class VST3ViewPlatform
{
public:
  virtual bool SupportsPlatformType(Steinberg::FIDString type) const = 0;
  // Opens the editor in the host's window for a view in this frame; false when the window
  // cannot be made or the host offers too little to run it.
  virtual bool OpenWindow(Steinberg::IPlugFrame* frame, void* parent) = 0;
  virtual void CloseWindow() = 0;

protected:
  ~VST3ViewPlatform() = default;
};

} // namespace iplug
