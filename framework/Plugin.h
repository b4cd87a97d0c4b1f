#pragma once

// Picks the plug-in base of the format being built; without a format macro the plain base
// serves in-process hosts (tests, the command-line renderer).
#if defined(IPLUG_VST3)
#include "framework/vst3/IPlugVST3.h"
namespace iplug
{
using Plugin = IPlugVST3;
}
#elif defined(IPLUG_CLAP)
#include "framework/clap/IPlugCLAP.h"
namespace iplug
{
using Plugin = IPlugCLAP;
}
#else
#include "framework/core/IPlugBase.h"
namespace iplug
{
using Plugin = IPlugBase;
}
#endif

namespace iplug
{
using InstanceInfo = Plugin::InstanceInfo;
}
