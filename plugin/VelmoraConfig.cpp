#include "plugin/VelmoraConfig.h"

#include "plugin/VelmoraParams.h"

namespace velmora
{

iplug::Config MakeVelmoraConfig()
{
  iplug::Config config;
  config.nParams = kNumParams;
  config.nPresets = kNumPresets;
  config.channelIOStr = "1-1 2-2";
  config.pluginName = "Velmora";
  config.productName = "Velmora";
  config.mfrName = "Corvane Audio";
  config.vendorVersion = iplug::MakeVersion(4, 1, 2);
  config.uniqueID = iplug::MakeFourCC("vm00");
  config.mfrID = iplug::MakeFourCC("Crvn");
  config.latency = 0;
  config.plugDoesMidiIn = false;
  config.plugDoesMidiOut = false;
  config.plugDoesMPE = false;
  config.plugType = iplug::EPlugType::Effect;
  config.plugHasUI = true;
  config.plugWidth = kEditorWidth;
  config.plugHeight = kEditorHeight;
  config.plugMinWidth = 216;
  config.plugMaxWidth = 1950;
  config.plugMinHeight = 133;
  config.plugMaxHeight = 1200;
  config.plugHostResize = false;
  config.bundleID = "";
  config.appGroupID = "";
  return config;
}

} // namespace velmora
