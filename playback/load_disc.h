#pragma once

#include <cstdint>

// A disc event of a drive (0 = A:; only the low 16 bits count). Mode 0 loads the drive's
// Video CD and plays it from track 1; any other mode drops the drive's entries, keeping the
// current track where it is still listed.
void LoadDisc(uintptr_t drive, intptr_t mode);
