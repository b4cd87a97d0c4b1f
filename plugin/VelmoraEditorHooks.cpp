#include "editor/DisplayScalePreference.h"
#include "editor/EditorLayout.h"
#include "editor/IRasterScaleCornerDragControl.h"
#include "framework/graphics/MakeGraphics.h"
#include "plugin/Velmora.h"
#include "plugin/VelmoraConfig.h"

#include <cmath>

namespace
{

constexpr int kEditorFPS = 60;

} // namespace

void Velmora::InstallEditorHooks()
{
  SetEditorCreateFunc(
      [this]
      {
        auto ui =
            iplug::igraphics::MakeGraphics(*this, velmora::kEditorWidth, velmora::kEditorHeight,
                                           kEditorFPS, velmora::StoredScale(velmora::kProductId));
        if (ui)
          ui->SetResources(iplug::igraphics::ModuleResources());
        return ui;
      });
  SetLayoutFunc(
      [this](iplug::igraphics::IGraphics& ui)
      {
        velmora::LayoutEditor(ui, [this](iplug::igraphics::ITransferCurveControl* curve)
                              { LinkCurveControl(curve); });
      });
}

void Velmora::OnUIOpen()
{
  iplug::Plugin::OnUIOpen();
  if (iplug::igraphics::IGraphics* ui = GetUI())
  {
    // Another instance may have stored a different scale since this editor was made.
    const float stored = velmora::StoredScale(velmora::kProductId);
    if (std::fabs(stored - ui->GetDrawScale()) > IRasterScaleCornerDragControl::kScaleTolerance)
      IRasterScaleCornerDragControl::RescaleEditor(*ui, stored);
  }
  RefreshCurve();
  StartMeterFeed();
}

void Velmora::OnUIClose()
{
  if (const iplug::igraphics::IGraphics* ui = GetUI())
    velmora::WritePreference(velmora::kProductId, ui->GetDrawScale());
  LinkCurveControl(nullptr);
  StopMeterFeed();
  iplug::Plugin::OnUIClose();
}
