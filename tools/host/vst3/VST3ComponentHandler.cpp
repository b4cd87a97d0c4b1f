#include "tools/host/vst3/VST3ComponentHandler.h"

using namespace Steinberg;

namespace velmora::host::vst3
{

IPtr<VST3ComponentHandler> VST3ComponentHandler::Create()
{
  return owned(new VST3ComponentHandler());
}

std::vector<VST3ComponentHandler::Restart> VST3ComponentHandler::Restarts() const
{
  const std::lock_guard<std::mutex> lock(mMutex);
  return mRestarts;
}

void VST3ComponentHandler::ClearRestarts()
{
  const std::lock_guard<std::mutex> lock(mMutex);
  mRestarts.clear();
}

tresult PLUGIN_API VST3ComponentHandler::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, Vst::IComponentHandler::iid))
  {
    addRef();
    *obj = static_cast<Vst::IComponentHandler*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3ComponentHandler::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3ComponentHandler::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

tresult PLUGIN_API VST3ComponentHandler::beginEdit(Vst::ParamID)
{
  return kResultOk;
}

tresult PLUGIN_API VST3ComponentHandler::performEdit(Vst::ParamID, Vst::ParamValue)
{
  ++mEdits;
  return kResultOk;
}

tresult PLUGIN_API VST3ComponentHandler::endEdit(Vst::ParamID)
{
  return kResultOk;
}

tresult PLUGIN_API VST3ComponentHandler::restartComponent(int32 flags)
{
  const std::lock_guard<std::mutex> lock(mMutex);
  mRestarts.push_back({flags, std::this_thread::get_id() == mMainThread});
  return kResultOk;
}

} // namespace velmora::host::vst3
