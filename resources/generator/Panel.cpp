#include "resources/generator/Panel.h"

#include "resources/generator/PanelGeometry.h"
#include "resources/generator/PanelLegends.h"
#include "resources/generator/PanelSurface.h"
#include "resources/generator/PanelWells.h"

namespace velmora::art
{

Canvas PaintPanel(const Typeface& typeface)
{
  Canvas panel(CAIRO_FORMAT_RGB24, kPanelWidth, kPanelHeight);
  cairo_t* cr = panel.Context();
  PaintPanelBase(cr);
  PaintCurveDisplayWell(cr);
  PaintMeterWells(cr);
  PaintSwitchSocket(cr);
  PaintKnobScales(cr);
  PaintLegends(cr, typeface);
  AddPanelGrain(panel);
  return panel;
}

} // namespace velmora::art
