#include "framework/graphics/controls/IValueReadoutControl.h"

#include "framework/core/IEditorDelegate.h"
#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace iplug::igraphics
{

namespace
{

double SteadySeconds()
{
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The length of the UTF-8 character that starts with this byte.
size_t CharLength(unsigned char lead)
{
  if (lead >= 0xF0)
    return 4;
  if (lead >= 0xE0)
    return 3;
  if (lead >= 0xC0)
    return 2;
  return 1;
}

// Calls letter with each character of str as a string of its own.
template <typename Letter> void ForEachLetter(const char* str, Letter&& letter)
{
  std::array<char, 5> one{};
  for (size_t i = 0; str[i] != '\0';)
  {
    size_t n = 0;
    const size_t length = CharLength(static_cast<unsigned char>(str[i]));
    while (n < length && str[i] != '\0')
      one[n++] = str[i++];
    one[n] = '\0';
    letter(one.data());
  }
}

} // namespace

IValueReadoutControl::IValueReadoutControl(const Style& style)
    : IControl(IRECT{}), mStyle(style), mClock(&SteadySeconds)
{
  mStyle.name.mAlign = EAlign::Near;
  mStyle.value.mAlign = EAlign::Near;
  SetIgnoreMouse(true);
  Hide(true);
}

IValueReadoutControl::~IValueReadoutControl()
{
  // An editor that still lists it as its listener would call into freed memory.
  if (IGraphics* ui = GetUI())
    ui->SetInteractionListener(nullptr);
}

void IValueReadoutControl::OnAttached()
{
  GetUI()->SetInteractionListener(this);
}

const IParam* IValueReadoutControl::ParamOf(const IControl* control) const
{
  const IEditorDelegate* delegate = GetDelegate();
  if (!control || !delegate || control->GetParamIdx() == kNoParameter)
    return nullptr;
  return delegate->GetParam(control->GetParamIdx());
}

void IValueReadoutControl::OnControlGrabbed(const IControl& control)
{
  if (ParamOf(&control))
    mHeld = &control;
}

void IValueReadoutControl::OnControlReleased(const IControl& control)
{
  if (mHeld == &control)
    mHeld = nullptr;
}

void IValueReadoutControl::OnControlEdited(const IControl& control)
{
  if (!ParamOf(&control))
    return;
  mEdited = &control;
  mEditedAt = mClock();
}

void IValueReadoutControl::OnMouseMoved(const IControl* control, float x, float y)
{
  mMouseInside = true;
  mMouseX = x;
  mMouseY = y;
  const IControl* over = ParamOf(control) ? control : nullptr;
  // Resting means not moving until the label shows; after that it stays while the mouse does.
  if (over != mHovered)
  {
    mHovered = over;
    mHoverShown = false;
    mHoveredSince = mClock();
  }
  else if (!mHoverShown)
  {
    mHoveredSince = mClock();
  }
}

void IValueReadoutControl::OnMouseLeft()
{
  mMouseInside = false;
  mHovered = nullptr;
  mHoverShown = false;
}

const IControl* IValueReadoutControl::Wanted(double now)
{
  if (mHeld)
    return mHeld;
  if (mEdited && now - mEditedAt < kLingerSeconds)
    return mEdited;
  mEdited = nullptr;
  if (mHovered && (mHoverShown || now - mHoveredSince >= kRestSeconds))
  {
    mHoverShown = true;
    return mHovered;
  }
  return nullptr;
}

bool IValueReadoutControl::CoversMouse(const IControl& target) const
{
  if (!mMouseInside || mHeld)
    return false;
  const IRECT& box = GetRECT();
  return box.Contains(mMouseX, mMouseY) ||
         (mHovered && mHovered != &target && mHovered->GetRECT().Intersects(box));
}

void IValueReadoutControl::OnFrameStart()
{
  const IControl* target = Wanted(mClock());
  const IParam* param = ParamOf(target);
  if (param)
    LayOut(*target, *param);
  Hide(!param || CoversMouse(*target));
}

float IValueReadoutControl::NameWidth(IGraphics& g)
{
  float width = 0.f;
  int letters = 0;
  ForEachLetter(mName.data(),
                [&](const char* letter)
                {
                  width += g.MeasureText(mStyle.name, letter);
                  ++letters;
                });
  return width + mStyle.letterSpacing * static_cast<float>(std::max(letters - 1, 0));
}

void IValueReadoutControl::LayOut(const IControl& control, const IParam& param)
{
  IGraphics* ui = GetUI();
  const double value = param.Value();
  const float scale = ui->GetTotalScale();
  const bool sameControl = &control == mLaidOutFor && scale == mLaidOutScale;
  if (sameControl && value == mLaidOutValue)
    return;
  mLaidOutValue = value;

  std::array<char, 64> name{};
  std::array<char, IParam::kMaxDisplayLength> valueText{};
  std::snprintf(name.data(), name.size(), "%s", param.GetName());
  param.FormatDisplay(value, true, valueText);
  // A change finer than the display shows leaves the label as it is.
  if (sameControl && std::strcmp(name.data(), mName.data()) == 0 &&
      std::strcmp(valueText.data(), mValue.data()) == 0)
    return;
  mLaidOutFor = &control;
  mLaidOutScale = scale;
  mName = name;
  mValue = valueText;
  std::snprintf(mText.data(), mText.size(), "%s  %s", mName.data(), mValue.data());

  const float nameWidth = NameWidth(*ui);
  const float valueWidth = ui->MeasureText(mStyle.value, mValue.data());
  const float width = mStyle.padding * 2.f + nameWidth + mStyle.gap + valueWidth;
  const IRECT box = Place(control.GetRECT(), width, mStyle.height, ui->GetBounds(), mStyle.distance,
                          mStyle.margin, scale);
  // The text sits centred in the box, which pixel rounding may have widened.
  mNameStart = box.MW() - (width - mStyle.padding * 2.f) * 0.5f;
  mValueStart = mNameStart + nameWidth + mStyle.gap;
  if (box == GetRECT())
    SetDirty(false);
  else
    SetRECT(box);
}

IRECT IValueReadoutControl::Place(const IRECT& control, float width, float height,
                                  const IRECT& bounds, float distance, float margin, float scale)
{
  float top = control.T - distance - height;
  if (top < bounds.T + margin)
    top = control.B + distance;
  const float left = std::clamp(control.MW() - width * 0.5f, bounds.L + margin,
                                std::max(bounds.L + margin, bounds.R - margin - width));
  top = std::clamp(top, bounds.T + margin, std::max(bounds.T + margin, bounds.B - margin - height));
  const float s = scale > 0.f ? scale : 1.f;
  const auto snap = [s](float v) { return std::round(v * s) / s; };
  const auto outward = [s](float v) { return std::ceil(v * s - 0.001f) / s; };
  const float l = snap(left);
  const float t = snap(top);
  return {l, t, std::min(outward(l + width), bounds.R), std::min(outward(t + height), bounds.B)};
}

void IValueReadoutControl::DrawName(IGraphics& g, float x, const IRECT& box)
{
  ForEachLetter(mName.data(),
                [&](const char* letter)
                {
                  g.DrawText(mStyle.name, letter, {x, box.T, box.R, box.B});
                  x += g.MeasureText(mStyle.name, letter) + mStyle.letterSpacing;
                });
}

void IValueReadoutControl::Draw(IGraphics& g)
{
  const IRECT& box = GetRECT();
  if (box.Empty())
    return;
  g.FillRoundRect(mStyle.fill, box, mStyle.cornerRadius);
  if (mStyle.frame.A > 0)
    g.DrawRoundRect(mStyle.frame, {box.L + 0.5f, box.T + 0.5f, box.R - 0.5f, box.B - 0.5f},
                    std::max(mStyle.cornerRadius - 0.5f, 0.f));
  DrawName(g, mNameStart, box);
  g.DrawText(mStyle.value, mValue.data(), {mValueStart, box.T, box.R, box.B});
}

} // namespace iplug::igraphics
