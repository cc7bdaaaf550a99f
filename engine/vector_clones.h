// Hot byte loops are compiled twice, for AVX2 and for the baseline, and the
// loader picks one for the processor it runs on. That needs the toolchain's
// indirect functions (ifunc), which Windows executables do not have; there
// the baseline (SSE2) build of the loop is the only one.
#pragma once

#if defined(VELKOR_HAVE_IFUNC)
#define VELKOR_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VELKOR_AVX2_CLONES
#endif
