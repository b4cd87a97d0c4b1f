#pragma once

#include "tools/host/vst3/VST3HostedPlugin.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::test
{

inline constexpr const char* kBundlePath = VELMORA_VST3_BUNDLE_PATH;
inline constexpr const char* kBinaryPath = VELMORA_VST3_BINARY_PATH;
inline constexpr uint32_t kBypassId = 65536;
inline constexpr uint32_t kPresetId = 65537;

// A fresh instance of the built module, driven through the host library; fails the test when
// the module cannot be loaded.
std::unique_ptr<host::vst3::VST3HostedPlugin>
LoadEffect(const std::string& hostName = "Velmora Test Host",
           host::vst3::RunLoopOffer runLoopOffer = host::vst3::RunLoopOffer::ContextAndFrame);

// One idle tick of the plug-in. When the host's run loop holds the plug-in's timer (Linux), one
// pass fires it at once; otherwise the plug-in's own timer (Windows) fires within its interval
// while the host dispatches messages.
void IdleTick(host::vst3::VST3HostedPlugin& effect);

// Processes silent stereo blocks of blockSize frames; fails the test when a block is refused.
void ProcessSilence(host::vst3::VST3HostedPlugin& effect, int blocks, int blockSize);
// The host's restart requests so far that carried the latency flag, and whether every restart
// request came on the main thread.
int LatencyRestarts(host::vst3::VST3HostedPlugin& effect);
bool AllRestartsOnMainThread(host::vst3::VST3HostedPlugin& effect);

// A deterministic test signal with quiet and loud passages, one vector per channel.
std::vector<std::vector<double>> MakeTestSignal(int channels, int frames);

// The default parameter block as little-endian doubles.
std::vector<uint8_t> EncodeParameterBlock(const std::vector<double>& values);
std::vector<double> DefaultParameterValues();

} // namespace velmora::test
