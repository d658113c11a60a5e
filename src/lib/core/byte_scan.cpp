// Whether the byte scans may take SSE2 in the 32-bit build.
#include "lib/core/byte_scan.h"

#include <windows.h>

namespace bytescan {

#if !defined(__x86_64__)
// Read during the static initialisation of the program. Where that never ran (the program loaded
// as a module without its start-up code) the scans take the portable way, which is still right.
const bool hasSse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
#endif

}  // namespace bytescan
