#include "framework/clap/IPlugCLAP.h"

#include "framework/clap/ClapPlatform.h"

#include <cstring>

namespace iplug
{

using namespace clapabi;

bool IPlugCLAP::GuiIsApiSupported(const clap_plugin* plugin, const char* api, bool isFloating)
{
  const IPlugCLAP* self = Self(plugin);
  return self && self->GetConfig().plugHasUI && api && !isFloating &&
         std::strcmp(api, clap_platform::WindowApi()) == 0;
}

bool IPlugCLAP::GuiGetPreferredApi(const clap_plugin*, const char**, bool*)
{
  return false;
}

bool IPlugCLAP::GuiCreate(const clap_plugin* plugin, const char* api, bool isFloating)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || self->mGuiCreated || !GuiIsApiSupported(plugin, api, isFloating))
    return false;
  if (clap_platform::UsesHostRunLoop())
  {
    // The window's events and redraws need the host's run loop; without it there is no editor
    // rather than a frozen one.
    const auto* fdSupport = static_cast<const clap_host_posix_fd_support*>(
        self->HostExtension(CLAP_EXT_POSIX_FD_SUPPORT));
    if (!self->mHostTimerSupport || !fdSupport)
      return false;
    self->mRunLoop =
        std::make_unique<ClapHostRunLoop>(self->mHost, fdSupport, self->mHostTimerSupport);
  }
  self->mHostGui = static_cast<const clap_host_gui*>(self->HostExtension(CLAP_EXT_GUI));
  self->mGuiCreated = true;
  return true;
}

void IPlugCLAP::GuiDestroy(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !self->mGuiCreated)
    return;
  self->CloseWindow();
  self->mRunLoop.reset();
  self->mGuiCreated = false;
}

bool IPlugCLAP::GuiSetScale(const clap_plugin* plugin, double scale)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !self->mGuiCreated || !(scale > 0.0) || scale > 16.0)
    return false;
  self->SetScreenScale(static_cast<float>(scale));
  return true;
}

bool IPlugCLAP::GuiGetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !self->mGuiCreated || !width || !height)
    return false;
  int w = 0;
  int h = 0;
  self->GetEditorSize(w, h);
  *width = static_cast<uint32_t>(w);
  *height = static_cast<uint32_t>(h);
  return true;
}

bool IPlugCLAP::GuiCanResize(const clap_plugin*)
{
  return false;
}

bool IPlugCLAP::GuiGetResizeHints(const clap_plugin*, clap_gui_resize_hints*)
{
  return false;
}

bool IPlugCLAP::GuiAdjustSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !width || !height)
    return false;
  int w = static_cast<int>(std::min<uint32_t>(*width, 1u << 20));
  int h = static_cast<int>(std::min<uint32_t>(*height, 1u << 20));
  self->ConstrainEditorSize(w, h);
  *width = static_cast<uint32_t>(w);
  *height = static_cast<uint32_t>(h);
  return true;
}

bool IPlugCLAP::GuiSetSize(const clap_plugin* plugin, uint32_t width, uint32_t height)
{
  // Only the editor sizes itself; the host's confirmation of that size is the one size accepted.
  uint32_t w = 0;
  uint32_t h = 0;
  return GuiGetSize(plugin, &w, &h) && w == width && h == height;
}

bool IPlugCLAP::GuiSetParent(const clap_plugin* plugin, const clap_window* window)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || !self->mGuiCreated || !window || !window->api ||
      std::strcmp(window->api, clap_platform::WindowApi()) != 0)
    return false;
  void* parent = clap_platform::ParentWindow(*window);
  return parent && self->OpenWindow(parent, self->mRunLoop.get());
}

bool IPlugCLAP::GuiSetTransient(const clap_plugin*, const clap_window*)
{
  return false;
}

void IPlugCLAP::GuiSuggestTitle(const clap_plugin*, const char*) {}

bool IPlugCLAP::GuiShow(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  return self && self->ShowWindow(true);
}

bool IPlugCLAP::GuiHide(const clap_plugin* plugin)
{
  IPlugCLAP* self = Self(plugin);
  return self && self->ShowWindow(false);
}

bool IPlugCLAP::EditorResizeFromUI(int width, int height)
{
  return mHostGui && mHostGui->request_resize &&
         mHostGui->request_resize(mHost, static_cast<uint32_t>(width),
                                  static_cast<uint32_t>(height));
}

void IPlugCLAP::BeginInformHostOfParamChangeFromUI(int paramIdx)
{
  QueueUIEdit(ClapUIEditQueue::Kind::GestureBegin, paramIdx, 0.0);
}

void IPlugCLAP::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  IPlugBase::SendParameterValueFromUI(paramIdx, normalizedValue);
  const IParam* param = GetParam(paramIdx);
  if (!param)
    return;
  QueueUIEdit(ClapUIEditQueue::Kind::Value, paramIdx,
              UsesRealRange(*param) ? param->Value() : param->GetNormalized());
}

void IPlugCLAP::EndInformHostOfParamChangeFromUI(int paramIdx)
{
  QueueUIEdit(ClapUIEditQueue::Kind::GestureEnd, paramIdx, 0.0);
}

void IPlugCLAP::QueueUIEdit(ClapUIEditQueue::Kind kind, int paramIdx, double value)
{
  if (paramIdx < 0 || paramIdx >= NParams())
    return;
  mUIEdits.Push({kind, static_cast<uint32_t>(paramIdx), value});
  // The host answers with a flush or a process call, in which the edits go out.
  if (mHostParams && mHostParams->request_flush)
    mHostParams->request_flush(mHost);
}

void IPlugCLAP::WriteUIEdits(const clap_output_events* out)
{
  if (!out || !out->try_push)
    return;
  ClapUIEditQueue::Edit edit;
  while (mUIEdits.Pop(edit))
  {
    if (edit.kind == ClapUIEditQueue::Kind::Value)
    {
      clap_event_param_value event{};
      event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
      event.param_id = edit.paramIdx;
      event.note_id = -1;
      event.port_index = -1;
      event.channel = -1;
      event.key = -1;
      event.value = edit.value;
      out->try_push(out, &event.header);
    }
    else
    {
      clap_event_param_gesture event{};
      const uint16_t type = edit.kind == ClapUIEditQueue::Kind::GestureBegin
                                ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                : CLAP_EVENT_PARAM_GESTURE_END;
      event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
      event.param_id = edit.paramIdx;
      out->try_push(out, &event.header);
    }
  }
}

const clap_plugin_gui IPlugCLAP::kGuiExt{
    &IPlugCLAP::GuiIsApiSupported, &IPlugCLAP::GuiGetPreferredApi,
    &IPlugCLAP::GuiCreate,         &IPlugCLAP::GuiDestroy,
    &IPlugCLAP::GuiSetScale,       &IPlugCLAP::GuiGetSize,
    &IPlugCLAP::GuiCanResize,      &IPlugCLAP::GuiGetResizeHints,
    &IPlugCLAP::GuiAdjustSize,     &IPlugCLAP::GuiSetSize,
    &IPlugCLAP::GuiSetParent,      &IPlugCLAP::GuiSetTransient,
    &IPlugCLAP::GuiSuggestTitle,   &IPlugCLAP::GuiShow,
    &IPlugCLAP::GuiHide,
};

} // namespace iplug
