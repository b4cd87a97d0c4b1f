#include "dsp/CDSPResampler.h"

#include "dsp/Decimator2x.h"
#include "dsp/Interpolator2x.h"
#include "dsp/ResamplerFilters.h"

#include <cmath>
#include <limits>
#include <utility>
#include <variant>

namespace velmora
{

namespace
{

class UpCascade
{
public:
  UpCascade(const ResamplerFilters& filters, int maxInLen)
      : mFirst(filters.lowStage, maxInLen), mSecond(filters.upHighStage, 2 * maxInLen),
        mMiddle(2 * static_cast<std::size_t>(maxInLen))
  {
  }

  int Process(const double* input, int length, double* output)
  {
    mFirst.Process(input, length, mMiddle.data());
    mSecond.Process(mMiddle.data(), 2 * length, output);
    return 4 * length;
  }

  void Clear()
  {
    mFirst.Clear();
    mSecond.Clear();
  }

private:
  Interpolator2x mFirst;
  Interpolator2x mSecond;
  std::vector<double> mMiddle;
};

class DownCascade
{
public:
  DownCascade(const ResamplerFilters& filters, int maxInLen)
      : mFirst(filters.downHighStage, maxInLen), mSecond(filters.lowStage, maxInLen / 2 + 1),
        mMiddle(static_cast<std::size_t>(maxInLen / 2 + 1))
  {
  }

  int Process(const double* input, int length, double* output)
  {
    const int middle = mFirst.Process(input, length, mMiddle.data());
    return mSecond.Process(mMiddle.data(), middle, output);
  }

  void Clear()
  {
    mFirst.Clear();
    mSecond.Clear();
  }

private:
  Decimator2x mFirst;
  Decimator2x mSecond;
  std::vector<double> mMiddle;
};

enum class EDirection
{
  None,
  Up,
  Down
};

EDirection DirectionOf(double srcRate, double dstRate)
{
  if (!std::isfinite(srcRate) || !std::isfinite(dstRate) || srcRate <= 0.0 || dstRate <= 0.0)
    return EDirection::None;
  constexpr double kTolerance = 1e-9;
  if (std::fabs(dstRate / srcRate - 4.0) <= 4.0 * kTolerance)
    return EDirection::Up;
  if (std::fabs(srcRate / dstRate - 4.0) <= 4.0 * kTolerance)
    return EDirection::Down;
  return EDirection::None;
}

bool InRange(double value, double low, double high)
{
  return std::isfinite(value) && value >= low && value <= high;
}

} // namespace

// The two 2x stages of one direction.
class CDSPResampler::Cascade
{
public:
  template <typename Stages>
  explicit Cascade(std::in_place_type_t<Stages> type, const ResamplerFilters& filters, int maxInLen)
      : mStages(type, filters, maxInLen)
  {
  }

  int Process(const double* input, int length, double* output)
  {
    return std::visit([&](auto& stages) { return stages.Process(input, length, output); }, mStages);
  }

  void Clear()
  {
    std::visit([](auto& stages) { stages.Clear(); }, mStages);
  }

private:
  std::variant<UpCascade, DownCascade> mStages;
};

CDSPResampler::CDSPResampler(double srcRate, double dstRate, int maxInLen, double transBandPercent,
                             double stopbandAttenDb, EPhaseResponse phase)
{
  const EDirection direction = DirectionOf(srcRate, dstRate);
  const bool phaseKnown = phase == EPhaseResponse::Linear || phase == EPhaseResponse::Minimum;
  if (direction == EDirection::None || !phaseKnown || maxInLen < 1 || maxInLen > kMaxInLen ||
      !InRange(transBandPercent, kMinTransBandPercent, kMaxTransBandPercent) ||
      !InRange(stopbandAttenDb, kMinStopbandAttenDb, kMaxStopbandAttenDb))
    return;

  const ResamplerFilters filters =
      DesignResamplerFilters(transBandPercent, stopbandAttenDb, phase == EPhaseResponse::Minimum);
  mMaxInLen = maxInLen;
  if (direction == EDirection::Up)
  {
    mCascade = std::make_unique<Cascade>(std::in_place_type<UpCascade>, filters, maxInLen);
    mOutput.assign(4 * static_cast<std::size_t>(maxInLen), 0.0);
    mInPerOut = 0.25;
    mLatency = UpsamplerDelay(filters);
  }
  else
  {
    mCascade = std::make_unique<Cascade>(std::in_place_type<DownCascade>, filters, maxInLen);
    // Up to three samples may be carried from earlier blocks.
    mOutput.assign(static_cast<std::size_t>((maxInLen + 3) / 4), 0.0);
    mInPerOut = 4.0;
    mLatency = DownsamplerDelay(filters);
  }
}

CDSPResampler::~CDSPResampler() = default;

int CDSPResampler::process(const double* input, int length, double*& output)
{
  if (!mCascade)
  {
    output = nullptr;
    return 0;
  }
  output = mOutput.data();
  if (input == nullptr || length <= 0 || length > mMaxInLen)
    return 0;
  return mCascade->Process(input, length, mOutput.data());
}

void CDSPResampler::clear()
{
  if (mCascade)
    mCascade->Clear();
}

int CDSPResampler::getInLenBeforeOutPos(int pos) const
{
  if (!mCascade)
    return 0;
  const double before = std::floor(mLatency + static_cast<double>(pos > 0 ? pos : 0) * mInPerOut);
  constexpr double kLargest = std::numeric_limits<int>::max();
  return static_cast<int>(before < kLargest ? before : kLargest);
}

double CDSPResampler::getLatencyFrac() const
{
  if (!mCascade)
    return 0.0;
  return mLatency - std::floor(mLatency);
}

} // namespace velmora
