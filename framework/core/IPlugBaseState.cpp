#include "framework/core/IPlugBase.h"

namespace iplug
{

bool IPlugBase::SerializeParams(IByteChunk& chunk) const
{
  IByteChunk block;
  for (int i = 0; i < NParams(); ++i)
  {
    const double value = GetParam(i)->Value();
    if (block.Put(&value) < 0)
      return false;
  }
  // Appended in one go so that a failure leaves the caller's chunk as it was.
  return chunk.PutChunk(block) >= 0;
}

int IPlugBase::UnserializeParams(const IByteChunk& chunk, int startPos)
{
  int pos = startPos < 0 ? -1 : startPos;
  for (int i = 0; i < NParams() && pos >= 0; ++i)
  {
    double value = 0.0;
    pos = chunk.Get(&value, pos);
    if (pos >= 0)
      GetParam(i)->Set(value);
  }
  OnParamReset(EParamSource::kPresetRecall);
  return pos;
}

void IPlugBase::OnRestoreState()
{
  for (int i = 0; i < NParams(); ++i)
    SendParameterValueFromDelegate(i, GetParam(i)->GetNormalized(), true);
}

} // namespace iplug
