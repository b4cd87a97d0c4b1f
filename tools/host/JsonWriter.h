#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::host
{

// Builds compact JSON text: commas and string escaping are handled here, nesting by the caller.
class JsonWriter
{
public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view text);
  // Non-finite numbers have no JSON form and are written as null.
  JsonWriter& Number(double value);
  JsonWriter& Integer(int64_t value);
  JsonWriter& Bool(bool value);

  const std::string& Text() const { return mOut; }

private:
  void BeforeValue();
  void AppendQuoted(std::string_view text);

  std::string mOut;
  // One entry per open object or array: whether it has no member yet.
  std::vector<bool> mEmpty;
  bool mAfterKey = false;
};

} // namespace velmora::host
