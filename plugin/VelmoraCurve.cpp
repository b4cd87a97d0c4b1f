#include "plugin/CurvePoints.h"
#include "plugin/Velmora.h"

void Velmora::LinkCurveControl(iplug::igraphics::ITransferCurveControl* control)
{
  if (control)
    control->ReservePoints(kCurvePointCount);
  mCurveControl.Link(control);
}

void Velmora::RefreshCurve()
{
  mCurveControl.Refresh(mCurvePoints,
                        [this](std::span<double> points)
                        {
                          velmora::ShaperCoefficients record;
                          if (!TryReadCoefficients(record))
                            return false;
                          velmora::ComputeCurvePoints(record, points);
                          return true;
                        });
}

void Velmora::OnUIOpen()
{
  iplug::Plugin::OnUIOpen();
  RefreshCurve();
}

void Velmora::OnUIClose()
{
  LinkCurveControl(nullptr);
  iplug::Plugin::OnUIClose();
}
