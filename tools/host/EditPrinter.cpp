#include "tools/host/EditPrinter.h"

#include <cstdio>
#include <string>

namespace velmora::host
{

EditPrinter::EditPrinter(HostedPlugin& plugin, bool printGestures)
    : mPlugin(plugin), mPrintGestures(printGestures), mLatencyReports(plugin.LatencyReports())
{
  for (HostParamInfo& param : plugin.Parameters())
    mParams.emplace(param.id, std::move(param));
}

std::string EditPrinter::NameOf(uint32_t id) const
{
  const auto param = mParams.find(id);
  return param != mParams.end() ? param->second.name : "parameter " + std::to_string(id);
}

void EditPrinter::PrintNew()
{
  bool printed = false;
  for (const HostEdit& edit : mPlugin.TakeEdits())
  {
    if (edit.kind != HostEdit::Kind::Value)
    {
      if (mPrintGestures)
        std::printf("%s %s\n", edit.kind == HostEdit::Kind::Begin ? "begin" : "end",
                    NameOf(edit.id).c_str());
      printed |= mPrintGestures;
      continue;
    }
    mLastValueAt = Clock::now();
    std::string text = mPlugin.TextFromValue(edit.id, edit.value);
    const auto param = mParams.find(edit.id);
    if (param != mParams.end() && !param->second.units.empty())
      text += " " + param->second.units;
    std::printf("%s: %s\n", NameOf(edit.id).c_str(), text.c_str());
    printed = true;
  }
  if (const int reports = mPlugin.LatencyReports(); reports != mLatencyReports)
  {
    mLatencyReports = reports;
    const int latency = mPlugin.Latency();
    if (mLastValueAt)
      std::printf("latency: %d samples, %lld ms after the last edit\n", latency,
                  static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             Clock::now() - *mLastValueAt)
                                             .count()));
    else
      std::printf("latency: %d samples\n", latency);
    printed = true;
  }
  if (printed)
    std::fflush(stdout);
}

} // namespace velmora::host
