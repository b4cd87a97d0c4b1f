// A preset recall tells the host, from the main thread, to read the parameter values again, so
// that what the host shows, automates and saves is what the plug-in runs with.
#include "tests/vst3/Vst3TestSupport.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace velmora::test
{
namespace
{

constexpr int kBlock = 64;
constexpr int kPluginParams = 12;
constexpr uint32_t kOversamplingId = 11;
// The normalised value by which a host selects program 0 of the one-program list.
constexpr double kProgramZero = 0.0;

struct SavedState
{
  std::vector<double> values;
  bool bypass = false;
};

SavedState Decode(const std::vector<uint8_t>& bytes)
{
  SavedState state;
  EXPECT_EQ(bytes.size(), static_cast<size_t>(kPluginParams * 8 + 4));
  if (bytes.size() != static_cast<size_t>(kPluginParams * 8 + 4))
    return state;
  for (int i = 0; i < kPluginParams; ++i)
  {
    uint64_t bits = 0;
    for (int b = 0; b < 8; ++b)
      bits |= static_cast<uint64_t>(bytes[static_cast<size_t>(i * 8 + b)]) << (8 * b);
    double value = 0.0;
    std::memcpy(&value, &bits, 8);
    state.values.push_back(value);
  }
  state.bypass = bytes[kPluginParams * 8] != 0;
  return state;
}

// What a host holds of each parameter: the values it set or sent itself, and what it reads back
// after a state load or a request to re-read the values.
class HostView
{
public:
  explicit HostView(host::vst3::VST3HostedPlugin& effect) : mEffect(effect) { ReadAll(); }

  void Set(uint32_t id, double value) { mValues[id] = value; }
  double Get(uint32_t id) const { return mValues.at(id); }

  void ReadAll()
  {
    for (uint32_t id = 0; id < kPluginParams; ++id)
      mValues[id] = mEffect.Controller().getParamNormalized(id);
    mValues[kBypassId] = mEffect.Controller().getParamNormalized(kBypassId);
    mValues[kPresetId] = mEffect.Controller().getParamNormalized(kPresetId);
  }

  // Handles the restart requests that arrived since the last call, as a host's handler would.
  void HandleRestarts()
  {
    const auto restarts = mEffect.Handler().Restarts();
    for (size_t i = mHandled; i < restarts.size(); ++i)
    {
      if ((restarts[i].flags & kParamValuesChanged) != 0)
        ReadAll();
    }
    mHandled = restarts.size();
  }

  // Every parameter as the host holds it against the plug-in's saved state and its program.
  void ExpectMatchesPlugin(const std::string& context)
  {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(mEffect.SaveState(bytes)) << context;
    const SavedState state = Decode(bytes);
    ASSERT_EQ(state.values.size(), static_cast<size_t>(kPluginParams)) << context;
    for (uint32_t id = 0; id < kPluginParams; ++id)
    {
      const double shown = mEffect.Controller().normalizedParamToPlain(id, mValues[id]);
      const double range = mEffect.Controller().normalizedParamToPlain(id, 1.0) -
                           mEffect.Controller().normalizedParamToPlain(id, 0.0);
      EXPECT_NEAR(shown, state.values[id], 1e-9 * std::fabs(range)) << context << ", id " << id;
    }
    EXPECT_EQ(mValues[kBypassId] >= 0.5, state.bypass) << context;
    EXPECT_EQ(mValues[kPresetId], mEffect.Controller().getParamNormalized(kPresetId)) << context;
  }

private:
  host::vst3::VST3HostedPlugin& mEffect;
  std::map<uint32_t, double> mValues;
  size_t mHandled = 0;
};

// A repeatable stream of choices for one seed.
class RandomChoices
{
public:
  explicit RandomChoices(int seed) : mEngine(static_cast<std::mt19937::result_type>(seed)) {}
  // 0 to count - 1.
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(mEngine); }
  double Normalised() { return std::uniform_real_distribution<>(0.0, 1.0)(mEngine); }

private:
  std::mt19937 mEngine;
};

class Vst3PresetRecall : public ::testing::Test
{
protected:
  void SetUp() override
  {
    effect = LoadEffect();
    ASSERT_NE(effect, nullptr);
    host::ProcessSetup setup;
    setup.maxBlockSize = kBlock;
    std::string error;
    ASSERT_TRUE(effect->Start(setup, error)) << error;
  }

  IEditController& Controller() { return effect->Controller(); }

  // Blocks without changes on an audio thread, as go by between a user's actions in a running
  // host.
  void LetBlocksGoBy(int blocks)
  {
    std::thread audio([&] { ProcessSilence(*effect, blocks, kBlock); });
    audio.join();
  }

  // One block on an audio thread of its own, as a host's processing thread runs it.
  std::vector<double> ProcessOnAudioThread(const std::vector<host::HostParamChange>& changes)
  {
    std::vector<double> left(kBlock), right(kBlock);
    for (int i = 0; i < kBlock; ++i)
    {
      left[static_cast<size_t>(i)] = 0.8 * std::sin(0.05 * i);
      right[static_cast<size_t>(i)] = -0.6 * std::sin(0.02 * i);
    }
    std::vector<double*> channels{left.data(), right.data()};
    bool processed = false;
    std::thread audio([&] { processed = effect->Process(channels, kBlock, changes); });
    audio.join();
    EXPECT_TRUE(processed);
    left.insert(left.end(), right.begin(), right.end());
    return left;
  }

  int ValuesChangedRestarts()
  {
    const auto restarts = effect->Handler().Restarts();
    return static_cast<int>(std::count_if(restarts.begin(), restarts.end(),
                                          [](const auto& r)
                                          { return (r.flags & kParamValuesChanged) != 0; }));
  }

  bool AllRestartsOnMainThread()
  {
    const auto restarts = effect->Handler().Restarts();
    return std::all_of(restarts.begin(), restarts.end(),
                       [](const auto& r) { return r.onMainThread; });
  }

  std::unique_ptr<host::vst3::VST3HostedPlugin> effect;
};

struct RecallCase
{
  const char* name;
  bool withAudio;
};

void PrintTo(const RecallCase& c, std::ostream* os)
{
  *os << c.name;
}

class Vst3PresetRecallRoute : public Vst3PresetRecall,
                              public ::testing::WithParamInterface<RecallCase>
{
protected:
  // Selects program 0 through the controller, or with an audio block followed by an idle tick.
  void SelectProgramZero()
  {
    if (GetParam().withAudio)
    {
      ProcessOnAudioThread({{kPresetId, 17, kProgramZero}});
      IdleTick(*effect);
    }
    else
      ASSERT_EQ(Controller().setParamNormalized(kPresetId, kProgramZero), kResultOk);
  }
};

TEST_P(Vst3PresetRecallRoute, SecondSelectionRestoresAndTellsTheHostOnce)
{
  const std::vector<double> defaults = DefaultParameterValues();
  SelectProgramZero(); // captures the defaults
  EXPECT_EQ(ValuesChangedRestarts(), 0);

  for (uint32_t id = 0; id < 11; ++id)
    ASSERT_EQ(Controller().setParamNormalized(id, 0.15 + 0.07 * id), kResultOk);
  ProcessOnAudioThread({});
  String128 text{};
  for (const uint32_t id : {0u, 6u, 9u})
    ASSERT_EQ(Controller().getParamStringByValue(id, 0.4, text), kResultOk);

  SelectProgramZero();
  EXPECT_EQ(ValuesChangedRestarts(), 1);
  EXPECT_TRUE(AllRestartsOnMainThread());
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(effect->SaveState(bytes));
  const SavedState state = Decode(bytes);
  ASSERT_EQ(state.values, defaults);
  for (uint32_t id = 0; id < kPluginParams; ++id)
    EXPECT_DOUBLE_EQ(Controller().getParamNormalized(id),
                     Controller().plainParamToNormalized(id, state.values[id]))
        << "id " << id;
  EXPECT_EQ(Controller().getParamNormalized(kPresetId), kProgramZero);

  // The sound is that of the restored values: a fresh instance at its defaults sounds the same.
  const std::vector<double> recalled = ProcessOnAudioThread({});
  auto fresh = LoadEffect();
  ASSERT_NE(fresh, nullptr);
  host::ProcessSetup setup;
  setup.maxBlockSize = kBlock;
  std::string error;
  ASSERT_TRUE(fresh->Start(setup, error)) << error;
  effect.swap(fresh);
  const std::vector<double> reference = ProcessOnAudioThread({});
  effect.swap(fresh);
  EXPECT_EQ(recalled, reference);

  // Recalling the values already in force changes nothing the host holds: no request.
  SelectProgramZero();
  EXPECT_EQ(ValuesChangedRestarts(), 1);
}

INSTANTIATE_TEST_SUITE_P(Routes, Vst3PresetRecallRoute,
                         ::testing::Values(RecallCase{"controller", false},
                                           RecallCase{"audio", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Vst3PresetRecallWithoutHandler, RecallWorksAndSendsNothing)
{
  auto effect = LoadEffect();
  ASSERT_NE(effect, nullptr);
  IEditController& controller = effect->Controller();
  ASSERT_EQ(controller.setComponentHandler(nullptr), kResultOk);
  ASSERT_EQ(controller.setParamNormalized(kPresetId, kProgramZero), kResultOk);
  ASSERT_EQ(controller.setParamNormalized(9, 0.9), kResultOk);
  ASSERT_EQ(controller.setParamNormalized(kPresetId, kProgramZero), kResultOk);
  EXPECT_DOUBLE_EQ(controller.getParamNormalized(9), 0.5);
  effect->Idle();
  EXPECT_TRUE(effect->Handler().Restarts().empty());
}

// Host operations in random order; after each, one main-thread call (an idle tick) and the
// host's handling of what it was told must leave its view equal to the plug-in's.
TEST_F(Vst3PresetRecall, RandomHostOperationsNeverLeaveTheHostViewBehind)
{
  constexpr int kSeeds = 40;
  constexpr int kOperations = 60;
  for (int seed = 1; seed <= kSeeds; ++seed)
  {
    SetUp();
    RandomChoices random(seed);
    const auto pick = [&random](int count) { return random.Pick(count); };
    const auto normalised = [&random] { return random.Normalised(); };
    // A host sends the two-state parameters as 0 or 1.
    const auto valueFor = [&](uint32_t id)
    {
      const double v = normalised();
      return id == kOversamplingId || id == kBypassId ? std::round(v) : v;
    };
    const auto editableId = [&]
    {
      const int index = pick(kPluginParams + 1);
      return index == kPluginParams ? kBypassId : static_cast<uint32_t>(index);
    };

    HostView view(*effect);
    std::vector<std::vector<uint8_t>> saved;
    for (int op = 0; op < kOperations; ++op)
    {
      const int kind = pick(7);
      switch (kind)
      {
      case 0: // an edit in the host's generic editor
      {
        const uint32_t id = editableId();
        const double value = valueFor(id);
        ASSERT_EQ(Controller().setParamNormalized(id, value), kResultOk);
        view.Set(id, value);
        break;
      }
      case 1: // automation sent with audio
      {
        std::vector<host::HostParamChange> changes;
        for (int n = pick(3) + 1; n > 0; --n)
        {
          const uint32_t id = editableId();
          const double value = valueFor(id);
          changes.push_back({id, pick(kBlock), value});
          view.Set(id, value);
        }
        ProcessOnAudioThread(changes);
        break;
      }
      case 2:
        ASSERT_EQ(Controller().setParamNormalized(kPresetId, kProgramZero), kResultOk);
        view.Set(kPresetId, kProgramZero);
        break;
      case 3:
        ProcessOnAudioThread({{kPresetId, pick(kBlock), kProgramZero}});
        view.Set(kPresetId, kProgramZero);
        IdleTick(*effect);
        break;
      case 4:
        saved.emplace_back();
        ASSERT_TRUE(effect->SaveState(saved.back()));
        break;
      case 5: // a host reads the values again after handing a state to the controller
        if (!saved.empty())
        {
          ASSERT_TRUE(
              effect->LoadState(saved[static_cast<size_t>(pick(static_cast<int>(saved.size())))]));
          view.ReadAll();
        }
        break;
      default:
      {
        const uint32_t id = editableId();
        double parsed = 0.0;
        const std::string text = effect->TextFromValue(id, normalised());
        EXPECT_TRUE(effect->ValueFromText(id, text, parsed)) << text;
        break;
      }
      }
      LetBlocksGoBy(8);
      effect->Idle();
      view.HandleRestarts();
      view.ExpectMatchesPlugin("seed " + std::to_string(seed) + ", operation " +
                               std::to_string(op) + " (kind " + std::to_string(kind) + ")");
      if (HasFailure())
        return;
    }
    EXPECT_TRUE(AllRestartsOnMainThread()) << "seed " << seed;
  }
}

// An audio thread that processes a block about every millisecond, as a host's device would, with
// whatever the main thread set through SetParameter (hosts that send every change both ways).
class AudioThread
{
public:
  explicit AudioThread(host::vst3::VST3HostedPlugin& effect)
      : mThread(
            [this, &effect]
            {
              std::vector<double> left(kBlock, 0.3), right(kBlock, -0.2);
              std::vector<double*> channels{left.data(), right.data()};
              while (mRunning.load())
              {
                mRefused += effect.Process(channels, kBlock, {}) ? 0 : 1;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
            })
  {
  }
  ~AudioThread()
  {
    mRunning = false;
    mThread.join();
  }
  int Refused() const { return mRefused.load(); }

private:
  std::atomic<bool> mRunning{true};
  std::atomic<int> mRefused{0};
  std::thread mThread;
};

constexpr uint32_t kThresholdId = 0;

// The sequence a JUCE-based host produces: each change goes to the controller at once and with
// the next block. The copy of the program change that comes with audio must not recall again.
TEST_F(Vst3PresetRecall, AProgramChangeSentBothWaysIsRecalledOnceInItsPlace)
{
  ASSERT_EQ(Controller().setParamNormalized(kThresholdId, 0.2), kResultOk);
  ProcessOnAudioThread({{kThresholdId, 0, 0.2}});
  ASSERT_EQ(Controller().setParamNormalized(kPresetId, 0.5), kResultOk);
  ASSERT_EQ(Controller().setParamNormalized(kThresholdId, 0.7), kResultOk);
  ProcessOnAudioThread({{kPresetId, 0, 0.5}, {kThresholdId, 0, 0.7}});
  {
    const AudioThread audio(*effect);
    effect->RunEventLoop(std::chrono::milliseconds(250));
    EXPECT_EQ(audio.Refused(), 0);
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(effect->SaveState(bytes));
  EXPECT_DOUBLE_EQ(Decode(bytes).values.at(kThresholdId),
                   Controller().normalizedParamToPlain(kThresholdId, 0.7));
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(kThresholdId), 0.7);
  EXPECT_EQ(ValuesChangedRestarts(), 0);
}

// A program change that comes with audio only is recalled on the main thread later; an edit that
// came after it in the same block is neither captured by it nor undone by it.
TEST_F(Vst3PresetRecall, AnEditAfterAProgramChangeInTheSameBlockOutlivesTheRecall)
{
  ProcessOnAudioThread({{kThresholdId, 0, 0.2}});
  ProcessOnAudioThread({{kPresetId, 0, kProgramZero}, {kThresholdId, 10, 0.7}});
  IdleTick(*effect);
  EXPECT_DOUBLE_EQ(Controller().getParamNormalized(kThresholdId), 0.7);

  // The capture holds the value in force when the program change came: a second selection
  // brings that back.
  ProcessOnAudioThread({{kPresetId, 0, kProgramZero}});
  IdleTick(*effect);
  EXPECT_NEAR(Controller().getParamNormalized(kThresholdId), 0.2, 1e-12);
}

// Random edits, program changes, saves and state loads by a host that sends every change both
// ways, with the audio thread running: the saved state, the controller's values and the sound
// always follow the host's writes in the order it made them.
TEST_F(Vst3PresetRecall, RandomChangesSentBothWaysFollowTheHostsOrder)
{
  constexpr int kSeeds = 8;
  constexpr int kOperations = 80;
  for (int seed = 1; seed <= kSeeds; ++seed)
  {
    SCOPED_TRACE("seed " + std::to_string(seed));
    SetUp();
    RandomChoices random(seed);
    const auto pick = [&random](int count) { return random.Pick(count); };
    const auto normalised = [&random] { return random.Normalised(); };

    // What the host wrote, as normalised values; the capture of the one program.
    std::vector<double> model;
    for (uint32_t id = 0; id < kPluginParams; ++id)
      model.push_back(Controller().getParamNormalized(id));
    bool bypass = false;
    std::optional<std::vector<double>> captured;
    std::vector<std::pair<std::vector<double>, bool>> savedModels;
    std::vector<std::vector<uint8_t>> saved;

    const auto expectPluginMatches = [&](const std::string& context)
    {
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(effect->SaveState(bytes)) << context;
      const SavedState state = Decode(bytes);
      ASSERT_EQ(state.values.size(), static_cast<size_t>(kPluginParams)) << context;
      for (uint32_t id = 0; id < kPluginParams; ++id)
      {
        const double expected = Controller().normalizedParamToPlain(id, model[id]);
        const double range = Controller().normalizedParamToPlain(id, 1.0) -
                             Controller().normalizedParamToPlain(id, 0.0);
        EXPECT_NEAR(state.values[id], expected, 1e-9 * std::fabs(range))
            << context << ", id " << id;
        EXPECT_NEAR(Controller().getParamNormalized(id), model[id], 1e-9)
            << context << ", id " << id;
      }
      EXPECT_EQ(state.bypass, bypass) << context;
    };

    {
      const AudioThread audio(*effect);
      for (int op = 0; op < kOperations && !HasFailure(); ++op)
      {
        const std::string context = "operation " + std::to_string(op);
        switch (pick(6))
        {
        case 0:
        case 1:
        {
          // "Oversampling" stays off: its switch has a crossfade and a latency of its own.
          const auto id = static_cast<uint32_t>(pick(kPluginParams - 1));
          const double value = normalised();
          ASSERT_TRUE(effect->SetParameter(id, value));
          model[id] = value;
          break;
        }
        case 2:
          bypass = pick(2) == 1;
          ASSERT_TRUE(effect->SetParameter(kBypassId, bypass ? 1.0 : 0.0));
          break;
        case 3:
          ASSERT_TRUE(effect->SetParameter(kPresetId, normalised()));
          if (captured)
            model = *captured;
          else
            captured = model;
          break;
        case 4:
          saved.emplace_back();
          ASSERT_TRUE(effect->SaveState(saved.back())) << context;
          savedModels.emplace_back(model, bypass);
          break;
        default:
          if (!saved.empty())
          {
            const auto index = static_cast<size_t>(pick(static_cast<int>(saved.size())));
            ASSERT_TRUE(effect->LoadState(saved[index])) << context;
            std::tie(model, bypass) = savedModels[index];
          }
          break;
        }
        // Now and then the host's loop runs, and blocks go by, before the next operation.
        if (pick(3) == 0)
          effect->RunEventLoop(std::chrono::milliseconds(pick(30)));
        expectPluginMatches(context);
      }
      effect->RunEventLoop(std::chrono::milliseconds(100));
      EXPECT_EQ(audio.Refused(), 0);
    }
    effect->Idle();
    expectPluginMatches("at the end");

    // The sound is that of the saved state: an instance that loads it sounds the same.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(effect->SaveState(bytes));
    auto reference = LoadEffect();
    ASSERT_NE(reference, nullptr);
    host::ProcessSetup setup;
    setup.maxBlockSize = kBlock;
    std::string error;
    ASSERT_TRUE(reference->Start(setup, error)) << error;
    ASSERT_TRUE(reference->LoadState(bytes));
    const std::vector<double> heard = ProcessOnAudioThread({});
    effect.swap(reference);
    const std::vector<double> expected = ProcessOnAudioThread({});
    effect.swap(reference);
    EXPECT_EQ(heard, expected);
  }
}

} // namespace
} // namespace velmora::test
