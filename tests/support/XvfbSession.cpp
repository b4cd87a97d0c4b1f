#include "tests/support/XvfbSession.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test
{

XvfbSession::XvfbSession()
{
  int fds[2];
  if (::pipe(fds) != 0)
    return;
  mPid = ::fork();
  if (mPid == 0)
  {
    ::close(fds[0]);
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
    const std::string fd = std::to_string(fds[1]);
    // -displayfd makes the server choose a free display and write its number to the pipe.
    // -noreset: without it the server restarts whenever its last client leaves, and a test that
    // connects during that restart is refused.
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24", "-nolisten",
             "tcp", "-noreset", "+extension", "XTEST", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  if (mPid < 0)
  {
    ::close(fds[0]);
    return;
  }
  std::string number;
  pollfd waitFor{fds[0], POLLIN, 0};
  char c = 0;
  while (::poll(&waitFor, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
    number.push_back(c);
  ::close(fds[0]);
  if (number.empty())
    return;
  mDisplay = ":" + number;
  ::setenv("DISPLAY", mDisplay.c_str(), 1);
}

XvfbSession::~XvfbSession()
{
  if (mPid > 0)
  {
    ::kill(mPid, SIGTERM);
    int status = 0;
    ::waitpid(mPid, &status, 0);
  }
}

} // namespace velmora::test
