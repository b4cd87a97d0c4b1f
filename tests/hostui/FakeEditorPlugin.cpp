// A stand-in CLAP module with an editor, so that the host's editor command can be tried end to
// end without depending on the real editor: its "editor" is one X11 child window filled with a
// single colour. Driven by the host's run loop, it asks once to be resized to 1.5 times its size
// and then reports one edit of its parameter "Drive" to 7.5 (gesture begin, value, end). With
// FAKE_EDITOR_ABSENT set in the environment it offers no editor at all.
#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace
{

using namespace clapabi;

constexpr unsigned long kEditorColour = 0x30A050;
constexpr uint32_t kBaseWidth = 200;
constexpr uint32_t kBaseHeight = 100;
constexpr double kEditedValue = 7.5;
constexpr int kResizeTick = 3;
constexpr int kEditTick = 5;

struct FakePlugin
{
  clap_plugin record{};
  const clap_host* host = nullptr;
  const clap_host_timer_support* hostTimers = nullptr;
  const clap_host_posix_fd_support* hostFds = nullptr;
  const clap_host_gui* hostGui = nullptr;
  const clap_host_params* hostParams = nullptr;
  clap_id timer = CLAP_INVALID_ID;
  std::atomic<double> drive{0.0};
  std::atomic<bool> editPending{false};
  // The editor, main thread only.
  bool created = false;
  double scale = 1.0;
  uint32_t width = kBaseWidth;
  uint32_t height = kBaseHeight;
  Display* display = nullptr;
  Window window = 0;
  int ticks = 0;
};

FakePlugin* Self(const clap_plugin* plugin)
{
  return static_cast<FakePlugin*>(plugin->plugin_data);
}

template <class T> const T* HostExtension(const clap_host* host, const char* id)
{
  return static_cast<const T*>(host->get_extension(host, id));
}

void PushEdit(const clap_output_events* out, double value)
{
  clap_event_param_gesture begin{};
  begin.header = {sizeof(begin), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_GESTURE_BEGIN, 0};
  clap_event_param_value change{};
  change.header = {sizeof(change), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
  change.note_id = -1;
  change.port_index = change.channel = change.key = -1;
  change.value = value;
  clap_event_param_gesture end = begin;
  end.header.type = CLAP_EVENT_PARAM_GESTURE_END;
  out->try_push(out, &begin.header);
  out->try_push(out, &change.header);
  out->try_push(out, &end.header);
}

void DeliverPendingEdit(const clap_plugin* plugin, const clap_output_events* out)
{
  FakePlugin* self = Self(plugin);
  if (out && self->editPending.exchange(false))
  {
    self->drive = kEditedValue;
    PushEdit(out, kEditedValue);
  }
}

// Parameters: one, "Drive", 0 to 10 dB.
uint32_t ParamCount(const clap_plugin*)
{
  return 1;
}

bool ParamInfo(const clap_plugin*, uint32_t index, clap_param_info* info)
{
  if (index != 0 || !info)
    return false;
  *info = clap_param_info{};
  info->flags = CLAP_PARAM_IS_AUTOMATABLE;
  std::snprintf(info->name, sizeof(info->name), "Drive");
  info->max_value = 10.0;
  return true;
}

bool ParamValue(const clap_plugin* plugin, clap_id id, double* value)
{
  if (id != 0 || !value)
    return false;
  *value = Self(plugin)->drive;
  return true;
}

bool ParamText(const clap_plugin*, clap_id id, double value, char* text, uint32_t capacity)
{
  if (id != 0 || !text || capacity == 0)
    return false;
  std::snprintf(text, capacity, "%.1f dB", value);
  return true;
}

bool ParamParse(const clap_plugin*, clap_id, const char*, double*)
{
  return false;
}

void ParamFlush(const clap_plugin* plugin, const clap_input_events*, const clap_output_events* out)
{
  DeliverPendingEdit(plugin, out);
}

const clap_plugin_params kParams{&ParamCount, &ParamInfo,  &ParamValue,
                                 &ParamText,  &ParamParse, &ParamFlush};

// Audio ports: stereo in and out only.
uint32_t ConfigCount(const clap_plugin*)
{
  return 1;
}

bool ConfigGet(const clap_plugin*, uint32_t index, clap_audio_ports_config* config)
{
  if (index != 0 || !config)
    return false;
  *config = clap_audio_ports_config{};
  std::snprintf(config->name, sizeof(config->name), "Stereo");
  config->input_port_count = config->output_port_count = 1;
  config->has_main_input = config->has_main_output = true;
  config->main_input_channel_count = config->main_output_channel_count = 2;
  config->main_input_port_type = config->main_output_port_type = CLAP_PORT_STEREO;
  return true;
}

bool ConfigSelect(const clap_plugin*, clap_id id)
{
  return id == 0;
}

const clap_plugin_audio_ports_config kPortsConfig{&ConfigCount, &ConfigGet, &ConfigSelect};

// The editor.
void ServeDisplay(FakePlugin* self)
{
  while (self->display && XPending(self->display) > 0)
  {
    XEvent event;
    XNextEvent(self->display, &event);
  }
}

bool GuiSupported(const clap_plugin*, const char* api, bool floating)
{
  return api && std::string_view(api) == CLAP_WINDOW_API_X11 && !floating;
}

bool GuiPreferred(const clap_plugin*, const char**, bool*)
{
  return false;
}

bool GuiCreate(const clap_plugin* plugin, const char* api, bool floating)
{
  FakePlugin* self = Self(plugin);
  if (self->created || !GuiSupported(plugin, api, floating))
    return false;
  self->created = true;
  self->ticks = 0;
  return true;
}

void GuiDestroy(const clap_plugin* plugin)
{
  FakePlugin* self = Self(plugin);
  if (self->display)
  {
    self->hostFds->unregister_fd(self->host, ConnectionNumber(self->display));
    XDestroyWindow(self->display, self->window);
    XCloseDisplay(self->display);
  }
  self->display = nullptr;
  self->window = 0;
  self->created = false;
}

bool GuiSetScale(const clap_plugin* plugin, double scale)
{
  FakePlugin* self = Self(plugin);
  self->scale = scale;
  self->width = static_cast<uint32_t>(std::lround(kBaseWidth * scale));
  self->height = static_cast<uint32_t>(std::lround(kBaseHeight * scale));
  return true;
}

bool GuiGetSize(const clap_plugin* plugin, uint32_t* width, uint32_t* height)
{
  const FakePlugin* self = Self(plugin);
  *width = self->width;
  *height = self->height;
  return true;
}

bool GuiCanResize(const clap_plugin*)
{
  return false;
}

bool GuiHints(const clap_plugin*, clap_gui_resize_hints*)
{
  return false;
}

bool GuiAdjust(const clap_plugin*, uint32_t*, uint32_t*)
{
  return true;
}

bool GuiSetSize(const clap_plugin* plugin, uint32_t width, uint32_t height)
{
  FakePlugin* self = Self(plugin);
  self->width = width;
  self->height = height;
  if (self->display)
  {
    XResizeWindow(self->display, self->window, width, height);
    XFlush(self->display);
  }
  return true;
}

bool GuiSetParent(const clap_plugin* plugin, const clap_window* window)
{
  FakePlugin* self = Self(plugin);
  if (!self->created || self->display || !window || !window->api ||
      std::string_view(window->api) != CLAP_WINDOW_API_X11)
    return false;
  self->display = XOpenDisplay(nullptr);
  if (!self->display)
    return false;
  self->window = XCreateSimpleWindow(self->display, window->x11, 0, 0, self->width, self->height, 0,
                                     0, kEditorColour);
  XMapWindow(self->display, self->window);
  XFlush(self->display);
  self->hostFds->register_fd(self->host, ConnectionNumber(self->display), CLAP_POSIX_FD_READ);
  return true;
}

bool GuiSetTransient(const clap_plugin*, const clap_window*)
{
  return false;
}

void GuiSuggestTitle(const clap_plugin*, const char*) {}

bool GuiShow(const clap_plugin*)
{
  return true;
}

bool GuiHide(const clap_plugin*)
{
  return true;
}

const clap_plugin_gui kGui{&GuiSupported,    &GuiPreferred, &GuiCreate,    &GuiDestroy,
                           &GuiSetScale,     &GuiGetSize,   &GuiCanResize, &GuiHints,
                           &GuiAdjust,       &GuiSetSize,   &GuiSetParent, &GuiSetTransient,
                           &GuiSuggestTitle, &GuiShow,      &GuiHide};

// The host's run loop drives the editor.
void OnTimer(const clap_plugin* plugin, clap_id)
{
  FakePlugin* self = Self(plugin);
  if (!self->display)
    return;
  ++self->ticks;
  if (self->ticks == kResizeTick)
    self->hostGui->request_resize(self->host, self->width * 3 / 2, self->height * 3 / 2);
  if (self->ticks == kEditTick)
  {
    self->editPending = true;
    self->hostParams->request_flush(self->host);
  }
}

void OnFd(const clap_plugin* plugin, int, clap_posix_fd_flags)
{
  ServeDisplay(Self(plugin));
}

const clap_plugin_timer_support kTimer{&OnTimer};
const clap_plugin_posix_fd_support kFd{&OnFd};

// The plug-in record.
bool Init(const clap_plugin* plugin)
{
  FakePlugin* self = Self(plugin);
  self->hostTimers = HostExtension<clap_host_timer_support>(self->host, CLAP_EXT_TIMER_SUPPORT);
  self->hostFds = HostExtension<clap_host_posix_fd_support>(self->host, CLAP_EXT_POSIX_FD_SUPPORT);
  self->hostGui = HostExtension<clap_host_gui>(self->host, CLAP_EXT_GUI);
  self->hostParams = HostExtension<clap_host_params>(self->host, CLAP_EXT_PARAMS);
  return self->hostTimers && self->hostFds && self->hostGui && self->hostParams &&
         self->hostTimers->register_timer(self->host, 20, &self->timer);
}

void Destroy(const clap_plugin* plugin)
{
  FakePlugin* self = Self(plugin);
  GuiDestroy(plugin);
  if (self->timer != CLAP_INVALID_ID)
    self->hostTimers->unregister_timer(self->host, self->timer);
  delete self;
}

bool Activate(const clap_plugin*, double, uint32_t, uint32_t)
{
  return true;
}

void Deactivate(const clap_plugin*) {}

bool StartProcessing(const clap_plugin*)
{
  return true;
}

void StopProcessing(const clap_plugin*) {}

void Reset(const clap_plugin*) {}

clap_process_status Process(const clap_plugin* plugin, const clap_process* process)
{
  DeliverPendingEdit(plugin, process->out_events);
  return CLAP_PROCESS_CONTINUE;
}

const void* GetExtension(const clap_plugin*, const char* id)
{
  const std::string_view name(id ? id : "");
  if (name == CLAP_EXT_PARAMS)
    return &kParams;
  if (name == CLAP_EXT_AUDIO_PORTS_CONFIG)
    return &kPortsConfig;
  if (name == CLAP_EXT_GUI)
    return std::getenv("FAKE_EDITOR_ABSENT") ? nullptr : &kGui;
  if (name == CLAP_EXT_TIMER_SUPPORT)
    return &kTimer;
  if (name == CLAP_EXT_POSIX_FD_SUPPORT)
    return &kFd;
  return nullptr;
}

void OnMainThread(const clap_plugin*) {}

// Entry and factory.
const char* const kFeatures[] = {"audio-effect", nullptr};
const clap_plugin_descriptor kDescriptor{CLAP_VERSION,
                                         "test.fake-editor",
                                         "Fake editor",
                                         "Velmora tests",
                                         "",
                                         "",
                                         "",
                                         "1.0.0",
                                         "A stand-in plug-in with an editor",
                                         kFeatures};

uint32_t PluginCount(const clap_plugin_factory*)
{
  return 1;
}

const clap_plugin_descriptor* Descriptor(const clap_plugin_factory*, uint32_t index)
{
  return index == 0 ? &kDescriptor : nullptr;
}

const clap_plugin* Create(const clap_plugin_factory*, const clap_host* host, const char* id)
{
  if (!host || !id || std::string_view(id) != kDescriptor.id)
    return nullptr;
  auto* self = new FakePlugin();
  self->host = host;
  self->record = {
      &kDescriptor,    self,   &Init,    &Destroy,      &Activate,    &Deactivate, &StartProcessing,
      &StopProcessing, &Reset, &Process, &GetExtension, &OnMainThread};
  return &self->record;
}

const clap_plugin_factory kFactory{&PluginCount, &Descriptor, &Create};

bool EntryInit(const char*)
{
  return true;
}

void EntryDeinit() {}

const void* EntryFactory(const char* id)
{
  return id && std::string_view(id) == CLAP_PLUGIN_FACTORY_ID ? &kFactory : nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const clapabi::clap_plugin_entry clap_entry{
    clapabi::CLAP_VERSION, &EntryInit, &EntryDeinit, &EntryFactory};
