#include "framework/core/IPlugBase.h"

namespace iplug
{

const char* IPlugBase::GetPresetName(int idx) const
{
  if (idx < 0 || idx >= NPresets())
    return "";
  return mPresets[static_cast<size_t>(idx)].name.c_str();
}

bool IPlugBase::GetPresetInitialized(int idx) const
{
  return idx >= 0 && idx < NPresets() && mPresets[static_cast<size_t>(idx)].initialized;
}

bool IPlugBase::RestorePreset(int idx)
{
  if (idx < 0 || idx >= NPresets())
    return false;
  IPreset& preset = mPresets[static_cast<size_t>(idx)];
  bool restored = false;
  if (preset.initialized)
  {
    const int endPos = UnserializeState(preset.chunk, 0);
    restored = endPos > 0 || (endPos == 0 && preset.chunk.Size() == 0);
  }
  else
  {
    // The entry only counts as initialised once the capture succeeded, so a failed capture
    // cannot leave a partial block to be recalled later.
    IByteChunk captured;
    restored = SerializeState(captured);
    if (restored)
    {
      preset.chunk = std::move(captured);
      preset.initialized = true;
    }
  }
  if (restored)
  {
    mCurrentPresetIdx = idx;
    OnRestoreState();
  }
  return restored;
}

} // namespace iplug
