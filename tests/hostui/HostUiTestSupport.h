#pragma once

#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "tools/host/clap/ClapHost.h"

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace velmora::test
{

// Reads whatever a non-blocking descriptor holds.
inline void DrainPipe(int fd)
{
  char buffer[64];
  while (::read(fd, buffer, sizeof(buffer)) > 0)
  {
  }
}

// A pipe whose read end never blocks; both ends close with it.
struct Pipe
{
  Pipe()
  {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0)
    {
      readEnd = fds[0];
      writeEnd = fds[1];
    }
  }
  ~Pipe()
  {
    ::close(readEnd);
    CloseWriteEnd();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  void Write() const
  {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
  }
  void CloseWriteEnd()
  {
    if (writeEnd >= 0)
      ::close(writeEnd);
    writeEnd = -1;
  }

  int readEnd = -1;
  int writeEnd = -1;
};

// A plug-in record with just what a host's run loop calls: timers, descriptors and the
// main-thread callback. Descriptor calls read the descriptor, as a plug-in would.
struct FakeClapPlugin
{
  FakeClapPlugin()
  {
    record.plugin_data = this;
    record.get_extension = &GetExtension;
    record.on_main_thread = &OnMainThread;
  }

  static FakeClapPlugin* Self(const clapabi::clap_plugin* plugin)
  {
    return static_cast<FakeClapPlugin*>(plugin->plugin_data);
  }
  static const void* GetExtension(const clapabi::clap_plugin* plugin, const char* id)
  {
    const std::string_view name(id);
    if (name == clapabi::CLAP_EXT_TIMER_SUPPORT)
      return &Self(plugin)->timers;
    if (name == clapabi::CLAP_EXT_POSIX_FD_SUPPORT)
      return &Self(plugin)->fds;
    return nullptr;
  }
  static void OnMainThread(const clapabi::clap_plugin* plugin)
  {
    FakeClapPlugin* self = Self(plugin);
    ++self->mainThreadCalls;
    self->mainThreadCallsOnMainThread =
        self->mainThreadCallsOnMainThread && std::this_thread::get_id() == self->mainThread;
  }
  static void OnTimer(const clapabi::clap_plugin* plugin, clapabi::clap_id id)
  {
    ++Self(plugin)->timerFires[id];
  }
  static void OnFd(const clapabi::clap_plugin* plugin, int fd, clapabi::clap_posix_fd_flags flags)
  {
    Self(plugin)->fdCalls.emplace_back(fd, flags);
    DrainPipe(fd);
  }

  clapabi::clap_plugin record{};
  clapabi::clap_plugin_timer_support timers{&OnTimer};
  clapabi::clap_plugin_posix_fd_support fds{&OnFd};
  const std::thread::id mainThread = std::this_thread::get_id();
  std::map<clapabi::clap_id, int> timerFires;
  std::vector<std::pair<int, clapabi::clap_posix_fd_flags>> fdCalls;
  int mainThreadCalls = 0;
  bool mainThreadCallsOnMainThread = true;
};

// The host extension as the plug-in gets it.
template <class Extension>
const Extension* HostExtension(const host::ClapHost& host, const char* id)
{
  return static_cast<const Extension*>(host.Record()->get_extension(host.Record(), id));
}

} // namespace velmora::test
