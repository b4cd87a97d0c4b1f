#include "framework/vst3/VST3HostRunLoop.h"

#include "framework/vst3/VST3FdHandler.h"
#include "framework/vst3/VST3IdleTimer.h"

using namespace Steinberg;

namespace iplug
{

namespace
{
// Ends a handler's registration (an IPtr to VST3FdHandler or VST3IdleTimer) when destroyed.
template <typename Handler> class VST3Registration final : public IHostRunLoop::Registration
{
public:
  explicit VST3Registration(IPtr<Handler> handler) : mHandler(std::move(handler)) {}
  ~VST3Registration() override { mHandler->Stop(); }

private:
  IPtr<Handler> mHandler;
};

template <typename Handler> std::unique_ptr<IHostRunLoop::Registration> Wrap(IPtr<Handler> handler)
{
  if (!handler)
    return nullptr;
  return std::make_unique<VST3Registration<Handler>>(std::move(handler));
}
} // namespace

VST3HostRunLoop::VST3HostRunLoop(IPtr<Linux::IRunLoop> runLoop) : mRunLoop(std::move(runLoop)) {}

std::unique_ptr<IHostRunLoop::Registration> VST3HostRunLoop::WatchFd(int fd, Callback onReadable)
{
  if (!mRunLoop)
    return nullptr;
  return Wrap(VST3FdHandler::Start(*mRunLoop, fd, std::move(onReadable)));
}

std::unique_ptr<IHostRunLoop::Registration> VST3HostRunLoop::StartTimer(int intervalMs,
                                                                        Callback onTick)
{
  if (!mRunLoop || intervalMs <= 0)
    return nullptr;
  return Wrap(VST3IdleTimer::Start(*mRunLoop, static_cast<Linux::TimerInterval>(intervalMs),
                                   std::move(onTick)));
}

} // namespace iplug
