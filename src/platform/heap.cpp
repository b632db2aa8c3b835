#include "heap.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace heap {

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    // Fixing the trim threshold fixes the mmap threshold too: keep blocks up to
    // 4 MB in the heap, where they are reused.
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
#endif
}

} // namespace heap
