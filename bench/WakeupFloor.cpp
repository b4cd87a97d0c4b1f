// A process that does nothing but wake up: one thread per period given, each sleeping until its
// next due time, for a number of seconds. bench/editor_cpu.sh measures it beside the host to
// show what the host's audio thread and the plug-in's idle timer cost before any work is done:
//   wakeup_floor SECONDS PERIOD_MICROSECONDS...
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <thread>
#include <vector>

int main(int argc, char** argv)
{
  const auto number = [](std::string_view text, int& value)
  {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value > 0;
  };
  int seconds = 0;
  if (argc < 3 || !number(argv[1], seconds))
  {
    std::fprintf(stderr, "usage: wakeup_floor SECONDS PERIOD_MICROSECONDS...\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
  std::vector<std::thread> threads;
  for (int i = 2; i < argc; ++i)
  {
    int period = 0;
    if (!number(argv[i], period))
    {
      std::fprintf(stderr, "wakeup_floor: %s is no period\n", argv[i]);
      return 2;
    }
    threads.emplace_back(
        [period, end]
        {
          for (Clock::time_point due = Clock::now(); due < end;)
          {
            due += std::chrono::microseconds(period);
            std::this_thread::sleep_until(due);
          }
        });
  }
  for (std::thread& thread : threads)
    thread.join();
  return 0;
}
