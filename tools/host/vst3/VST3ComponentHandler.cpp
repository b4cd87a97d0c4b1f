#include "tools/host/vst3/VST3ComponentHandler.h"

#include <utility>

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
  if (mRunLoopContext)
    return mRunLoopContext->QueryRunLoop(iid, obj);
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

std::vector<HostEdit> VST3ComponentHandler::TakeEdits()
{
  const std::lock_guard<std::mutex> lock(mMutex);
  return std::exchange(mEdits, {});
}

tresult PLUGIN_API VST3ComponentHandler::beginEdit(Vst::ParamID id)
{
  const std::lock_guard<std::mutex> lock(mMutex);
  mEdits.push_back({HostEdit::Kind::Begin, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API VST3ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue value)
{
  ++mEditCount;
  {
    const std::lock_guard<std::mutex> lock(mMutex);
    mEdits.push_back({HostEdit::Kind::Value, id, value});
  }
  if (mForwarder)
    mForwarder(id, value);
  return kResultOk;
}

tresult PLUGIN_API VST3ComponentHandler::endEdit(Vst::ParamID id)
{
  const std::lock_guard<std::mutex> lock(mMutex);
  mEdits.push_back({HostEdit::Kind::End, id, 0.0});
  return kResultOk;
}

tresult PLUGIN_API VST3ComponentHandler::restartComponent(int32 flags)
{
  const std::lock_guard<std::mutex> lock(mMutex);
  mRestarts.push_back({flags, std::this_thread::get_id() == mMainThread});
  return kResultOk;
}

} // namespace velmora::host::vst3
