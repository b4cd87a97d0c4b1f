#pragma once

#include <atomic>
#include <cstddef>
#include <span>
#include <string>

namespace iplug
{

// One host-visible parameter. The value is held in real units as an atomic double so that any
// thread may read or write it without a lock; every write is constrained first.
class IParam
{
public:
  enum EParamType
  {
    kTypeNone,
    kTypeBool,
    kTypeDouble
  };

  enum EParamUnit
  {
    kUnitPercentage,
    kUnitSeconds,
    kUnitMilliseconds,
    kUnitSamples,
    kUnitDB,
    kUnitLinearGain,
    kUnitPan,
    kUnitPhase,
    kUnitDegrees,
    kUnitMeters,
    kUnitRate,
    kUnitRatio,
    kUnitFrequency,
    kUnitOctaves,
    kUnitCents,
    kUnitAbsCents,
    kUnitSemitones,
    kUnitMIDINote,
    kUnitMIDICC,
    kUnitCustom
  };

  enum EFlags
  {
    kFlagsNone = 0,
    kFlagCannotAutomate = 0x1,
    kFlagStepped = 0x2,
  };

  // The only shape the framework offers: normalised = (value - min) / (max - min).
  struct ShapeLinear
  {
  };

  static constexpr int kMaxDisplayPrecision = 6;
  // Room for any display text with its unit label.
  static constexpr size_t kMaxDisplayLength = 128;

  IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", int flags = kFlagsNone, const char* group = "",
                  const ShapeLinear& shape = ShapeLinear(), EParamUnit unit = kUnitCustom);
  void InitBool(const char* name, bool defaultVal, const char* label = "", int flags = kFlagsNone,
                const char* group = "", const char* offText = "off", const char* onText = "on");

  // Real value.
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  bool Bool() const { return Value() >= 0.5; }
  // Stores the constrained value. NaN carries no usable value and is refused: the parameter
  // keeps what it had. Infinities are clamped like any other out-of-range value.
  void Set(double value);
  void SetNormalized(double normalized);
  void SetToDefault() { Set(mDefault); }

  double GetNormalized() const { return ToNormalized(Value()); }
  double ToNormalized(double value) const;
  double FromNormalized(double normalized) const;
  // Rounds a two-state value half away from zero, then clamps every value to its range.
  double Constrain(double value) const;

  std::string GetDisplay(bool withLabel = false) const { return GetDisplay(Value(), withLabel); }
  std::string GetDisplay(double value, bool withLabel = false) const;
  // The same text written into out without allocating, cut to fit and always terminated;
  // returns its length.
  size_t FormatDisplay(double value, bool withLabel, std::span<char> out) const;
  // Parses a display text back to a constrained real value; false when nothing usable is there.
  bool StringToValue(const char* text, double& value) const;

  const char* GetName() const { return mName.c_str(); }
  const char* GetLabel() const { return mLabel.c_str(); }
  const char* GetGroup() const { return mGroup.c_str(); }
  EParamType Type() const { return mType; }
  EParamUnit Unit() const { return mUnit; }
  int GetFlags() const { return mFlags; }
  bool GetCanAutomate() const { return (mFlags & kFlagCannotAutomate) == 0; }
  bool GetStepped() const { return (mFlags & kFlagStepped) != 0; }
  int GetDisplayPrecision() const { return mDisplayPrecision; }
  double GetDefault(bool normalized = false) const
  {
    return normalized ? ToNormalized(mDefault) : mDefault;
  }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetRange() const { return mMax - mMin; }
  // Number of discrete steps across the range for stepped parameters, else 0.
  int GetStepCount() const;
  const char* GetDisplayText(double value) const;

private:
  static int PrecisionFromStep(double step);

  EParamType mType = kTypeNone;
  EParamUnit mUnit = kUnitCustom;
  std::string mName;
  std::string mLabel;
  std::string mGroup;
  std::string mOffText;
  std::string mOnText;
  double mDefault = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  int mFlags = kFlagsNone;
  int mDisplayPrecision = 0;
  std::atomic<double> mValue{0.0};
};

} // namespace iplug
