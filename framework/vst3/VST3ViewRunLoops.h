#pragma once

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

namespace iplug
{

// What an editor view needs of the host's run loops: where to find one for its window, and whom
// to tell when the window opens on one and closes, so that the plug-in's idle step can run there
// while the editor is open. Main thread.
class VST3ViewRunLoops
{
public:
  // The run loop for a view in this frame, or null when the host offers none.
  virtual Steinberg::IPtr<Steinberg::Linux::IRunLoop>
  RunLoopForView(Steinberg::IPlugFrame* frame) = 0;
  virtual void ViewOpened(Steinberg::Linux::IRunLoop& runLoop) = 0;
  virtual void ViewClosed() = 0;

protected:
  ~VST3ViewRunLoops() = default;
};

} // namespace iplug
