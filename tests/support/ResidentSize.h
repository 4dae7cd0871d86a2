#pragma once

namespace testsupport {

// The process's resident memory in KiB, 0 when it cannot be read.
long residentKilobytes();

// A sanitizer holds freed memory back and grows the process on its own; its
// leak checker covers what a resident-size bound would.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kResidentSizeTracksLeaks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kResidentSizeTracksLeaks = false;
#else
inline constexpr bool kResidentSizeTracksLeaks = true;
#endif
#else
inline constexpr bool kResidentSizeTracksLeaks = true;
#endif

} // namespace testsupport
