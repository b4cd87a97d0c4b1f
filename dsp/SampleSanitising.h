#pragma once

namespace velmora
{

// Copies count samples, writing 0 for every non-finite one; a null source reads as silence.
// Filters and followers downstream keep state, so a NaN or infinity let through would stay in
// their history long after the sample itself has passed.
void CopyFinite(const double* source, double* destination, int count);

} // namespace velmora
