#pragma once

namespace iplug
{

class IEditorDelegate;

// What an editor view needs of the plug-in object that created it.
class VST3ViewOwner
{
public:
  virtual ~VST3ViewOwner() = default;
  virtual IEditorDelegate& ViewDelegate() = 0;
  // Keeps the owner alive while a view exists.
  virtual void RetainForView() = 0;
  virtual void ReleaseForView() = 0;
  virtual void ViewDestroyed() = 0;
};

} // namespace iplug
