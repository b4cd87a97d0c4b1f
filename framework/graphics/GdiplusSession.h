#pragma once

#include <memory>

namespace iplug::igraphics
{

// GDI+ started for as long as anything that draws with it lives: the first holder starts it and
// the last one shuts it down. Holders are made when an editor or a snapshot is, never from a
// module's entry routine, where GDI+ must not start or stop.
class GdiplusSession
{
public:
  // The running session, or a new one; nullptr when GDI+ cannot start.
  static std::shared_ptr<GdiplusSession> Acquire();

  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
  explicit GdiplusSession(unsigned long long token) : mToken(token) {}

  unsigned long long mToken;
};

} // namespace iplug::igraphics
