#include "plugin/CurvePoints.h"
#include "plugin/Velmora.h"

void Velmora::LinkCurveControl(iplug::igraphics::ITransferCurveControl* control)
{
  if (control)
    control->ReservePoints(kCurvePointCount);
  mCurveControl.Link(control);
  if (control)
    HandCurveToDisplay(true);
}

void Velmora::RefreshCurve()
{
  HandCurveToDisplay(false);
}

void Velmora::HandCurveToDisplay(bool mayWait)
{
  const auto compute = [this](std::span<double> points)
  {
    velmora::ShaperCoefficients record;
    if (!TryReadCoefficients(record))
      return false;
    velmora::ComputeCurvePoints(record, points);
    return true;
  };
  mCurveControl.Refresh(mCurvePoints, compute, mayWait);
}
