#pragma once

#include <string>
#include <sys/types.h>

namespace velmora::test
{

// A private X server for window tests: starts Xvfb on a display number that it picks itself,
// points DISPLAY at it for this process and stops it again at destruction.
class XvfbSession
{
public:
  XvfbSession();
  ~XvfbSession();
  XvfbSession(const XvfbSession&) = delete;
  XvfbSession& operator=(const XvfbSession&) = delete;

  bool Running() const { return !mDisplay.empty(); }
  const std::string& Display() const { return mDisplay; }

private:
  pid_t mPid = -1;
  std::string mDisplay;
};

} // namespace velmora::test
