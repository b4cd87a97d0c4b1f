// Renders the built-in demo signal through the saturation curve of an in-process instance.
#include "dsp/SaturationCurve.h"
#include "plugin/Velmora.h"
#include "tools/DemoSignal.h"
#include "tools/WavWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

int Usage()
{
  std::fprintf(stderr, "usage: velmora-render [--out FILE.wav] [--rate HZ] [--seconds S] "
                       "[--set NAME=VALUE]...\n");
  return 2;
}

bool SetByName(Velmora& plugin, const std::string& assignment)
{
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos)
    return false;
  const std::string name = assignment.substr(0, eq);
  for (int i = 0; i < plugin.NParams(); ++i)
  {
    iplug::IParam* param = plugin.GetParam(i);
    if (name == param->GetName())
    {
      double value = 0.0;
      if (!param->StringToValue(assignment.c_str() + eq + 1, value))
        return false;
      param->Set(value);
      plugin.OnParamChange(i, iplug::EParamSource::kHost, -1);
      return true;
    }
  }
  return false;
}

} // namespace

int main(int argc, char** argv)
{
  std::string outPath = "velmora-demo.wav";
  double rate = 48000.0;
  double seconds = 6.0;
  Velmora plugin{iplug::InstanceInfo{}};

  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (i + 1 >= argc)
      return Usage();
    const std::string value = argv[++i];
    if (arg == "--out")
      outPath = value;
    else if (arg == "--rate")
      rate = std::atof(value.c_str());
    else if (arg == "--seconds")
      seconds = std::atof(value.c_str());
    else if (arg == "--set")
    {
      if (!SetByName(plugin, value))
      {
        std::fprintf(stderr, "velmora-render: cannot set '%s'\n", value.c_str());
        return 2;
      }
    }
    else
      return Usage();
  }
  if (!(rate >= 8000.0 && rate <= 768000.0) || !(seconds > 0.0 && seconds <= 600.0))
  {
    std::fprintf(stderr, "velmora-render: rate must be 8000-768000 Hz and length 0-600 s\n");
    return 2;
  }

  velmora::tools::StereoBuffer audio = velmora::tools::MakeDemoSignal(rate, seconds);
  velmora::ShaperCoefficients coefficients;
  plugin.TryReadCoefficients(coefficients);
  velmora::ShapeSamples(audio.left.data(), audio.left.data(), audio.Frames(), coefficients);
  velmora::ShapeSamples(audio.right.data(), audio.right.data(), audio.Frames(), coefficients);

  std::string error;
  if (!velmora::tools::WriteWavFloat32(outPath, audio, error))
  {
    std::fprintf(stderr, "velmora-render: %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s (%d frames at %.0f Hz)\n", outPath.c_str(), audio.Frames(), rate);
  return 0;
}
