#pragma once

// CORV_ASAN is 1 in an AddressSanitizer build, whichever compiler made it: g++ says so with
// __SANITIZE_ADDRESS__, clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define CORV_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORV_ASAN 1
#endif
#endif
#ifndef CORV_ASAN
#define CORV_ASAN 0
#endif
