#include "editor/DisplayScalePreference.h"

#include "framework/platform/TextLineEnd.h"
#include "framework/platform/UserConfigFolder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace velmora
{

namespace
{
constexpr std::string_view kForbiddenFileNameChars = "/|\"*:<>?\\";
// A valid line is a short number; anything longer is not a stored scale.
constexpr std::size_t kMaxLineLength = 255;

bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string TempNameBeside(const std::string& path)
{
  std::random_device entropy;
  return path + ".tmp-" + std::to_string(entropy());
}
} // namespace

std::string PreferenceFolder()
{
  const std::string base = iplug::platform::UserConfigFolder();
  if (base.empty())
    return {};
  return base + "Corvane Audio/Preferences/";
}

std::string PreferencePath(std::string_view identifier)
{
  if (identifier.empty())
    return {};
  std::string cleaned(identifier);
  for (char& c : cleaned)
  {
    if (kForbiddenFileNameChars.find(c) != std::string_view::npos)
      c = '_';
  }
  const std::string folder = PreferenceFolder();
  if (folder.empty())
    return {};
  return folder + cleaned + "-display-scale.txt";
}

std::optional<float> ParseScaleLine(std::string_view line)
{
  std::size_t pos = 0;
  while (pos < line.size() && IsSpace(line[pos]))
    ++pos;
  // strtof takes an explicit plus sign; from_chars does not.
  if (pos < line.size() && line[pos] == '+')
    ++pos;
  float value = 0.f;
  const char* first = line.data() + pos;
  const char* last = line.data() + line.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end == first)
    return std::nullopt;
  for (const char* p = end; p != last; ++p)
  {
    if (!IsSpace(*p))
      return std::nullopt;
  }
  if (!std::isfinite(value) || value <= 0.f)
    return std::nullopt;
  return value;
}

std::string FormatScaleLine(float value)
{
  std::array<char, 32> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, 4);
  if (error != std::errc())
    return {};
  return std::string(buffer.data(), end) + std::string(iplug::platform::kTextLineEnd);
}

std::optional<float> ReadPreference(std::string_view identifier)
{
  const std::string path = PreferencePath(identifier);
  if (path.empty())
    return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return std::nullopt;
  std::string line;
  char c = 0;
  while (file.get(c) && c != '\n')
  {
    if (line.size() == kMaxLineLength)
      return std::nullopt;
    line.push_back(c);
  }
  if (line.empty())
    return std::nullopt;
  return ParseScaleLine(line);
}

bool WritePreference(std::string_view identifier, float value)
{
  if (!std::isfinite(value) || value <= 0.f)
    return false;
  const std::string folder = PreferenceFolder();
  const std::string path = PreferencePath(identifier);
  if (folder.empty() || path.empty())
    return false;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error))
    return false;
  const std::string text = FormatScaleLine(value);
  if (text.empty())
    return false;

  // Readers in other instances must never see a half-written file: write beside it, then rename.
  const std::string temp = TempNameBeside(path);
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file)
      return false;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.flush();
    if (!file)
    {
      file.close();
      std::filesystem::remove(temp, error);
      return false;
    }
  }
  std::filesystem::rename(temp, path, error);
  if (error)
  {
    std::filesystem::remove(temp, error);
    return false;
  }
  return true;
}

float StoredScale(std::string_view identifier)
{
  const std::optional<float> stored = ReadPreference(identifier);
  if (!stored)
    return 1.f;
  return std::max(kMinScale, std::min(kMaxScale, *stored));
}

} // namespace velmora
