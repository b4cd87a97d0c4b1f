#include "tests/lifecycle/LifecycleHarness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lifecycle_test
{

HostStandIn::HostStandIn() : mMainThread(std::this_thread::get_id()) {}

iplug::InstanceInfo HostStandIn::MakeInstanceInfo()
{
  iplug::InstanceInfo info;
  info.latencyChanged = [this](int latency)
  {
    if (std::this_thread::get_id() != mMainThread)
      ADD_FAILURE() << "latency " << latency << " reported off the main thread";
    else
      mReports.push_back(latency);
  };
  return info;
}

void MeterProbe::OnMsgFromDelegate(int msgTag, int dataSize, const void* pData)
{
  iplug::ISenderData<1, float> record;
  ASSERT_EQ(msgTag, 0);
  ASSERT_EQ(dataSize, static_cast<int>(sizeof(record)));
  std::memcpy(&record, pData, sizeof(record));
  mLog.push_back({GetTag(), record.ctrlTag, record.vals[0]});
}

TestEditor::TestEditor(Velmora& plugin) : mPlugin(plugin) {}

void TestEditor::Install()
{
  using namespace iplug::igraphics;
  mPlugin.SetEditorCreateFunc([this] { return std::make_unique<IGraphics>(mPlugin, 650, 400); });
  mPlugin.SetLayoutFunc(
      [this](IGraphics& ui)
      {
        for (int tag = 1; tag <= 4; ++tag)
          ui.AttachControl(std::make_unique<MeterProbe>(mDeliveries), tag);
        for (int i = 0; i < mPlugin.NParams(); ++i)
          ui.AttachControl(std::make_unique<IControl>(IRECT{}, i), kParamControlTagBase + i);
        auto* curve = static_cast<ITransferCurveControl*>(ui.AttachControl(
            std::make_unique<ITransferCurveControl>(IRECT{239.f, 58.f, 411.f, 230.f},
                                                    IColor{255, 149, 219, 94},
                                                    IBlend{EBlend::Add, 1.f}),
            kCurveTag));
        mPlugin.LinkCurveControl(curve);
        mPlugin.RefreshCurve();
      });
}

iplug::igraphics::ITransferCurveControl* TestEditor::Curve() const
{
  const auto* ui = mPlugin.GetUI();
  return ui ? static_cast<iplug::igraphics::ITransferCurveControl*>(
                  ui->GetControlWithTag(kCurveTag))
            : nullptr;
}

std::vector<double> TestEditor::CurvePoints() const
{
  std::vector<double> points;
  if (const auto* curve = Curve())
    curve->CopyPoints(points);
  return points;
}

iplug::igraphics::IControl* TestEditor::ParamControl(int paramIdx) const
{
  const auto* ui = mPlugin.GetUI();
  return ui ? ui->GetControlWithTag(kParamControlTagBase + paramIdx) : nullptr;
}

PluginHarness::PluginHarness(double sampleRate, int blockSize, int channels)
    : mPlugin(std::make_unique<Velmora>(mHost.MakeInstanceInfo())),
      mEditor(std::make_unique<TestEditor>(*mPlugin)), mChannels(channels),
      mInputs(static_cast<size_t>(channels)), mOutputs(static_cast<size_t>(channels))
{
  mPlugin->SetSampleRate(sampleRate);
  mPlugin->SetBlockSize(blockSize);
  mPlugin->SetChannelConnections(channels, channels);
  mEditor->Install();
  mPlugin->OnReset();
}

void PluginHarness::Process(int nBlocks, int nFrames, double level, bool ramp)
{
  std::thread audio(
      [&]
      {
        for (int b = 0; b < nBlocks; ++b)
        {
          std::vector<double*> in;
          std::vector<double*> out;
          for (int c = 0; c < mChannels; ++c)
          {
            const double scale = (ramp ? b + 1 : 1) * level / (c + 1);
            mInputs[static_cast<size_t>(c)].assign(static_cast<size_t>(nFrames), scale);
            mOutputs[static_cast<size_t>(c)].assign(static_cast<size_t>(nFrames), 0.0);
            in.push_back(mInputs[static_cast<size_t>(c)].data());
            out.push_back(mOutputs[static_cast<size_t>(c)].data());
          }
          mPlugin->ProcessBlock(in.data(), out.data(), nFrames);
        }
      });
  audio.join();
}

void PluginHarness::SettleSwitch()
{
  for (int i = 0; i < 200 && mPlugin->IsPathSwitchActive(); ++i)
    Process(16, 64, 0.25);
  ASSERT_FALSE(mPlugin->IsPathSwitchActive());
}

void PluginHarness::Edit(int paramIdx, double normalized)
{
  mPlugin->SendParameterValueFromUI(paramIdx, normalized);
}

} // namespace lifecycle_test
