#pragma once

// The CLAP 1.2.10 C interface as this project uses it: versions, entry, plug-in factory and
// descriptor, plug-in and host records, processing, events and streams. The layouts follow the
// published C ABI (the records are plain C structs); the names live in namespace clapabi so
// that they never meet another copy.

#include <cstddef>
#include <cstdint>

namespace clapabi
{

enum : uint32_t
{
  CLAP_NAME_SIZE = 256,
  CLAP_PATH_SIZE = 1024,
};

struct clap_version
{
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
};
// Records name their version field clap_version, so they refer to the type by this alias.
using clap_version_t = clap_version;

inline constexpr clap_version CLAP_VERSION{1, 2, 10};

constexpr bool clap_version_is_compatible(const clap_version v)
{
  return v.major >= 1;
}

using clap_id = uint32_t;
inline constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;

using clap_beattime = int64_t;
using clap_sectime = int64_t;

struct clap_plugin_entry
{
  clap_version_t clap_version;
  bool (*init)(const char* plugin_path);
  void (*deinit)();
  const void* (*get_factory)(const char* factory_id);
};

struct clap_plugin_descriptor
{
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;
  const char* description;
  const char* const* features;
};

struct clap_host
{
  clap_version_t clap_version;
  void* host_data;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  const void* (*get_extension)(const clap_host* host, const char* extension_id);
  void (*request_restart)(const clap_host* host);
  void (*request_process)(const clap_host* host);
  void (*request_callback)(const clap_host* host);
};

struct clap_event_header
{
  uint32_t size;
  uint32_t time;
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
};

inline constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum : uint32_t
{
  CLAP_EVENT_IS_LIVE = 1 << 0,
  CLAP_EVENT_DONT_RECORD = 1 << 1,
};

enum : uint16_t
{
  CLAP_EVENT_NOTE_ON = 0,
  CLAP_EVENT_NOTE_OFF = 1,
  CLAP_EVENT_NOTE_CHOKE = 2,
  CLAP_EVENT_NOTE_END = 3,
  CLAP_EVENT_NOTE_EXPRESSION = 4,
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
  CLAP_EVENT_MIDI = 10,
  CLAP_EVENT_MIDI_SYSEX = 11,
  CLAP_EVENT_MIDI2 = 12,
};

struct clap_event_param_value
{
  clap_event_header header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;
};

struct clap_event_param_gesture
{
  clap_event_header header;
  clap_id param_id;
};

struct clap_event_transport
{
  clap_event_header header;
  uint32_t flags;
  clap_beattime song_pos_beats;
  clap_sectime song_pos_seconds;
  double tempo;
  double tempo_inc;
  clap_beattime loop_start_beats;
  clap_beattime loop_end_beats;
  clap_sectime loop_start_seconds;
  clap_sectime loop_end_seconds;
  clap_beattime bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
};

struct clap_input_events
{
  void* ctx;
  uint32_t (*size)(const clap_input_events* list);
  const clap_event_header* (*get)(const clap_input_events* list, uint32_t index);
};

struct clap_output_events
{
  void* ctx;
  bool (*try_push)(const clap_output_events* list, const clap_event_header* event);
};

struct clap_audio_buffer
{
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;
  uint64_t constant_mask;
};

using clap_process_status = int32_t;
enum : clap_process_status
{
  CLAP_PROCESS_ERROR = 0,
  CLAP_PROCESS_CONTINUE = 1,
  CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
  CLAP_PROCESS_TAIL = 3,
  CLAP_PROCESS_SLEEP = 4,
};

struct clap_process
{
  int64_t steady_time;
  uint32_t frames_count;
  const clap_event_transport* transport;
  const clap_audio_buffer* audio_inputs;
  clap_audio_buffer* audio_outputs;
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events* in_events;
  const clap_output_events* out_events;
};

struct clap_plugin
{
  const clap_plugin_descriptor* desc;
  void* plugin_data;
  bool (*init)(const clap_plugin* plugin);
  void (*destroy)(const clap_plugin* plugin);
  bool (*activate)(const clap_plugin* plugin, double sample_rate, uint32_t min_frames_count,
                   uint32_t max_frames_count);
  void (*deactivate)(const clap_plugin* plugin);
  bool (*start_processing)(const clap_plugin* plugin);
  void (*stop_processing)(const clap_plugin* plugin);
  void (*reset)(const clap_plugin* plugin);
  clap_process_status (*process)(const clap_plugin* plugin, const clap_process* process);
  const void* (*get_extension)(const clap_plugin* plugin, const char* id);
  void (*on_main_thread)(const clap_plugin* plugin);
};

inline constexpr char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

struct clap_plugin_factory
{
  uint32_t (*get_plugin_count)(const clap_plugin_factory* factory);
  const clap_plugin_descriptor* (*get_plugin_descriptor)(const clap_plugin_factory* factory,
                                                         uint32_t index);
  const clap_plugin* (*create_plugin)(const clap_plugin_factory* factory, const clap_host* host,
                                      const char* plugin_id);
};

struct clap_istream
{
  void* ctx;
  int64_t (*read)(const clap_istream* stream, void* buffer, uint64_t size);
};

struct clap_ostream
{
  void* ctx;
  int64_t (*write)(const clap_ostream* stream, const void* buffer, uint64_t size);
};

} // namespace clapabi
