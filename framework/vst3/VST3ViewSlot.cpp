#include "framework/vst3/VST3ViewSlot.h"

#include "framework/vst3/VST3View.h"

using namespace Steinberg;

namespace iplug
{

IPlugView* VST3ViewSlot::Create()
{
  if (mView)
    return nullptr;
  IPtr<VST3View> view = VST3View::Create(mOwner, mPlatform);
  mView = view.get();
  view->addRef();
  return view;
}

IPlugView* VST3ViewSlot::View() const
{
  return mView;
}

bool VST3ViewSlot::RequestResize(int width, int height)
{
  return mView && mView->RequestResize(width, height);
}

} // namespace iplug
