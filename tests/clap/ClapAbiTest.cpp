// Compiles the project's CLAP declarations beside Debian's CLAP 1.1 headers: every record the two
// share must agree in size, alignment and field offsets, and shared identifiers must be equal.
#include "framework/clap/ClapCore.h"
#include "framework/clap/ClapExtensions.h"
#include "framework/clap/ClapPresetDiscovery.h"

#include <clap/entry.h>
#include <clap/events.h>
#include <clap/ext/audio-ports.h>
#include <clap/ext/gui.h>
#include <clap/ext/latency.h>
#include <clap/ext/params.h>
#include <clap/ext/state.h>
#include <clap/ext/thread-check.h>
#include <clap/ext/timer-support.h>
#include <clap/host.h>
#include <clap/plugin-factory.h>
#include <clap/plugin.h>
#include <clap/process.h>
#include <clap/stream.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#define SAME_RECORD(T)                                                                             \
  static_assert(sizeof(::T) == sizeof(clapabi::T), #T " size");                                    \
  static_assert(alignof(::T) == alignof(clapabi::T), #T " alignment")
#define SAME_FIELD(T, f) static_assert(offsetof(::T, f) == offsetof(clapabi::T, f), #T "." #f)
#define SAME_VALUE(name)                                                                           \
  static_assert(static_cast<long long>(::name) == static_cast<long long>(clapabi::name), #name)

SAME_RECORD(clap_version);
SAME_FIELD(clap_version, major);
SAME_FIELD(clap_version, minor);
SAME_FIELD(clap_version, revision);

SAME_RECORD(clap_plugin_entry);
SAME_FIELD(clap_plugin_entry, clap_version);
SAME_FIELD(clap_plugin_entry, init);
SAME_FIELD(clap_plugin_entry, deinit);
SAME_FIELD(clap_plugin_entry, get_factory);

SAME_RECORD(clap_plugin_descriptor);
SAME_FIELD(clap_plugin_descriptor, clap_version);
SAME_FIELD(clap_plugin_descriptor, id);
SAME_FIELD(clap_plugin_descriptor, name);
SAME_FIELD(clap_plugin_descriptor, vendor);
SAME_FIELD(clap_plugin_descriptor, url);
SAME_FIELD(clap_plugin_descriptor, manual_url);
SAME_FIELD(clap_plugin_descriptor, support_url);
SAME_FIELD(clap_plugin_descriptor, version);
SAME_FIELD(clap_plugin_descriptor, description);
SAME_FIELD(clap_plugin_descriptor, features);

SAME_RECORD(clap_host);
SAME_FIELD(clap_host, clap_version);
SAME_FIELD(clap_host, host_data);
SAME_FIELD(clap_host, name);
SAME_FIELD(clap_host, vendor);
SAME_FIELD(clap_host, url);
SAME_FIELD(clap_host, version);
SAME_FIELD(clap_host, get_extension);
SAME_FIELD(clap_host, request_restart);
SAME_FIELD(clap_host, request_process);
SAME_FIELD(clap_host, request_callback);

SAME_RECORD(clap_plugin);
SAME_FIELD(clap_plugin, desc);
SAME_FIELD(clap_plugin, plugin_data);
SAME_FIELD(clap_plugin, init);
SAME_FIELD(clap_plugin, destroy);
SAME_FIELD(clap_plugin, activate);
SAME_FIELD(clap_plugin, deactivate);
SAME_FIELD(clap_plugin, start_processing);
SAME_FIELD(clap_plugin, stop_processing);
SAME_FIELD(clap_plugin, reset);
SAME_FIELD(clap_plugin, process);
SAME_FIELD(clap_plugin, get_extension);
SAME_FIELD(clap_plugin, on_main_thread);

SAME_RECORD(clap_plugin_factory);
SAME_FIELD(clap_plugin_factory, get_plugin_count);
SAME_FIELD(clap_plugin_factory, get_plugin_descriptor);
SAME_FIELD(clap_plugin_factory, create_plugin);

SAME_RECORD(clap_event_header);
SAME_FIELD(clap_event_header, size);
SAME_FIELD(clap_event_header, time);
SAME_FIELD(clap_event_header, space_id);
SAME_FIELD(clap_event_header, type);
SAME_FIELD(clap_event_header, flags);

SAME_RECORD(clap_event_param_value);
SAME_FIELD(clap_event_param_value, header);
SAME_FIELD(clap_event_param_value, param_id);
SAME_FIELD(clap_event_param_value, cookie);
SAME_FIELD(clap_event_param_value, note_id);
SAME_FIELD(clap_event_param_value, port_index);
SAME_FIELD(clap_event_param_value, channel);
SAME_FIELD(clap_event_param_value, key);
SAME_FIELD(clap_event_param_value, value);

SAME_RECORD(clap_event_param_gesture);
SAME_FIELD(clap_event_param_gesture, header);
SAME_FIELD(clap_event_param_gesture, param_id);

SAME_RECORD(clap_event_transport);
SAME_FIELD(clap_event_transport, header);
SAME_FIELD(clap_event_transport, flags);
SAME_FIELD(clap_event_transport, song_pos_beats);
SAME_FIELD(clap_event_transport, song_pos_seconds);
SAME_FIELD(clap_event_transport, tempo);
SAME_FIELD(clap_event_transport, tempo_inc);
SAME_FIELD(clap_event_transport, loop_start_beats);
SAME_FIELD(clap_event_transport, loop_end_beats);
SAME_FIELD(clap_event_transport, loop_start_seconds);
SAME_FIELD(clap_event_transport, loop_end_seconds);
SAME_FIELD(clap_event_transport, bar_start);
SAME_FIELD(clap_event_transport, bar_number);
SAME_FIELD(clap_event_transport, tsig_num);
SAME_FIELD(clap_event_transport, tsig_denom);

SAME_RECORD(clap_input_events);
SAME_FIELD(clap_input_events, ctx);
SAME_FIELD(clap_input_events, size);
SAME_FIELD(clap_input_events, get);

SAME_RECORD(clap_output_events);
SAME_FIELD(clap_output_events, ctx);
SAME_FIELD(clap_output_events, try_push);

SAME_RECORD(clap_audio_buffer);
SAME_FIELD(clap_audio_buffer, data32);
SAME_FIELD(clap_audio_buffer, data64);
SAME_FIELD(clap_audio_buffer, channel_count);
SAME_FIELD(clap_audio_buffer, latency);
SAME_FIELD(clap_audio_buffer, constant_mask);

SAME_RECORD(clap_process);
SAME_FIELD(clap_process, steady_time);
SAME_FIELD(clap_process, frames_count);
SAME_FIELD(clap_process, transport);
SAME_FIELD(clap_process, audio_inputs);
SAME_FIELD(clap_process, audio_outputs);
SAME_FIELD(clap_process, audio_inputs_count);
SAME_FIELD(clap_process, audio_outputs_count);
SAME_FIELD(clap_process, in_events);
SAME_FIELD(clap_process, out_events);

SAME_RECORD(clap_istream);
SAME_FIELD(clap_istream, ctx);
SAME_FIELD(clap_istream, read);
SAME_RECORD(clap_ostream);
SAME_FIELD(clap_ostream, ctx);
SAME_FIELD(clap_ostream, write);

SAME_RECORD(clap_audio_port_info);
SAME_FIELD(clap_audio_port_info, id);
SAME_FIELD(clap_audio_port_info, name);
SAME_FIELD(clap_audio_port_info, flags);
SAME_FIELD(clap_audio_port_info, channel_count);
SAME_FIELD(clap_audio_port_info, port_type);
SAME_FIELD(clap_audio_port_info, in_place_pair);

SAME_RECORD(clap_plugin_audio_ports);
SAME_FIELD(clap_plugin_audio_ports, count);
SAME_FIELD(clap_plugin_audio_ports, get);
SAME_RECORD(clap_host_audio_ports);
SAME_FIELD(clap_host_audio_ports, is_rescan_flag_supported);
SAME_FIELD(clap_host_audio_ports, rescan);

SAME_RECORD(clap_param_info);
SAME_FIELD(clap_param_info, id);
SAME_FIELD(clap_param_info, flags);
SAME_FIELD(clap_param_info, cookie);
SAME_FIELD(clap_param_info, name);
SAME_FIELD(clap_param_info, module);
SAME_FIELD(clap_param_info, min_value);
SAME_FIELD(clap_param_info, max_value);
SAME_FIELD(clap_param_info, default_value);

SAME_RECORD(clap_plugin_params);
SAME_FIELD(clap_plugin_params, count);
SAME_FIELD(clap_plugin_params, get_info);
SAME_FIELD(clap_plugin_params, get_value);
SAME_FIELD(clap_plugin_params, value_to_text);
SAME_FIELD(clap_plugin_params, text_to_value);
SAME_FIELD(clap_plugin_params, flush);
SAME_RECORD(clap_host_params);
SAME_FIELD(clap_host_params, rescan);
SAME_FIELD(clap_host_params, clear);
SAME_FIELD(clap_host_params, request_flush);

SAME_RECORD(clap_plugin_latency);
SAME_FIELD(clap_plugin_latency, get);
SAME_RECORD(clap_host_latency);
SAME_FIELD(clap_host_latency, changed);

SAME_RECORD(clap_plugin_state);
SAME_FIELD(clap_plugin_state, save);
SAME_FIELD(clap_plugin_state, load);
SAME_RECORD(clap_host_state);
SAME_FIELD(clap_host_state, mark_dirty);

SAME_RECORD(clap_window);
SAME_FIELD(clap_window, api);
SAME_FIELD(clap_window, x11);
SAME_FIELD(clap_window, win32);
SAME_FIELD(clap_window, cocoa);
SAME_FIELD(clap_window, ptr);

SAME_RECORD(clap_gui_resize_hints);
SAME_FIELD(clap_gui_resize_hints, can_resize_horizontally);
SAME_FIELD(clap_gui_resize_hints, can_resize_vertically);
SAME_FIELD(clap_gui_resize_hints, preserve_aspect_ratio);
SAME_FIELD(clap_gui_resize_hints, aspect_ratio_width);
SAME_FIELD(clap_gui_resize_hints, aspect_ratio_height);

SAME_RECORD(clap_plugin_gui);
SAME_FIELD(clap_plugin_gui, is_api_supported);
SAME_FIELD(clap_plugin_gui, get_preferred_api);
SAME_FIELD(clap_plugin_gui, create);
SAME_FIELD(clap_plugin_gui, destroy);
SAME_FIELD(clap_plugin_gui, set_scale);
SAME_FIELD(clap_plugin_gui, get_size);
SAME_FIELD(clap_plugin_gui, can_resize);
SAME_FIELD(clap_plugin_gui, get_resize_hints);
SAME_FIELD(clap_plugin_gui, adjust_size);
SAME_FIELD(clap_plugin_gui, set_size);
SAME_FIELD(clap_plugin_gui, set_parent);
SAME_FIELD(clap_plugin_gui, set_transient);
SAME_FIELD(clap_plugin_gui, suggest_title);
SAME_FIELD(clap_plugin_gui, show);
SAME_FIELD(clap_plugin_gui, hide);
SAME_RECORD(clap_host_gui);
SAME_FIELD(clap_host_gui, resize_hints_changed);
SAME_FIELD(clap_host_gui, request_resize);
SAME_FIELD(clap_host_gui, request_show);
SAME_FIELD(clap_host_gui, request_hide);
SAME_FIELD(clap_host_gui, closed);

SAME_RECORD(clap_host_thread_check);
SAME_FIELD(clap_host_thread_check, is_main_thread);
SAME_FIELD(clap_host_thread_check, is_audio_thread);

SAME_RECORD(clap_plugin_timer_support);
SAME_FIELD(clap_plugin_timer_support, on_timer);
SAME_RECORD(clap_host_timer_support);
SAME_FIELD(clap_host_timer_support, register_timer);
SAME_FIELD(clap_host_timer_support, unregister_timer);

// Numeric constants the module and the host rely on.
SAME_VALUE(CLAP_NAME_SIZE);
SAME_VALUE(CLAP_PATH_SIZE);
SAME_VALUE(CLAP_INVALID_ID);
SAME_VALUE(CLAP_CORE_EVENT_SPACE_ID);
SAME_VALUE(CLAP_EVENT_PARAM_VALUE);
SAME_VALUE(CLAP_EVENT_PARAM_MOD);
SAME_VALUE(CLAP_EVENT_PARAM_GESTURE_BEGIN);
SAME_VALUE(CLAP_EVENT_PARAM_GESTURE_END);
SAME_VALUE(CLAP_EVENT_TRANSPORT);
SAME_VALUE(CLAP_EVENT_MIDI2);
SAME_VALUE(CLAP_PROCESS_ERROR);
SAME_VALUE(CLAP_PROCESS_CONTINUE);
SAME_VALUE(CLAP_PROCESS_SLEEP);
SAME_VALUE(CLAP_AUDIO_PORT_IS_MAIN);
SAME_VALUE(CLAP_AUDIO_PORT_SUPPORTS_64BITS);
SAME_VALUE(CLAP_AUDIO_PORT_PREFERS_64BITS);
SAME_VALUE(CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE);
SAME_VALUE(CLAP_PARAM_IS_STEPPED);
SAME_VALUE(CLAP_PARAM_IS_AUTOMATABLE);
SAME_VALUE(CLAP_PARAM_REQUIRES_PROCESS);
SAME_VALUE(CLAP_PARAM_RESCAN_VALUES);
SAME_VALUE(CLAP_PARAM_RESCAN_ALL);

namespace
{

// The context menu is newer than Debian's headers: its records are held to the layout the
// published CLAP 1.2 header gives them on x86-64.
#define LAYOUT(T, size) static_assert(sizeof(clapabi::T) == (size), #T " size")
#define AT(T, f, offset) static_assert(offsetof(clapabi::T, f) == (offset), #T "." #f)
LAYOUT(clap_context_menu_target, 8);
AT(clap_context_menu_target, id, 4);
LAYOUT(clap_context_menu_entry, 16);
AT(clap_context_menu_entry, is_enabled, 8);
AT(clap_context_menu_entry, action_id, 12);
LAYOUT(clap_context_menu_check_entry, 16);
AT(clap_context_menu_check_entry, is_checked, 9);
AT(clap_context_menu_check_entry, action_id, 12);
LAYOUT(clap_context_menu_item_title, 16);
LAYOUT(clap_context_menu_submenu, 16);
LAYOUT(clap_context_menu_builder, 24);
AT(clap_context_menu_builder, supports, 16);
LAYOUT(clap_plugin_context_menu, 16);
LAYOUT(clap_host_context_menu, 32);
AT(clap_host_context_menu, popup, 24);
static_assert(clapabi::CLAP_CONTEXT_MENU_ITEM_TITLE == 5);

struct IdentifierPair
{
  const char* name;
  const char* debian;
  const char* ours;
};

TEST(ClapAbi, SharedIdentifierStringsAreEqual)
{
  const IdentifierPair pairs[] = {
      {"plugin factory", CLAP_PLUGIN_FACTORY_ID, clapabi::CLAP_PLUGIN_FACTORY_ID},
      {"audio ports", CLAP_EXT_AUDIO_PORTS, clapabi::CLAP_EXT_AUDIO_PORTS},
      {"mono port", CLAP_PORT_MONO, clapabi::CLAP_PORT_MONO},
      {"stereo port", CLAP_PORT_STEREO, clapabi::CLAP_PORT_STEREO},
      {"params", CLAP_EXT_PARAMS, clapabi::CLAP_EXT_PARAMS},
      {"latency", CLAP_EXT_LATENCY, clapabi::CLAP_EXT_LATENCY},
      {"state", CLAP_EXT_STATE, clapabi::CLAP_EXT_STATE},
      {"gui", CLAP_EXT_GUI, clapabi::CLAP_EXT_GUI},
      {"win32 api", CLAP_WINDOW_API_WIN32, clapabi::CLAP_WINDOW_API_WIN32},
      {"cocoa api", CLAP_WINDOW_API_COCOA, clapabi::CLAP_WINDOW_API_COCOA},
      {"x11 api", CLAP_WINDOW_API_X11, clapabi::CLAP_WINDOW_API_X11},
      {"wayland api", CLAP_WINDOW_API_WAYLAND, clapabi::CLAP_WINDOW_API_WAYLAND},
      {"thread check", CLAP_EXT_THREAD_CHECK, clapabi::CLAP_EXT_THREAD_CHECK},
      {"timer support", CLAP_EXT_TIMER_SUPPORT, clapabi::CLAP_EXT_TIMER_SUPPORT},
  };
  for (const IdentifierPair& pair : pairs)
    EXPECT_STREQ(pair.debian, pair.ours) << pair.name;
}

} // namespace
