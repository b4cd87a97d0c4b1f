#pragma once

namespace iplug::igraphics
{

// A font face loaded by the drawing back end, ready to draw text at any size.
class APIFont
{
public:
  virtual ~APIFont() = default;
  APIFont(const APIFont&) = delete;
  APIFont& operator=(const APIFont&) = delete;

protected:
  APIFont() = default;
};

} // namespace iplug::igraphics
