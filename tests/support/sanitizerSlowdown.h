#pragma once

// How many times longer than normal a time limit may be: ThreadSanitizer watches every memory
// access and makes the loaders and the runner several times slower.
#if defined(__SANITIZE_THREAD__)
constexpr int sanitizerSlowdown = 10;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr int sanitizerSlowdown = 10;
#else
constexpr int sanitizerSlowdown = 1;
#endif
#else
constexpr int sanitizerSlowdown = 1;
#endif
