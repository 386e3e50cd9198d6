#pragma once

#include <cstddef>

// Writes `value` with one decimal ("0.3", "-12.0") into out, rounded from the
// exact binary value with ties away from zero, as the simulator's C runtime
// formats "%.1f". The pilot then reads the same figure from every build,
// whatever its own runtime does with ties. Values beyond what a 64-bit count
// of tenths holds, and NaN, are held to that range.
void FormatTenths(double value, char* out, size_t size);
