#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace velmora::test
{

// A Windows program run under Wine (in the prefix WINEPREFIX names) with its windows on the X
// display of this process (DISPLAY), its standard output read line by line as it comes and its
// standard error kept in a file (and its output beside it, in one named like it with ".out").
class WineProcess
{
public:
  WineProcess(const std::vector<std::string>& args, const std::string& errorFile);
  // Ends the program if it still runs.
  ~WineProcess();
  WineProcess(const WineProcess&) = delete;
  WineProcess& operator=(const WineProcess&) = delete;

  // Waits until the output so far satisfies the test, or the program ends, or the time is up;
  // whether it did.
  bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& test,
               std::chrono::milliseconds patience);
  // The same for a line of the output, those seen by earlier waits included.
  bool WaitForLine(const std::function<bool(const std::string&)>& test,
                   std::chrono::milliseconds patience);
  // Whether its output has ended (the program with it, in practice).
  bool Ended() const;
  // The exit code once the program has ended, -1 when it had to be ended after the patience.
  int Wait(std::chrono::milliseconds patience);
  std::vector<std::string> Lines() const;
  std::string Output() const;

private:
  void Read(int fd);

  pid_t mPid = -1;
  std::thread mReader;
  mutable std::mutex mMutex;
  std::condition_variable mChanged;
  std::vector<std::string> mLines;
  std::ofstream mOutputCopy;
  bool mEnded = false;
  std::atomic<bool> mStop{false};
  int mExitCode = -1;
};

} // namespace velmora::test
