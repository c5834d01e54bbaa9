#pragma once

#include <exception>
#include <future>
#include <type_traits>
#include <utility>

namespace pd {

// Whether this build may start threads. A WebAssembly build without
// pthreads has none: std::async(std::launch::async) fails there, so the
// work meant for a second thread is done at once, on the caller's.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool threadsAvailable = false;
#else
inline constexpr bool threadsAvailable = true;
#endif

// For std::async: a thread of its own where one can be started; else the
// work is done on the caller's thread when its future is waited for (where
// there are no threads, or none left: libstdc++ falls back so then).
inline constexpr std::launch aThreadIfAny =
    threadsAvailable ? std::launch::async | std::launch::deferred : std::launch::deferred;

// Starts `job` on a second thread and gives its future; without threads,
// runs it before returning and gives a future already ready (holding what
// it threw, if it threw).
template <class Job>
std::future<std::invoke_result_t<Job>> startInBackground(Job&& job) {
    if constexpr (threadsAvailable) {
        return std::async(std::launch::async, std::forward<Job>(job));
    } else {
        std::promise<std::invoke_result_t<Job>> done;
        try {
            done.set_value(job());
        } catch (...) {
            done.set_exception(std::current_exception());
        }
        return done.get_future();
    }
}

}  // namespace pd
