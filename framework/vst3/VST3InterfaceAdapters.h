#pragma once

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace iplug
{

// IComponent and IEditController both declare setState and getState with the same signature.
// One object serving both sides needs distinct behaviour per side, so each side's pair is
// forwarded to differently named operations here.
class VST3ComponentSide : public Steinberg::Vst::IComponent
{
public:
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) final
  {
    return SetComponentSideState(state);
  }
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) final
  {
    return GetComponentSideState(state);
  }

protected:
  ~VST3ComponentSide() = default;
  virtual Steinberg::tresult SetComponentSideState(Steinberg::IBStream* state) = 0;
  virtual Steinberg::tresult GetComponentSideState(Steinberg::IBStream* state) = 0;
};

class VST3ControllerSide : public Steinberg::Vst::IEditController
{
public:
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) final
  {
    return SetControllerSideState(state);
  }
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) final
  {
    return GetControllerSideState(state);
  }

protected:
  ~VST3ControllerSide() = default;
  virtual Steinberg::tresult SetControllerSideState(Steinberg::IBStream* state) = 0;
  virtual Steinberg::tresult GetControllerSideState(Steinberg::IBStream* state) = 0;
};

} // namespace iplug
