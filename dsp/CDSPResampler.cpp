#include "dsp/CDSPResampler.h"

#include "dsp/ResamplerCascades.h"
#include "dsp/ResamplerFilters.h"

#include <cmath>
#include <limits>
#include <utility>
#include <variant>

namespace velmora
{
namespace
{

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
  explicit Cascade(std::in_place_type_t<Stages> type, const ResamplerFilters& filters, int maxInLen,
                   const DspKernels& kernels)
      : mStages(type, filters, maxInLen, kernels)
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
                             double stopbandAttenDb, EPhaseResponse phase,
                             const DspKernels& kernels)
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
    mCascade = std::make_unique<Cascade>(std::in_place_type<UpCascade>, filters, maxInLen, kernels);
    mOutput.assign(4 * static_cast<std::size_t>(maxInLen), 0.0);
    mInPerOut = 0.25;
    mLatency = UpsamplerDelay(filters);
  }
  else
  {
    mCascade =
        std::make_unique<Cascade>(std::in_place_type<DownCascade>, filters, maxInLen, kernels);
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
