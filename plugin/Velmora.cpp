#include "plugin/Velmora.h"

#include "plugin/VelmoraConfig.h"

using iplug::IParam;

Velmora::Velmora(const iplug::InstanceInfo& info)
    : iplug::Plugin(info, velmora::MakeVelmoraConfig())
{
  CreateParameters();
  InstallEditorHooks();
  const bool oversampling = GetParam(kOversampling)->Value() >= 0.5;
  mOversamplingOn.store(oversampling);
  mOversamplingRequested.store(oversampling);
  UpdateCoefficients();
  mCurvePoints.assign(kCurvePointCount, 0.0);
}

// The editor goes first, while this object's OnUIClose can still cut the curve link.
Velmora::~Velmora()
{
  CloseEditor();
}

void Velmora::CreateParameters()
{
  const IParam::ShapeLinear linear;
  GetParam(kThreshold)->InitDouble("Threshold", 0., -60., 0., 0.1, "dB", 0, "", linear);
  GetParam(kThresholdAsym)->InitDouble("T Assym", 0., -30., 30., 0.1, "dB", 0, "", linear);
  GetParam(kNonlinearity)->InitDouble("Nonlinearity", 1., 1., 1.13, 0.0001, "", 0, "", linear);
  GetParam(kNonlinearityAsym)
      ->InitDouble("N Assym", 0., -0.06, 0.06, 0.0001, "Offset", 0, "", linear);
  GetParam(kKnee)->InitDouble("Knee", 0.1, 0.1, 9., 0.1, "dB", 0, "", linear);
  GetParam(kKneeAsym)->InitDouble("K Assym", 0., -9., 9., 0.1, "dB", 0, "", linear);
  GetParam(kModA)->InitDouble("Mod A", 0., 0., 100., 0.1, "%", 0, "", linear);
  GetParam(kModB)->InitDouble("Mod B", 0., 0., 100., 0.1, "%", 0, "", linear);
  GetParam(kGain)->InitDouble("Gain", 0., 0., 60., 0.1, "dB", 0, "", linear);
  GetParam(kMix)->InitDouble("Mix", 50., 0., 100., 0.1, "%", 0, "", linear);
  GetParam(kOutput)->InitDouble("Output", 0., -60., 0., 0.1, "dB", 0, "", linear);
  GetParam(kOversampling)
      ->InitBool("Oversampling", false, "", IParam::kFlagCannotAutomate, "", "off", "on");
}

void Velmora::OnParamChange(int paramIdx)
{
  if (paramIdx == kOversampling)
    return;
  UpdateCoefficients();
  RefreshCurve();
}
