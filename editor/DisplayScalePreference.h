#pragma once

#include <optional>
#include <string>
#include <string_view>

// The editor's draw scale, remembered per user and product in a one-line text file that every
// instance and both plug-in formats share. Every operation fails softly: a missing or malformed
// file reads as nothing stored, and a failed write leaves the file as it was.
namespace velmora
{

inline constexpr float kMinScale = 0.5f;
inline constexpr float kMaxScale = 4.f;

// "<user settings folder>/Corvane Audio/Preferences/", or empty when there is no such folder.
std::string PreferenceFolder();

// Folder + identifier (characters not allowed in file names replaced by "_") +
// "-display-scale.txt"; empty when the identifier or the folder is empty.
std::string PreferencePath(std::string_view identifier);

// The positive finite number on the file's first line, or nothing.
std::optional<float> ReadPreference(std::string_view identifier);

// Replaces the file with the value as "%.4f" and a line end. Refuses non-finite, zero and
// negative values. The new content appears at once or not at all.
bool WritePreference(std::string_view identifier, float value);

// The stored value held to kMinScale..kMaxScale, or 1 when nothing valid is stored.
float StoredScale(std::string_view identifier);

// Parsing and formatting of the file's line; independent of the process locale.
std::optional<float> ParseScaleLine(std::string_view line);
std::string FormatScaleLine(float value);

} // namespace velmora
