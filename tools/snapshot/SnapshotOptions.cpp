#include "tools/snapshot/SnapshotOptions.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace velmora::tools
{

namespace
{

constexpr float kMinScale = 0.5f;
constexpr float kMaxScale = 4.f;
constexpr double kMaxDemoSeconds = 60.0;

// The whole text as a finite number, with a decimal point whatever the locale.
std::optional<double> ParseNumber(std::string_view text)
{
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

} // namespace

const char* SnapshotUsage()
{
  return "usage: velmora-editor-snapshot [--scale S] [--set Name=value]... [--demo SECONDS] "
         "[--controls FILE] [--held Name] <output.png>\n"
         "  --scale S         draw scale, 0.5 to 4 (default 1)\n"
         "  --set Name=value  a parameter by its name, in its own units (e.g. --set Gain=12)\n"
         "  --demo SECONDS    first play that much of the demo signal through the plug-in, so the\n"
         "                    meters show it (0 to 60)\n"
         "  --controls FILE   also list each control's rectangle and a knob's frame there\n"
         "  --held Name       draw it as while the control of that parameter is held (mid-drag),\n"
         "                    its value readout showing\n";
}

std::optional<SnapshotOptions> ParseSnapshotOptions(int argc, const char* const* argv,
                                                    std::string& error)
{
  SnapshotOptions options;
  for (int i = 1; i < argc; ++i)
  {
    const std::string_view arg = argv[i];
    const bool takesValue =
        arg == "--scale" || arg == "--set" || arg == "--demo" || arg == "--controls" ||
        arg == "--held";
    if (takesValue && i + 1 >= argc)
    {
      error = std::string(arg) + " needs a value";
      return std::nullopt;
    }
    if (arg == "--scale")
    {
      const auto scale = ParseNumber(argv[++i]);
      if (!scale || *scale < kMinScale || *scale > kMaxScale)
      {
        error = "the scale must be a number from 0.5 to 4";
        return std::nullopt;
      }
      options.scale = static_cast<float>(*scale);
    }
    else if (arg == "--demo")
    {
      const auto seconds = ParseNumber(argv[++i]);
      if (!seconds || *seconds < 0.0 || *seconds > kMaxDemoSeconds)
      {
        error = "the demo length must be a number of seconds from 0 to 60";
        return std::nullopt;
      }
      options.demoSeconds = *seconds;
    }
    else if (arg == "--controls")
    {
      options.controlsPath = argv[++i];
    }
    else if (arg == "--held")
    {
      options.heldParam = argv[++i];
    }
    else if (arg == "--set")
    {
      const std::string_view setting = argv[++i];
      const size_t equals = setting.find('=');
      const auto value =
          equals == std::string_view::npos ? std::nullopt : ParseNumber(setting.substr(equals + 1));
      if (equals == 0 || !value)
      {
        error = "--set takes Name=value with a number, not \"" + std::string(setting) + "\"";
        return std::nullopt;
      }
      options.settings.emplace_back(std::string(setting.substr(0, equals)), *value);
    }
    else if (arg.starts_with("--") || !options.outputPath.empty())
    {
      error = "unexpected argument \"" + std::string(arg) + "\"";
      return std::nullopt;
    }
    else
    {
      options.outputPath = arg;
    }
  }
  if (options.outputPath.empty())
  {
    error = "no output file given";
    return std::nullopt;
  }
  return options;
}

} // namespace velmora::tools
