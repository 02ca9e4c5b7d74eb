// What a native benchmark says of the build it runs in, so that figures of
// a build with sanitizers or without optimisation are not taken for real.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

#if defined(__OPTIMIZE__)
constexpr bool kOptimized = true;
#else
constexpr bool kOptimized = false;
#endif

// The build as the first line of a benchmark's figures says it.
inline const char* sanitizedText() {
    return kSanitized ? "WITH sanitizers (figures are not representative)" : "without sanitizers";
}
inline const char* optimisedText() { return kOptimized ? "optimised" : "NOT optimised"; }
