#include "tests/winewindow/WineProcess.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test
{

WineProcess::WineProcess(const std::vector<std::string>& args, const std::string& errorFile)
    : mOutputCopy(errorFile + ".out")
{
  int fds[2];
  if (::pipe(fds) != 0)
    return;
  std::vector<char*> argv;
  std::string wine = "wine";
  argv.push_back(wine.data());
  std::vector<std::string> copies(args);
  for (std::string& arg : copies)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  mPid = ::fork();
  if (mPid == 0)
  {
    ::close(fds[0]);
    ::dup2(fds[1], STDOUT_FILENO);
    const int err = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0)
      ::dup2(err, STDERR_FILENO);
    // Quiet, and without the Mono and Gecko installers.
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  if (mPid < 0)
  {
    ::close(fds[0]);
    mEnded = true;
    return;
  }
  mReader = std::thread([this, fd = fds[0]] { Read(fd); });
}

WineProcess::~WineProcess()
{
  Wait(std::chrono::milliseconds(0));
}

void WineProcess::Read(int fd)
{
  std::string pending;
  char buffer[4096];
  while (!mStop.load())
  {
    // Wine's server and desktop process may hold the pipe open after the program has ended: the
    // reader stops when told rather than at the end of the pipe alone.
    pollfd readable{fd, POLLIN, 0};
    if (::poll(&readable, 1, 50) <= 0)
      continue;
    const ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n <= 0)
      break;
    pending.append(buffer, static_cast<size_t>(n));
    std::lock_guard lock(mMutex);
    for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n'))
    {
      std::string line = pending.substr(0, end);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      mOutputCopy << line << '\n' << std::flush;
      mLines.push_back(std::move(line));
      pending.erase(0, end + 1);
    }
    mChanged.notify_all();
  }
  ::close(fd);
  std::lock_guard lock(mMutex);
  if (!pending.empty())
    mLines.push_back(pending);
  mEnded = true;
  mChanged.notify_all();
}

bool WineProcess::WaitFor(const std::function<bool(const std::vector<std::string>&)>& test,
                          std::chrono::milliseconds patience)
{
  std::unique_lock lock(mMutex);
  mChanged.wait_for(lock, patience, [&] { return test(mLines) || mEnded; });
  return test(mLines);
}

bool WineProcess::WaitForLine(const std::function<bool(const std::string&)>& test,
                              std::chrono::milliseconds patience)
{
  return WaitFor([&](const std::vector<std::string>& lines)
                 { return std::any_of(lines.begin(), lines.end(), test); },
                 patience);
}

bool WineProcess::Ended() const
{
  std::lock_guard lock(mMutex);
  return mEnded;
}

int WineProcess::Wait(std::chrono::milliseconds patience)
{
  if (mPid > 0)
  {
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + patience;
    pid_t ended = 0;
    while ((ended = ::waitpid(mPid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (ended == 0)
    {
      ::kill(mPid, SIGKILL);
      ::waitpid(mPid, &status, 0);
      mExitCode = -1;
    }
    else
      mExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    mPid = -1;
    // What the program wrote last is still in the pipe.
    std::unique_lock lock(mMutex);
    mChanged.wait_for(lock, std::chrono::milliseconds(300), [this] { return mEnded; });
  }
  mStop = true;
  if (mReader.joinable())
    mReader.join();
  return mExitCode;
}

std::vector<std::string> WineProcess::Lines() const
{
  std::lock_guard lock(mMutex);
  return mLines;
}

std::string WineProcess::Output() const
{
  std::string text;
  for (const std::string& line : Lines())
    text += line + "\n";
  return text;
}

} // namespace velmora::test
