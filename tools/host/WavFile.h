#pragma once

#include "tools/host/AudioFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora::host
{

// WAV files without libsndfile. The reader takes integer PCM (8, 16, 24 and 32 bits) and IEEE
// float (32 and 64 bits), plain or WAVE_FORMAT_EXTENSIBLE, and skips chunks it does not know.
// The writer lays out a float file as libsndfile does (fmt, fact, PEAK, data), so that the same
// audio gives the same bytes apart from the PEAK chunk's time stamp.

// False with a reason for anything that is not a complete WAV file of a supported format.
bool DecodeWav(std::span<const uint8_t> bytes, AudioData& audio, std::string& error);
// False with a reason when the audio has no channel, or does not fit into a WAV file.
bool EncodeWav(const AudioData& audio, uint32_t peakTimeStamp, std::vector<uint8_t>& bytes,
               std::string& error, SampleFormat format = SampleFormat::Float32);

// The same through files (paths in UTF-8); the written PEAK chunk carries the current time.
bool ReadWavFile(const std::string& path, AudioData& audio, std::string& error);
bool WriteWavFile(const std::string& path, const AudioData& audio, std::string& error,
                  SampleFormat format = SampleFormat::Float32);

} // namespace velmora::host
