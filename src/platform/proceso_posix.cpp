// Process settings on POSIX systems.
#include "proceso.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace plataforma {

void preparaProceso() {
#ifdef M_TRIM_THRESHOLD
  // Each entry's compressor takes about 256 KiB and frees it when the entry closes. By
  // default glibc hands that back to the system every time and faults it in again for the
  // next entry, which costs a typical delivery a third of its run.
  mallopt(M_TRIM_THRESHOLD, 1 << 20);
#endif
}

}  // namespace plataforma
