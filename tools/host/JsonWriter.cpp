#include "tools/host/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace velmora::host
{

void JsonWriter::BeforeValue()
{
  if (mAfterKey)
  {
    mAfterKey = false;
    return;
  }
  if (!mEmpty.empty())
  {
    if (!mEmpty.back())
      mOut += ',';
    mEmpty.back() = false;
  }
}

void JsonWriter::AppendQuoted(std::string_view text)
{
  mOut += '"';
  for (const char c : text)
  {
    switch (c)
    {
    case '"':
      mOut += "\\\"";
      break;
    case '\\':
      mOut += "\\\\";
      break;
    case '\n':
      mOut += "\\n";
      break;
    case '\r':
      mOut += "\\r";
      break;
    case '\t':
      mOut += "\\t";
      break;
    default:
      if (static_cast<unsigned char>(c) < 0x20)
      {
        char escaped[8];
        std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
        mOut += escaped;
      }
      else
        mOut += c;
    }
  }
  mOut += '"';
}

JsonWriter& JsonWriter::BeginObject()
{
  BeforeValue();
  mOut += '{';
  mEmpty.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndObject()
{
  mOut += '}';
  mEmpty.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
  BeforeValue();
  mOut += '[';
  mEmpty.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::EndArray()
{
  mOut += ']';
  mEmpty.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key)
{
  BeforeValue();
  AppendQuoted(key);
  mOut += ':';
  mAfterKey = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text)
{
  BeforeValue();
  AppendQuoted(text);
  return *this;
}

JsonWriter& JsonWriter::Number(double value)
{
  BeforeValue();
  if (!std::isfinite(value))
  {
    mOut += "null";
    return *this;
  }
  char text[32];
  std::snprintf(text, sizeof(text), "%.17g", value);
  mOut += text;
  return *this;
}

JsonWriter& JsonWriter::Integer(int64_t value)
{
  BeforeValue();
  mOut += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
  BeforeValue();
  mOut += value ? "true" : "false";
  return *this;
}

} // namespace velmora::host
