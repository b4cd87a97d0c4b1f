#pragma once

#include "editor/IRasterScaleCornerDragControl.h"
#include "framework/graphics/IGraphics.h"
#include "plugin/Velmora.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace editor_test
{

// Points the user's settings folder, and so the display-scale preference, at a fresh temporary
// folder for the life of the object.
class ScopedConfigFolder
{
public:
  ScopedConfigFolder();
  ~ScopedConfigFolder();
  ScopedConfigFolder(const ScopedConfigFolder&) = delete;
  ScopedConfigFolder& operator=(const ScopedConfigFolder&) = delete;

  // The preference file's content, empty when there is none.
  std::string PreferenceText() const;

private:
  std::filesystem::path mRoot;
};

// A plug-in instance with its editor opened through the plug-in's own hooks.
class OpenVelmora
{
public:
  OpenVelmora();

  Velmora& Plugin() { return *mPlugin; }
  iplug::igraphics::IGraphics& UI() { return *mPlugin->GetUI(); }
  IRasterScaleCornerDragControl& Corner();

private:
  std::unique_ptr<Velmora> mPlugin;
};

// A copy of the backing image as last drawn.
struct Snapshot
{
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const
  {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

// Draws the whole editor and copies its pixels.
Snapshot Render(iplug::igraphics::IGraphics& ui);

// The smallest pixel rectangle holding every pixel that differs between two snapshots of one
// size; empty when none does.
iplug::igraphics::PixelRect DifferingArea(const Snapshot& a, const Snapshot& b);

// Mouse helpers, in logical units at the editor's current scale.
void PressAt(iplug::igraphics::IGraphics& ui, float x, float y,
             const iplug::igraphics::IMouseMod& mod = {true});
// Moves a pressed mouse to a position in window pixels.
void DragToPixel(iplug::igraphics::IGraphics& ui, float px, float py,
                 const iplug::igraphics::IMouseMod& mod = {true});
void ReleaseAt(iplug::igraphics::IGraphics& ui, float px, float py,
               const iplug::igraphics::IMouseMod& mod = {true});

} // namespace editor_test
