#pragma once

#include <complex>
#include <vector>

namespace velmora
{

// In-place radix-2 FFT of a power-of-two sized array; the inverse includes the 1/N scaling.
// Used only while designing filters, never on the audio thread.
void Fft(std::vector<std::complex<double>>& data, bool inverse);

} // namespace velmora
