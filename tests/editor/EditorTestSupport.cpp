#include "tests/editor/EditorTestSupport.h"

#include "editor/DisplayScalePreference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace editor_test
{

namespace fs = std::filesystem;
using namespace iplug::igraphics;

ScopedConfigFolder::ScopedConfigFolder()
{
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  mRoot = fs::temp_directory_path() / ("velmora-editor-" + std::to_string(::getpid()) + "-" +
                                       test->test_suite_name() + "-" + test->name());
  fs::remove_all(mRoot);
  fs::create_directories(mRoot);
  ::setenv("XDG_CONFIG_HOME", mRoot.c_str(), 1);
}

ScopedConfigFolder::~ScopedConfigFolder()
{
  ::unsetenv("XDG_CONFIG_HOME");
  std::error_code ignored;
  fs::remove_all(mRoot, ignored);
}

std::string ScopedConfigFolder::PreferenceText() const
{
  std::ifstream file(velmora::PreferencePath("velmora"), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

OpenVelmora::OpenVelmora() : mPlugin(std::make_unique<Velmora>(iplug::InstanceInfo{}))
{
  mPlugin->OpenEditor();
}

IRasterScaleCornerDragControl& OpenVelmora::Corner()
{
  // Attached just before the value readout.
  return dynamic_cast<IRasterScaleCornerDragControl&>(*UI().GetControl(UI().NControls() - 2));
}

Snapshot Render(IGraphics& ui)
{
  ui.DrawAll();
  const PixelView view = ui.GetPixels();
  Snapshot shot{view.width, view.height, {}};
  shot.pixels.reserve(static_cast<size_t>(view.width) * static_cast<size_t>(view.height));
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x)
      shot.pixels.push_back(view.At(x, y));
  return shot;
}

PixelRect DifferingArea(const Snapshot& a, const Snapshot& b)
{
  int left = a.width;
  int top = a.height;
  int right = -1;
  int bottom = -1;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
    {
      if (a.At(x, y) == b.At(x, y))
        continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x);
      bottom = std::max(bottom, y);
    }
  if (right < 0)
    return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

void PressAt(IGraphics& ui, float x, float y, const IMouseMod& mod)
{
  const float s = ui.GetTotalScale();
  ui.OnMouseDown(x * s, y * s, mod);
}

void DragToPixel(IGraphics& ui, float px, float py, const IMouseMod& mod)
{
  ui.OnMouseDrag(px, py, 1.f, 1.f, mod);
}

void ReleaseAt(IGraphics& ui, float px, float py, const IMouseMod& mod)
{
  ui.OnMouseUp(px, py, mod);
}

} // namespace editor_test
