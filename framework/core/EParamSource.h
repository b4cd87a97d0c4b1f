#pragma once

namespace iplug
{

// Where a parameter change came from.
enum class EParamSource
{
  kReset,
  kHost,
  kPresetRecall,
  kUI,
  kDelegate,
  kUnknown
};

} // namespace iplug
