#pragma once

#include "framework/graphics/IBlend.h"
#include "framework/graphics/IColor.h"
#include "framework/graphics/IControl.h"

#include <mutex>
#include <span>
#include <vector>

namespace iplug::igraphics
{

// Shows the saturation curve as a polyline of normalised heights (0 = bottom, 1 = top), one per
// horizontal step, as a line of one unit. The plug-in hands the points over from whichever thread
// changed a parameter, possibly the audio thread, so the points live behind a lock that is only
// ever held for a copy: drawing takes its own copy and draws from that outside the lock.
class ITransferCurveControl final : public IControl
{
public:
  ITransferCurveControl(const IRECT& bounds, const IColor& lineColor, const IBlend& lineBlend);

  // Sizes the storage for up to count points so that later hand-offs of that many do not
  // allocate. Main thread, before the control is linked to the plug-in.
  void ReservePoints(size_t count);
  // Replaces the points and marks the control for redraw without notifying anyone, unless they
  // are the points it already holds. Allocates nothing when the storage was reserved for this
  // many points.
  void SetPoints(std::span<const double> points);
  // Copies the points as they stand into out (empty before the first hand-off).
  void CopyPoints(std::vector<double>& out) const;

  // Point i of n sits at x = L + i (R - L - 1) / n and y = (B - 1) - (B - T - 1) p; fewer than two
  // points draw nothing.
  void Draw(IGraphics& g) override;

private:
  IColor mLineColor;
  IBlend mLineBlend;
  std::vector<double> mPoints;
  // The copy drawing works from; main thread only.
  std::vector<double> mDrawPoints;
  mutable std::mutex mPointsLock;
};

} // namespace iplug::igraphics
