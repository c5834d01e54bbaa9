#pragma once

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
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

// How far a thread doing work ahead of need beside a drawing lowers its
// priority. On a machine with few cores a helper that shares them evenly
// holds back the renderer's threads, and each frame waits for the slowest
// of those.
//   Lowered: ten steps nicer, a tenth of a core where they compete; it
//            still finishes under other programs' load, for work someone
//            waits for.
//   Lowest:  nice 19 in the batch class: it gives way at once whenever the
//            renderer's threads wake, so it runs in the time they leave,
//            and barely at all where other programs keep the cores busy.
// (The idle class could starve the work outright, and an ordinary user
// cannot raise a thread again.) On Linux these are the thread's own, and
// the threads it starts inherit them. Nothing where there are no threads.
enum class ThreadPriority { Lowered, Lowest };
inline void lowerThreadPriority(ThreadPriority how) {
    if constexpr (threadsAvailable) {
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, 0);
        if (errno != 0) return;
        setpriority(PRIO_PROCESS, 0, how == ThreadPriority::Lowest ? 19 : std::min(nice + 10, 19));
#ifdef SCHED_BATCH
        const sched_param none{};
        if (how == ThreadPriority::Lowest) sched_setscheduler(0, SCHED_BATCH, &none);
#endif
    }
}

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
