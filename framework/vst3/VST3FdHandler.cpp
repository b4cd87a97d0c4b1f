#include "framework/vst3/VST3FdHandler.h"

using namespace Steinberg;

namespace iplug
{

VST3FdHandler::VST3FdHandler(Linux::IRunLoop& runLoop, std::function<void()> onReadable)
    : mRunLoop(&runLoop), mOnReadable(std::move(onReadable))
{
}

IPtr<VST3FdHandler> VST3FdHandler::Start(Linux::IRunLoop& runLoop, int fd,
                                         std::function<void()> onReadable)
{
  IPtr<VST3FdHandler> handler = owned(new VST3FdHandler(runLoop, std::move(onReadable)));
  if (runLoop.registerEventHandler(handler, fd) != kResultOk)
    return nullptr;
  return handler;
}

void VST3FdHandler::Stop()
{
  mOnReadable = nullptr;
  if (mRunLoop)
  {
    mRunLoop->unregisterEventHandler(this);
    mRunLoop = nullptr;
  }
}

void PLUGIN_API VST3FdHandler::onFDIsSet(Linux::FileDescriptor)
{
  if (mOnReadable)
    mOnReadable();
}

tresult PLUGIN_API VST3FdHandler::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
      FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid))
  {
    addRef();
    *obj = static_cast<Linux::IEventHandler*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API VST3FdHandler::addRef()
{
  return mRefCount.fetch_add(1) + 1;
}

uint32 PLUGIN_API VST3FdHandler::release()
{
  const uint32 remaining = mRefCount.fetch_sub(1) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

} // namespace iplug
