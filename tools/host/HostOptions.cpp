#include "tools/host/HostOptions.h"

#include <charconv>
#include <cmath>

namespace velmora::host
{

namespace
{

bool ParseNumber(const std::string& text, double& value)
{
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool ParseInteger(const std::string& text, int& value)
{
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

} // namespace

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error)
{
  for (size_t i = 0; i < args.size(); ++i)
  {
    const std::string& arg = args[i];
    if (arg == "--offline" || arg == "--print-gestures")
    {
      (arg == "--offline" ? options.offline : options.printGestures) = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0)
    {
      options.positional.push_back(arg);
      continue;
    }
    if (i + 1 >= args.size())
    {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    double number = 0.0;
    if (arg == "--set")
    {
      if (value.find('=') == std::string::npos)
      {
        error = "--set expects \"Name=value\", got \"" + value + "\"";
        return false;
      }
      options.settings.push_back(value);
    }
    else if (arg == "--in")
      options.inputPath = value;
    else if (arg == "--out")
      options.outputPath = value;
    else if (arg == "--rate")
    {
      if (!ParseNumber(value, number) || number < 8000.0 || number > 768000.0)
      {
        error = "--rate must be a number from 8000 to 768000";
        return false;
      }
      options.sampleRate = number;
    }
    else if (arg == "--seconds")
    {
      if (!ParseNumber(value, number) || number <= 0.0 || number > 600.0)
      {
        error = "--seconds must be a number above 0 and at most 600";
        return false;
      }
      options.seconds = number;
    }
    else if (arg == "--scale")
    {
      if (!ParseNumber(value, number) || number < 0.5 || number > 4.0)
      {
        error = "--scale must be a number from 0.5 to 4";
        return false;
      }
      options.scale = number;
    }
    else if (arg == "--screenshot")
      options.screenshotPath = value;
    else if (arg == "--after")
    {
      if (!ParseNumber(value, number) || number < 0.0 || number > 600.0)
      {
        error = "--after must be a number of seconds from 0 to 600";
        return false;
      }
      options.screenshotAfterSeconds = number;
    }
    else if (arg == "--close-after")
    {
      if (!ParseNumber(value, number) || number < 0.0 || number > 600.0)
      {
        error = "--close-after must be a number of seconds from 0 to 600";
        return false;
      }
      options.closeAfterSeconds = number;
    }
    else if (arg == "--host-like")
    {
      if (value != "ardour")
      {
        error = "--host-like must be ardour";
        return false;
      }
      options.hostLike = HostLike::Ardour;
    }
    else if (arg == "--block")
    {
      if (!ParseInteger(value, options.blockSize) || options.blockSize < 1 ||
          options.blockSize > 65536)
      {
        error = "--block must be a whole number from 1 to 65536";
        return false;
      }
    }
    else if (arg == "--bits")
    {
      if (!ParseInteger(value, options.bits) || (options.bits != 32 && options.bits != 64))
      {
        error = "--bits must be 32 or 64";
        return false;
      }
    }
    else if (arg == "--out-bits")
    {
      if (!ParseInteger(value, options.outputBits) ||
          (options.outputBits != 32 && options.outputBits != 64))
      {
        error = "--out-bits must be 32 or 64";
        return false;
      }
    }
    else
    {
      error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

} // namespace velmora::host
