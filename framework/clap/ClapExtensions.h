#pragma once

// The CLAP 1.2.10 extensions this project offers or calls: the plug-in side (what a host asks
// of an instance) and the host side (what an instance asks of its host).

#include "framework/clap/ClapCore.h"

namespace clapabi
{

// Audio ports.
inline constexpr char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
inline constexpr char CLAP_PORT_MONO[] = "mono";
inline constexpr char CLAP_PORT_STEREO[] = "stereo";

enum : uint32_t
{
  CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
  CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
  CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
  CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

struct clap_audio_port_info
{
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t flags;
  uint32_t channel_count;
  const char* port_type;
  clap_id in_place_pair;
};

struct clap_plugin_audio_ports
{
  uint32_t (*count)(const clap_plugin* plugin, bool is_input);
  bool (*get)(const clap_plugin* plugin, uint32_t index, bool is_input, clap_audio_port_info* info);
};

enum : uint32_t
{
  CLAP_AUDIO_PORTS_RESCAN_NAMES = 1 << 0,
  CLAP_AUDIO_PORTS_RESCAN_FLAGS = 1 << 1,
  CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 1 << 2,
  CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 1 << 3,
  CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 1 << 4,
  CLAP_AUDIO_PORTS_RESCAN_LIST = 1 << 5,
};

struct clap_host_audio_ports
{
  bool (*is_rescan_flag_supported)(const clap_host* host, uint32_t flag);
  void (*rescan)(const clap_host* host, uint32_t flags);
};

// Audio-port configurations.
inline constexpr char CLAP_EXT_AUDIO_PORTS_CONFIG[] = "clap.audio-ports-config";

struct clap_audio_ports_config
{
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t input_port_count;
  uint32_t output_port_count;
  bool has_main_input;
  uint32_t main_input_channel_count;
  const char* main_input_port_type;
  bool has_main_output;
  uint32_t main_output_channel_count;
  const char* main_output_port_type;
};

struct clap_plugin_audio_ports_config
{
  uint32_t (*count)(const clap_plugin* plugin);
  bool (*get)(const clap_plugin* plugin, uint32_t index, clap_audio_ports_config* config);
  bool (*select)(const clap_plugin* plugin, clap_id config_id);
};

// Parameters.
inline constexpr char CLAP_EXT_PARAMS[] = "clap.params";

enum : uint32_t
{
  CLAP_PARAM_IS_STEPPED = 1 << 0,
  CLAP_PARAM_IS_PERIODIC = 1 << 1,
  CLAP_PARAM_IS_HIDDEN = 1 << 2,
  CLAP_PARAM_IS_READONLY = 1 << 3,
  CLAP_PARAM_IS_BYPASS = 1 << 4,
  CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
  CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 1 << 6,
  CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 1 << 7,
  CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 1 << 8,
  CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 1 << 9,
  CLAP_PARAM_IS_MODULATABLE = 1 << 10,
  CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 1 << 11,
  CLAP_PARAM_IS_MODULATABLE_PER_KEY = 1 << 12,
  CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 1 << 13,
  CLAP_PARAM_IS_MODULATABLE_PER_PORT = 1 << 14,
  CLAP_PARAM_REQUIRES_PROCESS = 1 << 15,
  CLAP_PARAM_IS_ENUM = 1 << 16,
};

struct clap_param_info
{
  clap_id id;
  uint32_t flags;
  void* cookie;
  char name[CLAP_NAME_SIZE];
  char module[CLAP_PATH_SIZE];
  double min_value;
  double max_value;
  double default_value;
};

struct clap_plugin_params
{
  uint32_t (*count)(const clap_plugin* plugin);
  bool (*get_info)(const clap_plugin* plugin, uint32_t param_index, clap_param_info* param_info);
  bool (*get_value)(const clap_plugin* plugin, clap_id param_id, double* out_value);
  bool (*value_to_text)(const clap_plugin* plugin, clap_id param_id, double value, char* out_buffer,
                        uint32_t out_buffer_capacity);
  bool (*text_to_value)(const clap_plugin* plugin, clap_id param_id, const char* param_value_text,
                        double* out_value);
  void (*flush)(const clap_plugin* plugin, const clap_input_events* in,
                const clap_output_events* out);
};

enum : uint32_t
{
  CLAP_PARAM_RESCAN_VALUES = 1 << 0,
  CLAP_PARAM_RESCAN_TEXT = 1 << 1,
  CLAP_PARAM_RESCAN_INFO = 1 << 2,
  CLAP_PARAM_RESCAN_ALL = 1 << 3,
};

enum : uint32_t
{
  CLAP_PARAM_CLEAR_ALL = 1 << 0,
  CLAP_PARAM_CLEAR_AUTOMATIONS = 1 << 1,
  CLAP_PARAM_CLEAR_MODULATIONS = 1 << 2,
};

struct clap_host_params
{
  void (*rescan)(const clap_host* host, uint32_t flags);
  void (*clear)(const clap_host* host, clap_id param_id, uint32_t flags);
  void (*request_flush)(const clap_host* host);
};

// Latency.
inline constexpr char CLAP_EXT_LATENCY[] = "clap.latency";

struct clap_plugin_latency
{
  uint32_t (*get)(const clap_plugin* plugin);
};

struct clap_host_latency
{
  void (*changed)(const clap_host* host);
};

// Tail.
inline constexpr char CLAP_EXT_TAIL[] = "clap.tail";

struct clap_plugin_tail
{
  uint32_t (*get)(const clap_plugin* plugin);
};

struct clap_host_tail
{
  void (*changed)(const clap_host* host);
};

// State.
inline constexpr char CLAP_EXT_STATE[] = "clap.state";

struct clap_plugin_state
{
  bool (*save)(const clap_plugin* plugin, const clap_ostream* stream);
  bool (*load)(const clap_plugin* plugin, const clap_istream* stream);
};

struct clap_host_state
{
  void (*mark_dirty)(const clap_host* host);
};

// Preset load.
inline constexpr char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
inline constexpr char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";

struct clap_plugin_preset_load
{
  bool (*from_location)(const clap_plugin* plugin, uint32_t location_kind, const char* location,
                        const char* load_key);
};

struct clap_host_preset_load
{
  void (*on_error)(const clap_host* host, uint32_t location_kind, const char* location,
                   const char* load_key, int32_t os_error, const char* msg);
  void (*loaded)(const clap_host* host, uint32_t location_kind, const char* location,
                 const char* load_key);
};

// Render mode.
inline constexpr char CLAP_EXT_RENDER[] = "clap.render";

using clap_plugin_render_mode = int32_t;
enum : clap_plugin_render_mode
{
  CLAP_RENDER_REALTIME = 0,
  CLAP_RENDER_OFFLINE = 1,
};

struct clap_plugin_render
{
  bool (*has_hard_realtime_requirement)(const clap_plugin* plugin);
  bool (*set)(const clap_plugin* plugin, clap_plugin_render_mode mode);
};

// Editor windows.
inline constexpr char CLAP_EXT_GUI[] = "clap.gui";
inline constexpr char CLAP_WINDOW_API_WIN32[] = "win32";
inline constexpr char CLAP_WINDOW_API_COCOA[] = "cocoa";
inline constexpr char CLAP_WINDOW_API_X11[] = "x11";
inline constexpr char CLAP_WINDOW_API_WAYLAND[] = "wayland";

using clap_hwnd = void*;
using clap_nsview = void*;
using clap_xwnd = unsigned long;

struct clap_window
{
  const char* api;
  union
  {
    clap_nsview cocoa;
    clap_xwnd x11;
    clap_hwnd win32;
    void* ptr;
  };
};

struct clap_gui_resize_hints
{
  bool can_resize_horizontally;
  bool can_resize_vertically;
  bool preserve_aspect_ratio;
  uint32_t aspect_ratio_width;
  uint32_t aspect_ratio_height;
};

struct clap_plugin_gui
{
  bool (*is_api_supported)(const clap_plugin* plugin, const char* api, bool is_floating);
  bool (*get_preferred_api)(const clap_plugin* plugin, const char** api, bool* is_floating);
  bool (*create)(const clap_plugin* plugin, const char* api, bool is_floating);
  void (*destroy)(const clap_plugin* plugin);
  bool (*set_scale)(const clap_plugin* plugin, double scale);
  bool (*get_size)(const clap_plugin* plugin, uint32_t* width, uint32_t* height);
  bool (*can_resize)(const clap_plugin* plugin);
  bool (*get_resize_hints)(const clap_plugin* plugin, clap_gui_resize_hints* hints);
  bool (*adjust_size)(const clap_plugin* plugin, uint32_t* width, uint32_t* height);
  bool (*set_size)(const clap_plugin* plugin, uint32_t width, uint32_t height);
  bool (*set_parent)(const clap_plugin* plugin, const clap_window* window);
  bool (*set_transient)(const clap_plugin* plugin, const clap_window* window);
  void (*suggest_title)(const clap_plugin* plugin, const char* title);
  bool (*show)(const clap_plugin* plugin);
  bool (*hide)(const clap_plugin* plugin);
};

struct clap_host_gui
{
  void (*resize_hints_changed)(const clap_host* host);
  bool (*request_resize)(const clap_host* host, uint32_t width, uint32_t height);
  bool (*request_show)(const clap_host* host);
  bool (*request_hide)(const clap_host* host);
  void (*closed)(const clap_host* host, bool was_destroyed);
};

// Timers serviced by the host's main-thread run loop.
inline constexpr char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

struct clap_plugin_timer_support
{
  void (*on_timer)(const clap_plugin* plugin, clap_id timer_id);
};

struct clap_host_timer_support
{
  bool (*register_timer)(const clap_host* host, uint32_t period_ms, clap_id* timer_id);
  bool (*unregister_timer)(const clap_host* host, clap_id timer_id);
};

// File descriptors watched by the host's main-thread run loop.
inline constexpr char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";

using clap_posix_fd_flags = uint32_t;
enum : clap_posix_fd_flags
{
  CLAP_POSIX_FD_READ = 1 << 0,
  CLAP_POSIX_FD_WRITE = 1 << 1,
  CLAP_POSIX_FD_ERROR = 1 << 2,
};

struct clap_plugin_posix_fd_support
{
  void (*on_fd)(const clap_plugin* plugin, int fd, clap_posix_fd_flags flags);
};

struct clap_host_posix_fd_support
{
  bool (*register_fd)(const clap_host* host, int fd, clap_posix_fd_flags flags);
  bool (*modify_fd)(const clap_host* host, int fd, clap_posix_fd_flags flags);
  bool (*unregister_fd)(const clap_host* host, int fd);
};

// Thread identification.
inline constexpr char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";

struct clap_host_thread_check
{
  bool (*is_main_thread)(const clap_host* host);
  bool (*is_audio_thread)(const clap_host* host);
};

// Host log.
inline constexpr char CLAP_EXT_LOG[] = "clap.log";

using clap_log_severity = int32_t;
enum : clap_log_severity
{
  CLAP_LOG_DEBUG = 0,
  CLAP_LOG_INFO = 1,
  CLAP_LOG_WARNING = 2,
  CLAP_LOG_ERROR = 3,
  CLAP_LOG_FATAL = 4,
  CLAP_LOG_HOST_MISBEHAVING = 5,
  CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

struct clap_host_log
{
  void (*log)(const clap_host* host, clap_log_severity severity, const char* msg);
};

// Track information.
inline constexpr char CLAP_EXT_TRACK_INFO[] = "clap.track-info/1";
inline constexpr char CLAP_EXT_TRACK_INFO_COMPAT[] = "clap.track-info.draft/1";

struct clap_color
{
  uint8_t alpha;
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

enum : uint64_t
{
  CLAP_TRACK_INFO_HAS_TRACK_NAME = 1 << 0,
  CLAP_TRACK_INFO_HAS_TRACK_COLOR = 1 << 1,
  CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL = 1 << 2,
  CLAP_TRACK_INFO_IS_FOR_RETURN_TRACK = 1 << 3,
  CLAP_TRACK_INFO_IS_FOR_BUS = 1 << 4,
  CLAP_TRACK_INFO_IS_FOR_MASTER = 1 << 5,
};

struct clap_track_info
{
  uint64_t flags;
  char name[CLAP_NAME_SIZE];
  clap_color color;
  int32_t audio_channel_count;
  const char* audio_port_type;
};

struct clap_plugin_track_info
{
  void (*changed)(const clap_plugin* plugin);
};

struct clap_host_track_info
{
  bool (*get)(const clap_host* host, clap_track_info* info);
};

// Context menu: the host's menu for a parameter (or the whole plug-in), to which the plug-in adds
// its own items, and which the plug-in may ask the host to pop up.
inline constexpr char CLAP_EXT_CONTEXT_MENU[] = "clap.context-menu/1";
inline constexpr char CLAP_EXT_CONTEXT_MENU_COMPAT[] = "clap.context-menu.draft/0";

enum : uint32_t
{
  CLAP_CONTEXT_MENU_TARGET_KIND_GLOBAL = 0,
  CLAP_CONTEXT_MENU_TARGET_KIND_PARAM = 1,
};

struct clap_context_menu_target
{
  uint32_t kind;
  clap_id id;
};

using clap_context_menu_item_kind = uint32_t;

enum : clap_context_menu_item_kind
{
  CLAP_CONTEXT_MENU_ITEM_ENTRY,
  CLAP_CONTEXT_MENU_ITEM_CHECK_ENTRY,
  CLAP_CONTEXT_MENU_ITEM_SEPARATOR,
  CLAP_CONTEXT_MENU_ITEM_BEGIN_SUBMENU,
  CLAP_CONTEXT_MENU_ITEM_END_SUBMENU,
  CLAP_CONTEXT_MENU_ITEM_TITLE,
};

struct clap_context_menu_entry
{
  const char* label;
  bool is_enabled;
  clap_id action_id;
};

struct clap_context_menu_check_entry
{
  const char* label;
  bool is_enabled;
  bool is_checked;
  clap_id action_id;
};

struct clap_context_menu_item_title
{
  const char* title;
  bool is_enabled;
};

struct clap_context_menu_submenu
{
  const char* label;
  bool is_enabled;
};

struct clap_context_menu_builder
{
  void* ctx;
  bool (*add_item)(const clap_context_menu_builder* builder, clap_context_menu_item_kind item_kind,
                   const void* item_data);
  bool (*supports)(const clap_context_menu_builder* builder, clap_context_menu_item_kind item_kind);
};

struct clap_plugin_context_menu
{
  bool (*populate)(const clap_plugin* plugin, const clap_context_menu_target* target,
                   const clap_context_menu_builder* builder);
  bool (*perform)(const clap_plugin* plugin, const clap_context_menu_target* target,
                  clap_id action_id);
};

struct clap_host_context_menu
{
  bool (*populate)(const clap_host* host, const clap_context_menu_target* target,
                   const clap_context_menu_builder* builder);
  bool (*perform)(const clap_host* host, const clap_context_menu_target* target, clap_id action_id);
  bool (*can_popup)(const clap_host* host);
  bool (*popup)(const clap_host* host, const clap_context_menu_target* target, int32_t screen_index,
                int32_t x, int32_t y);
};

} // namespace clapabi
