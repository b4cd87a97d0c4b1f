#include "tests/graphics/GraphicsTestSupport.h"

#include <cairo.h>

#include <fstream>
#include <iterator>

namespace velmora::test
{

namespace
{

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
  auto* out = static_cast<Bytes*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

void SetRGB(cairo_t* cr, uint32_t rgb)
{
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

iplug::Config TestConfig()
{
  iplug::Config config;
  config.nParams = 2;
  config.channelIOStr = "1-1";
  return config;
}

} // namespace

Bytes MakePNG(int w, int h, bool alpha, const std::function<void(cairo_t*)>& paint)
{
  cairo_surface_t* surface =
      cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(surface);
  paint(cr);
  cairo_destroy(cr);
  Bytes out;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &out);
  cairo_surface_destroy(surface);
  return out;
}

Bytes SolidPNG(int w, int h, uint32_t rgb, bool alpha)
{
  return MakePNG(w, h, alpha,
                 [rgb](cairo_t* cr)
                 {
                   SetRGB(cr, rgb);
                   cairo_paint(cr);
                 });
}

uint32_t FrameColour(int frame)
{
  return (static_cast<uint32_t>(frame % 256) << 16) |
         (static_cast<uint32_t>(40 + frame / 256) << 8) | 0xC8u;
}

Bytes FrameStripPNG(int w, int h, int columns, int rows, int frames)
{
  return MakePNG(w, h, true,
                 [=](cairo_t* cr)
                 {
                   const int fw = w / columns;
                   const int fh = h / rows;
                   for (int k = 0; k < frames; ++k)
                   {
                     SetRGB(cr, FrameColour(k));
                     cairo_rectangle(cr, fw * (k % columns), fh * (k / columns), fw, fh);
                     cairo_fill(cr);
                   }
                 });
}

Bytes ReadFileBytes(const char* path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes RobotoBytes()
{
  return ReadFileBytes("/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf");
}

void TestResources::Add(std::string name, Bytes bytes)
{
  mFiles.emplace_back(std::move(name), std::move(bytes));
  mTable.clear();
  for (const auto& [fileName, data] : mFiles)
    mTable.push_back({fileName, data});
}

GesturePlugin::GesturePlugin() : IPlugBase(InstanceInfo{}, TestConfig())
{
  GetParam(0)->InitDouble("Knob", 25., 0., 100., 0.);
  GetParam(1)->InitBool("Switch", false);
}

void GesturePlugin::BeginInformHostOfParamChangeFromUI(int paramIdx)
{
  events.push_back("begin " + std::to_string(paramIdx));
}

void GesturePlugin::EndInformHostOfParamChangeFromUI(int paramIdx)
{
  events.push_back("end " + std::to_string(paramIdx));
}

bool GesturePlugin::PopupHostContextMenuForParam(int paramIdx, int x, int y)
{
  events.push_back("menu " + std::to_string(paramIdx) + " " + std::to_string(x) + " " +
                   std::to_string(y));
  return true;
}

void GesturePlugin::OnParamChange(int paramIdx)
{
  events.push_back("change " + std::to_string(paramIdx));
}

int GesturePlugin::Count(const std::string& prefix) const
{
  int n = 0;
  for (const auto& e : events)
    n += e.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

} // namespace velmora::test
