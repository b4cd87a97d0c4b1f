#pragma once

#include "tools/host/clap/ClapHostedPlugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velmora::test
{

inline const char* ClapModulePath()
{
  return VELMORA_CLAP_MODULE;
}

// Loads the built module's plug-in into a fresh host, failing the test when that is impossible.
inline std::unique_ptr<host::ClapHostedPlugin> LoadClap(const host::ClapHost::Options& options = {})
{
  std::string error;
  auto plugin = host::ClapHostedPlugin::Load(ClapModulePath(), error, options);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

} // namespace velmora::test
