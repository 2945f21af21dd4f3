// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What depends on the compiler or the processor, in one place for the whole program.

#if defined(__GNUC__) || defined(__clang__)
// A hint that *adresse will soon be read.
#define LEXORQUINE_PRECHARGER(adresse) __builtin_prefetch(adresse)
#define LEXORQUINE_RESTREINT __restrict
// For the few small functions of the scan that run once per word.
#define LEXORQUINE_EN_LIGNE [[gnu::always_inline]] inline
#else
#define LEXORQUINE_PRECHARGER(adresse) static_cast<void>(adresse)
#define LEXORQUINE_RESTREINT
#define LEXORQUINE_EN_LIGNE inline
#endif

// SSE2 belongs to every x86-64 processor: used wherever the compiler targets it, with no check.
#if defined(__SSE2__)
#define LEXORQUINE_SSE2 1
#include <emmintrin.h>
#endif

// SSSE3 does not: its code is compiled for it alone and chosen once the processor is asked.
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define LEXORQUINE_SSSE3 1
#define LEXORQUINE_CIBLE_SSSE3 __attribute__((target("ssse3")))
#include <immintrin.h>

namespace lexique {

inline bool processeurAvecSsse3()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3");
}

} // namespace lexique
#endif
