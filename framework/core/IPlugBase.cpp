#include "framework/core/IPlugBase.h"

#include "framework/graphics/IGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace iplug
{

IPlugBase::IPlugBase(const InstanceInfo& info, const Config& config)
    : mConfig(config),
      mIOConfigs(ParseChannelIOStr(config.channelIOStr ? config.channelIOStr : "")),
      mLatencyListener(info.latencyChanged),
      mPresets(static_cast<size_t>(std::max(0, config.nPresets)))
{
  mParams.reserve(static_cast<size_t>(std::max(0, config.nParams)));
  for (int i = 0; i < config.nParams; ++i)
    mParams.push_back(std::make_unique<IParam>());
  mLatency.store(config.latency);
  mEditorWidth = config.plugWidth;
  mEditorHeight = config.plugHeight;
  // Until the host connects buses, the widest configuration is assumed.
  for (const IOConfig& io : mIOConfigs)
  {
    mInChansConnected = std::max(mInChansConnected, io.nIn);
    mOutChansConnected = std::max(mOutChansConnected, io.nOut);
  }
}

IPlugBase::~IPlugBase() = default;

IParam* IPlugBase::GetParam(int paramIdx)
{
  if (paramIdx < 0 || paramIdx >= NParams())
    return nullptr;
  return mParams[static_cast<size_t>(paramIdx)].get();
}

const IParam* IPlugBase::GetParam(int paramIdx) const
{
  if (paramIdx < 0 || paramIdx >= NParams())
    return nullptr;
  return mParams[static_cast<size_t>(paramIdx)].get();
}

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
  return std::any_of(mIOConfigs.begin(), mIOConfigs.end(),
                     [&](const IOConfig& io) { return io.nIn == nIn && io.nOut == nOut; });
}

void IPlugBase::SetSampleRate(double sampleRate)
{
  if (std::isfinite(sampleRate) && sampleRate > 0.0)
    mSampleRate = sampleRate;
}

void IPlugBase::SetBlockSize(int blockSize)
{
  if (blockSize > 0)
    mBlockSize = blockSize;
}

void IPlugBase::SetChannelConnections(int nIn, int nOut)
{
  mInChansConnected = std::max(0, nIn);
  mOutChansConnected = std::max(0, nOut);
}

void IPlugBase::SetLatency(int samples)
{
  mLatency.store(samples);
  InformHostOfLatencyChange();
}

void IPlugBase::InformHostOfLatencyChange()
{
  if (mLatencyListener)
    mLatencyListener(GetLatency());
}

void IPlugBase::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  const int n = std::min(NInChansConnected(), NOutChansConnected());
  for (int c = 0; c < n && nFrames > 0; ++c)
  {
    if (inputs[c] != outputs[c])
      std::memmove(outputs[c], inputs[c], sizeof(double) * static_cast<size_t>(nFrames));
  }
}

void IPlugBase::OnParamChange(int paramIdx, EParamSource, int)
{
  OnParamChange(paramIdx);
}

void IPlugBase::OnParamReset(EParamSource source)
{
  for (int i = 0; i < NParams(); ++i)
  {
    OnParamChange(i, source, -1);
    OnParamChangeUI(i, source);
  }
}

void IPlugBase::SendParameterValueFromDelegate(int paramIdx, double value, bool normalized)
{
  const IParam* param = GetParam(paramIdx);
  if (!param)
    return;
  IEditorDelegate::SendParameterValueFromDelegate(
      paramIdx, normalized ? value : param->ToNormalized(value), true);
}

void IPlugBase::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (!param)
    return;
  param->SetNormalized(normalizedValue);
  OnParamChange(paramIdx, EParamSource::kUI, -1);
  OnParamChangeUI(paramIdx, EParamSource::kUI);
}

double IPlugBase::GetParamDefaultNormalized(int paramIdx) const
{
  const IParam* param = GetParam(paramIdx);
  return param ? param->GetDefault(true) : 0.0;
}

void IPlugBase::ResetParamToDefaultFromUI(int paramIdx)
{
  if (!GetParam(paramIdx))
    return;
  const double value = GetParamDefaultNormalized(paramIdx);
  BeginInformHostOfParamChangeFromUI(paramIdx);
  SendParameterValueFromUI(paramIdx, value);
  EndInformHostOfParamChangeFromUI(paramIdx);
  if (const igraphics::IGraphics* ui = GetUI())
    ui->UpdateControlsOfParam(paramIdx, GetParam(paramIdx)->GetNormalized());
}

void IPlugBase::OnTimer()
{
  OnIdle();
  if (igraphics::IGraphics* ui = GetUI())
    ui->OnIdle();
}

void IPlugBase::OnUIOpen()
{
  if (const igraphics::IGraphics* ui = GetUI())
  {
    for (int i = 0; i < NParams(); ++i)
      ui->UpdateControlsOfParam(i, GetParam(i)->GetNormalized());
  }
}

void IPlugBase::ConstrainEditorSize(int& width, int& height) const
{
  width =
      std::clamp(width, mConfig.plugMinWidth, std::max(mConfig.plugMinWidth, mConfig.plugMaxWidth));
  height = std::clamp(height, mConfig.plugMinHeight,
                      std::max(mConfig.plugMinHeight, mConfig.plugMaxHeight));
}

} // namespace iplug
