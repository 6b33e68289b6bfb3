// HeapPolicy: glibc's mallopt. Fixing either threshold also stops glibc from moving
// them on its own, so both are set.
#include "Demo/HeapPolicy.h"

#include <malloc.h>

bool keepFreedHeapMemory()
{
    return mallopt(M_MMAP_THRESHOLD, static_cast<int>(LARGE_BLOCK_BYTES)) == 1 &&
           mallopt(M_TRIM_THRESHOLD, static_cast<int>(KEPT_BYTES)) == 1;
}
