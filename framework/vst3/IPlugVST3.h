#pragma once

#include "framework/core/IPlugBase.h"
#include "framework/vst3/VST3Buses.h"
#include "framework/vst3/VST3ControllerEchoes.h"
#include "framework/vst3/VST3InterfaceAdapters.h"
#include "framework/vst3/VST3MainThread.h"
#include "framework/vst3/VST3ParamChangeSplitter.h"
#include "framework/vst3/VST3PendingRecall.h"
#include "framework/vst3/VST3SampleBuffers.h"
#include "framework/vst3/VST3ViewOwner.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstchannelcontextinfo.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace iplug
{

// The VST3 base of a plug-in: one reference-counted object that is component, audio processor
// and edit controller at once. Parameters keep their plug-in index as VST3 identifier; the
// wrapper adds "Bypass" and "Preset" above them.
class IPlugVST3 : public IPlugBase,
                  public VST3ComponentSide,
                  public Steinberg::Vst::IAudioProcessor,
                  public Steinberg::Vst::IProcessContextRequirements,
                  public VST3ControllerSide,
                  public Steinberg::Vst::IEditController2,
                  public Steinberg::Vst::IUnitInfo,
                  public Steinberg::Vst::IMidiMapping,
                  public Steinberg::Vst::IConnectionPoint,
                  public Steinberg::Vst::ChannelContext::IInfoListener,
                  private VST3ParamChangeSplitter::Client,
                  private VST3ViewOwner
{
public:
  struct InstanceInfo
  {
  };

  IPlugVST3(const InstanceInfo& info, const Config& config);
  ~IPlugVST3() override;

  bool IsBypassed() const { return mBypass.load(std::memory_order_relaxed); }

  // FUnknown
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override;
  Steinberg::uint32 PLUGIN_API release() override;

  // IPluginBase (shared by the component and the controller side)
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;

  // IComponent
  Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
  Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
  Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                          Steinberg::Vst::BusDirection dir) override;
  Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type,
                                           Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                           Steinberg::Vst::BusInfo& bus) override;
  Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                               Steinberg::Vst::RoutingInfo& outInfo) override;
  Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir,
                                            Steinberg::int32 index,
                                            Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;

  // IAudioProcessor
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir,
                                                  Steinberg::int32 index,
                                                  Steinberg::Vst::SpeakerArrangement& arr) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override;
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 PLUGIN_API getTailSamples() override;

  // IProcessContextRequirements
  Steinberg::uint32 PLUGIN_API getProcessContextRequirements() override;

  // IEditController
  Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) override;
  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                 Steinberg::Vst::ParameterInfo& info) override;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                      Steinberg::Vst::ParamValue valueNormalized,
                                                      Steinberg::Vst::String128 string) override;
  Steinberg::tresult PLUGIN_API
  getParamValueByString(Steinberg::Vst::ParamID id, Steinberg::Vst::TChar* string,
                        Steinberg::Vst::ParamValue& valueNormalized) override;
  Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue valueNormalized) override;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plainValue) override;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                   Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API
  setComponentHandler(Steinberg::Vst::IComponentHandler* handler) override;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) override;

  // IEditController2
  Steinberg::tresult PLUGIN_API setKnobMode(Steinberg::Vst::KnobMode mode) override;
  Steinberg::tresult PLUGIN_API openHelp(Steinberg::TBool onlyCheck) override;
  Steinberg::tresult PLUGIN_API openAboutBox(Steinberg::TBool onlyCheck) override;

  // IUnitInfo
  Steinberg::int32 PLUGIN_API getUnitCount() override;
  Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex,
                                            Steinberg::Vst::UnitInfo& info) override;
  Steinberg::int32 PLUGIN_API getProgramListCount() override;
  Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                   Steinberg::Vst::ProgramListInfo& info) override;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::CString attributeId,
                                               Steinberg::Vst::String128 attributeValue) override;
  Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                                     Steinberg::int32 programIndex) override;
  Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId,
                                                    Steinberg::int32 programIndex,
                                                    Steinberg::int16 midiPitch,
                                                    Steinberg::Vst::String128 name) override;
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() override;
  Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) override;
  Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type,
                                             Steinberg::Vst::BusDirection dir,
                                             Steinberg::int32 busIndex, Steinberg::int32 channel,
                                             Steinberg::Vst::UnitID& unitId) override;
  Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32 listOrUnitId,
                                                   Steinberg::int32 programIndex,
                                                   Steinberg::IBStream* data) override;

  // IMidiMapping
  Steinberg::tresult PLUGIN_API getMidiControllerAssignment(Steinberg::int32 busIndex,
                                                            Steinberg::int16 channel,
                                                            Steinberg::Vst::CtrlNumber number,
                                                            Steinberg::Vst::ParamID& id) override;

  // IConnectionPoint
  Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

  // ChannelContext::IInfoListener
  Steinberg::tresult PLUGIN_API
  setChannelContextInfos(Steinberg::Vst::IAttributeList* list) override;

  // Editor edits and size changes, passed on to the host.
  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void SendParameterValueFromUI(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;
  bool EditorResizeFromUI(int width, int height) override;

protected:
  void InformHostOfLatencyChange() override;

private:
  // Component-side state carries the whole state; the controller side has none of its own.
  Steinberg::tresult SetComponentSideState(Steinberg::IBStream* state) override;
  Steinberg::tresult GetComponentSideState(Steinberg::IBStream* state) override;
  Steinberg::tresult SetControllerSideState(Steinberg::IBStream* state) override;
  Steinberg::tresult GetControllerSideState(Steinberg::IBStream* state) override;
  Steinberg::tresult ReadState(Steinberg::IBStream& state);
  Steinberg::tresult WriteState(Steinberg::IBStream& state);

  // VST3ParamChangeSplitter::Client, on the audio thread.
  void ApplyParamChange(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value,
                        Steinberg::int32 sampleOffset) override;
  void ProcessSegment(Steinberg::int32 start, Steinberg::int32 length) override;

  // VST3ViewOwner
  IEditorDelegate& ViewDelegate() override { return *this; }
  void RetainForView() override { addRef(); }
  void ReleaseForView() override { release(); }
  void ViewDestroyed() override { mHostMainThread.ViewDestroyed(); }

  // Work that waits for the main thread: restart requests, program changes that arrived with
  // audio, and (without a host run loop) the idle step itself.
  void ServiceMainThread();
  void OnIdleTimer();
  // A program change that arrived with audio, applied here on the main thread, with the edits that
  // arrived after it applied again.
  void ApplyPendingPreset();
  // Sets whether every output channel of the block is flagged silent.
  void FlagSilentOutputs(Steinberg::Vst::ProcessData& data) const;
  // Queues a restart request with these flags; it reaches the host on the main thread only, at
  // once when called there.
  void RequestRestart(Steinberg::int32 flags);
  void DeliverPendingRestart();
  bool OnMainThread() const { return std::this_thread::get_id() == mMainThread; }
  bool BusBuffersUsable(const Steinberg::Vst::AudioBusBuffers* buses, Steinberg::int32 numBuses,
                        int channels, bool doublePrecision) const;
  // Main thread. Restores (or, the first time, captures) a preset; when that changed any value,
  // asks the host to read the parameter values again.
  Steinberg::tresult SelectPreset(int index);

  std::atomic<Steinberg::uint32> mRefCount{1};
  std::thread::id mMainThread;
  bool mInitialized = false;
  std::string mHostName;
  std::vector<std::string> mProgramNames;
  Steinberg::IPtr<Steinberg::Vst::IComponentHandler> mComponentHandler;

  VST3Buses mBuses;
  VST3SampleBuffers mBuffers;
  VST3ParamChangeSplitter mSplitter;
  Steinberg::Vst::ProcessData* mCurrentData = nullptr;

  Steinberg::int32 mSampleSize = Steinberg::Vst::kSample32;
  std::atomic<bool> mSetupDone{false};
  std::atomic<bool> mActive{false};
  std::atomic<bool> mProcessing{false};
  std::atomic<bool> mBypass{false};
  std::atomic<Steinberg::int32> mPendingRestartFlags{0};
  VST3PendingRecall mPendingRecall;
  VST3ControllerEchoes mEchoes;
  // The idle timer and the editor view; declared after everything the timer's tick uses, so it
  // stops before they go.
  VST3MainThread mHostMainThread;
};

} // namespace iplug
