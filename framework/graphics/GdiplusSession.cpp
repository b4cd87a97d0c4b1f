#include "framework/graphics/GdiplusSession.h"

#include "framework/graphics/GdiplusHeaders.h"

#include <mutex>

namespace iplug::igraphics
{

namespace
{

// Editors may open on several threads; the session in use is shared by all of them.
std::mutex gSessionLock;
std::weak_ptr<GdiplusSession> gSession;

} // namespace

std::shared_ptr<GdiplusSession> GdiplusSession::Acquire()
{
  const std::lock_guard<std::mutex> guard(gSessionLock);
  if (auto session = gSession.lock())
    return session;
  const Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
    return nullptr;
  // A session ending on another thread just now may still shut its own startup down: GDI+
  // counts startups, so the two overlap safely.
  std::shared_ptr<GdiplusSession> session(new GdiplusSession(token));
  gSession = session;
  return session;
}

GdiplusSession::~GdiplusSession()
{
  Gdiplus::GdiplusShutdown(static_cast<ULONG_PTR>(mToken));
}

} // namespace iplug::igraphics
