#pragma once

namespace iplug::igraphics
{

// A decoded image as the drawing back end holds it: its size in pixels and how many of its
// pixels make one logical unit (1 for an image as the module carries it, n for a copy made for
// drawing at n times the size).
class APIBitmap
{
public:
  virtual ~APIBitmap() = default;
  APIBitmap(const APIBitmap&) = delete;
  APIBitmap& operator=(const APIBitmap&) = delete;

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int Scale() const { return mScale; }

protected:
  APIBitmap(int width, int height, int scale) : mWidth(width), mHeight(height), mScale(scale) {}

private:
  int mWidth;
  int mHeight;
  int mScale;
};

} // namespace iplug::igraphics
