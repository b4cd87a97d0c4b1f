#include "editor/IVLMLEDMeterControl.h"

#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace iplug::igraphics
{

namespace
{

// The sender's record for one float channel.
struct MeterRecord
{
  int32_t ctrlTag = kNoTag;
  int32_t nChans = 1;
  int32_t chanOffset = 0;
  float value = 0.f;
};
static_assert(sizeof(MeterRecord) == 16);

} // namespace

IVLMLEDMeterControl::IVLMLEDMeterControl(const IRECT& bounds, const IBitmap& glow,
                                         const IBitmap& fullScale, const Positions& positions)
    : IControl(bounds), mGlow(glow), mFullScale(fullScale), mPositions(positions)
{
  SetIgnoreMouse(true);
}

void IVLMLEDMeterControl::OnMsgFromDelegate(int msgTag, int dataSize, const void* pData)
{
  if (IsDisabled() || msgTag != 0)
    return;
  MeterRecord record;
  if (pData && dataSize >= static_cast<int>(sizeof(MeterRecord)))
    std::memcpy(&record, pData, sizeof(MeterRecord));
  if (record.nChans <= 0)
    return;
  // NaN goes to 0 with the negative levels.
  const double level = record.value > 0.f ? std::min(static_cast<double>(record.value), 1.0) : 0.0;
  SetValue(level);
  mLevelArrived = true;
  MarkIfLookChanged();
}

void IVLMLEDMeterControl::OnFrameStart()
{
  if (!mLevelArrived)
    return;
  mLevelArrived = false;
  const int lit = LitByLevel();
  if (lit > mHoldIndex)
  {
    mHoldIndex = lit;
    mHoldCountdown = kHoldRedraws;
  }
  else if (--mHoldCountdown <= 0)
  {
    mHoldIndex = 0;
  }
  MarkIfLookChanged();
}

bool IVLMLEDMeterControl::WantsFrameStart() const
{
  return mLevelArrived && (mHoldIndex > 0 || LitByLevel() > 0);
}

int IVLMLEDMeterControl::LitByLevel() const
{
  return static_cast<int>(GetValue() * kNumLEDs);
}

IVLMLEDMeterControl::Look IVLMLEDMeterControl::CurrentLook() const
{
  return {std::min(std::max(LitByLevel(), mHoldIndex), kNumLEDs), GetValue() >= 1.0};
}

void IVLMLEDMeterControl::MarkIfLookChanged()
{
  const Look look = CurrentLook();
  if (look == mShown)
    return;
  mShown = look;
  SetDirty(false);
}

void IVLMLEDMeterControl::DrawLED(IGraphics& g, const IBitmap& bitmap, int led) const
{
  const auto x = static_cast<float>(mPositions[static_cast<size_t>(led)][0]);
  const auto y = static_cast<float>(mPositions[static_cast<size_t>(led)][1]);
  g.DrawBitmap(bitmap, {x, y, x + bitmap.W(), y + bitmap.H()}, 0, 0, &mLEDBlend);
}

void IVLMLEDMeterControl::Draw(IGraphics& g)
{
  mShown = CurrentLook();
  mLastLit = mShown.lit;
  for (int i = 0; i < mLastLit; ++i)
    DrawLED(g, mGlow, i);
  if (mShown.fullScale)
    DrawLED(g, mFullScale, kNumLEDs - 1);
}

void IVLMLEDMeterControl::OnRescale()
{
  if (IGraphics* ui = GetUI())
  {
    mGlow = ui->GetScaledBitmap(mGlow);
    mFullScale = ui->GetScaledBitmap(mFullScale);
  }
}

} // namespace iplug::igraphics
