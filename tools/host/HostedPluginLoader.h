#pragma once

#include "tools/host/HostOptions.h"
#include "tools/host/HostedPlugin.h"

#include <memory>
#include <string>

namespace velmora::host
{

// Loads a module and creates one instance of its first effect class. The format follows from the
// path: a *.vst3 bundle (or the shared object inside one) or a *.clap file. Null with a reason in
// error when the module cannot be loaded or refuses, or when the format has no such host.
std::unique_ptr<HostedPlugin> LoadHostedPlugin(const std::string& path, std::string& error,
                                               HostLike hostLike = HostLike::Default);

// Per-format loaders behind LoadHostedPlugin.
std::unique_ptr<HostedPlugin> LoadVst3Plugin(const std::string& path, std::string& error,
                                             HostLike hostLike = HostLike::Default);
std::unique_ptr<HostedPlugin> LoadClapPlugin(const std::string& path, std::string& error);

} // namespace velmora::host
