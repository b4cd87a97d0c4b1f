#pragma once

#include "tools/host/AudioFile.h"
#include "tools/host/HostOptions.h"
#include "tools/host/HostedPlugin.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host
{

// The steps the host's commands share.

// Prints the message as the host's error and returns the exit code for it.
int Fail(const std::string& message);

// Parses the options and loads the module named by the first positional argument.
std::unique_ptr<HostedPlugin> Prepare(const std::vector<std::string>& args, size_t positionals,
                                      HostOptions& options, std::string& error);

// Resolves the "Name=value" settings through the module into parameter changes.
bool ResolveSettings(HostedPlugin& plugin, const std::vector<std::string>& settings,
                     std::vector<HostParamChange>& changes, std::string& error);

bool ApplyOnMainThread(HostedPlugin& plugin, const std::vector<HostParamChange>& changes,
                       std::string& error);

// The --in file, or the built-in demo signal without one.
bool LoadInput(const HostOptions& options, AudioData& audio, std::string& error);

} // namespace velmora::host
