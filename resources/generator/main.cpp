// Draws the editor's images and writes them as PNG files into a folder:
//   velmora_artwork <Roboto-Regular.ttf> <output folder>

#include "resources/generator/KnobStrip.h"
#include "resources/generator/LedGlow.h"
#include "resources/generator/Palette.h"
#include "resources/generator/Panel.h"
#include "resources/generator/PanelGeometry.h"
#include "resources/generator/SwitchButton.h"
#include "resources/generator/Typeface.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
  using namespace velmora::art;
  if (argc != 3)
  {
    std::fprintf(stderr, "usage: %s <font.ttf> <output folder>\n", argv[0]);
    return 2;
  }
  try
  {
    const Typeface typeface(argv[1]);
    const std::string folder = std::string(argv[2]) + "/";
    PaintPanel(typeface).WritePng(folder + "vlm_bg_1_6b.png");
    PaintKnobStrip(kLargeKnobSize).WritePng(folder + "x271_frame_stack_fixed_again.png");
    PaintKnobStrip(kSmallKnobSize).WritePng(folder + "smallknob.png");
    PaintLedGlow({236, 255, 222}, kAccent).WritePng(folder + "vlm_glow.png");
    PaintLedGlow({255, 228, 218}, kRed).WritePng(folder + "vlm_glow_red.png");
    PaintSwitchButton(typeface).WritePng(folder + "OS_alpha.png");
  }
  catch (const std::exception& e)
  {
    std::fprintf(stderr, "velmora_artwork: %s\n", e.what());
    return 1;
  }
  return 0;
}
