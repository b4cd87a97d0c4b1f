#include "framework/core/IParam.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace iplug
{

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal,
                        double step, const char* label, int flags, const char* group,
                        const ShapeLinear&, EParamUnit unit)
{
  mType = kTypeDouble;
  mName = name ? name : "";
  mLabel = label ? label : "";
  mGroup = group ? group : "";
  mMin = std::min(minVal, maxVal);
  mMax = std::max(minVal, maxVal);
  mStep = step;
  mFlags = flags;
  mUnit = unit;
  mDisplayPrecision = PrecisionFromStep(step);
  mDefault = std::clamp(defaultVal, mMin, mMax);
  mValue.store(mDefault, std::memory_order_relaxed);
}

void IParam::InitBool(const char* name, bool defaultVal, const char* label, int flags,
                      const char* group, const char* offText, const char* onText)
{
  mType = kTypeBool;
  mName = name ? name : "";
  mLabel = label ? label : "";
  mGroup = group ? group : "";
  mOffText = offText ? offText : "";
  mOnText = onText ? onText : "";
  mMin = 0.0;
  mMax = 1.0;
  mStep = 1.0;
  mFlags = flags | kFlagStepped;
  mUnit = kUnitCustom;
  mDisplayPrecision = 0;
  mDefault = defaultVal ? 1.0 : 0.0;
  mValue.store(mDefault, std::memory_order_relaxed);
}

int IParam::PrecisionFromStep(double step)
{
  if (!(step > 0.0) || !std::isfinite(step))
    return 0;
  int precision = 0;
  double scaled = step;
  auto isWhole = [](double v)
  { return std::round(v) != 0.0 && std::fabs(v - std::round(v)) <= 1e-9 * std::fabs(v); };
  while (precision < kMaxDisplayPrecision && !isWhole(scaled))
  {
    scaled *= 10.0;
    ++precision;
  }
  return precision;
}

double IParam::Constrain(double value) const
{
  if (mType == kTypeBool)
    value = std::round(value);
  return std::clamp(value, mMin, mMax);
}

void IParam::Set(double value)
{
  if (std::isnan(value))
    return;
  mValue.store(Constrain(value), std::memory_order_relaxed);
}

double IParam::ToNormalized(double value) const
{
  const double range = mMax - mMin;
  if (range <= 0.0)
    return 0.0;
  return std::clamp((value - mMin) / range, 0.0, 1.0);
}

double IParam::FromNormalized(double normalized) const
{
  return mMin + std::clamp(normalized, 0.0, 1.0) * (mMax - mMin);
}

void IParam::SetNormalized(double normalized)
{
  if (std::isnan(normalized))
    return;
  Set(FromNormalized(normalized));
}

int IParam::GetStepCount() const
{
  if (!GetStepped() || !(mStep > 0.0))
    return 0;
  return static_cast<int>(std::lround(GetRange() / mStep));
}

const char* IParam::GetDisplayText(double value) const
{
  if (mType != kTypeBool)
    return "";
  return Constrain(value) >= 0.5 ? mOnText.c_str() : mOffText.c_str();
}

size_t IParam::FormatDisplay(double value, bool withLabel, std::span<char> out) const
{
  if (out.empty())
    return 0;
  char number[64];
  const char* text = number;
  if (mType == kTypeBool)
  {
    text = GetDisplayText(value);
  }
  else
  {
    std::snprintf(number, sizeof(number), "%.*f", mDisplayPrecision, value);
    // "-0.0" reads as a sign error to users.
    if (number[0] == '-' && number[std::strspn(number, "-0.")] == '\0')
      text = number + 1;
  }
  const int written = withLabel && !mLabel.empty()
                          ? std::snprintf(out.data(), out.size(), "%s %s", text, mLabel.c_str())
                          : std::snprintf(out.data(), out.size(), "%s", text);
  return std::min(static_cast<size_t>(std::max(written, 0)), out.size() - 1);
}

std::string IParam::GetDisplay(double value, bool withLabel) const
{
  std::array<char, kMaxDisplayLength> buffer{};
  const size_t length = FormatDisplay(value, withLabel, buffer);
  return {buffer.data(), length};
}

bool IParam::StringToValue(const char* text, double& value) const
{
  if (!text)
    return false;
  if (mType == kTypeBool)
  {
    if (mOffText == text)
    {
      value = 0.0;
      return true;
    }
    if (mOnText == text)
    {
      value = 1.0;
      return true;
    }
  }
  char* end = nullptr;
  const double parsed = std::strtod(text, &end);
  if (end == text || std::isnan(parsed))
    return false;
  value = Constrain(parsed);
  return true;
}

} // namespace iplug
