#pragma once

namespace iplug
{

// The plug-in's side of the editor: messages and values travel from here to the editor's
// controls, and the editor's life-cycle hooks arrive here.
class IEditorDelegate
{
public:
  virtual ~IEditorDelegate() = default;

  // Routes a message to the editor control bearing ctrlTag; discarded when no editor is open or
  // no control has that tag.
  virtual void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize, const void* data);

  virtual void OnUIOpen() {}
  virtual void OnUIClose() {}
};

} // namespace iplug
