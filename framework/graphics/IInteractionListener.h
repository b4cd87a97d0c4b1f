#pragma once

namespace iplug::igraphics
{

class IControl;

// What the user does with the editor's controls, for an overlay that follows it (a value
// readout). Positions are in logical units. Main thread.
class IInteractionListener
{
public:
  virtual ~IInteractionListener() = default;

  // A button press took hold of a control, which the release lets go of.
  virtual void OnControlGrabbed(const IControl& control) = 0;
  virtual void OnControlReleased(const IControl& control) = 0;
  // The user changed the control's value: a drag, a click, a wheel step or a double-click.
  virtual void OnControlEdited(const IControl& control) = 0;
  // The mouse moved with no button held; control is the one it is over (null: none).
  virtual void OnMouseMoved(const IControl* control, float x, float y) = 0;
  // The mouse left the editor's window.
  virtual void OnMouseLeft() = 0;
};

} // namespace iplug::igraphics
