// Hot byte loops are compiled twice, for AVX2 and for the baseline, and the
// loader picks one for the processor it runs on. That needs the toolchain's
// indirect functions (ifunc), which Windows executables do not have; there
// the baseline (SSE2) build of the loop is the only one.
#pragma once

//
// Code written for a vector width picks its own build: VELKOR_AVX2_TARGET
// compiles a function for AVX2, to be called only where VELKOR_RUNS_AVX2()
// holds, which it never does where the loops have no AVX2 clones.
#if defined(VELKOR_HAVE_IFUNC)
#define VELKOR_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#define VELKOR_AVX2_TARGET __attribute__((target("avx2")))
#define VELKOR_RUNS_AVX2() __builtin_cpu_supports("avx2")
#else
#define VELKOR_AVX2_CLONES
#define VELKOR_AVX2_TARGET
#define VELKOR_RUNS_AVX2() false
#endif
