#include "io/signal_cleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <initializer_list>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace pd {

struct Slot {
    volatile std::sig_atomic_t used = 0;
    int folder = -1;
    char name[temporaryNameSize] = {};
};

namespace {

Slot temporaries[8];

struct Series {
    volatile std::sig_atomic_t watched = 0;
    volatile std::sig_atomic_t written = 0;
    int folder = -1;
    int digits = 3;
    char prefix[NAME_MAX + 1] = {};
    char suffix[NAME_MAX + 1] = {};
};

Series series;

// How many threads are within an EndingSignalsBlocked, and whether the
// handler has begun: it runs on any thread that does not block the
// signals, so it waits for the others' sections to end, and a section
// begun after it waits for the end of the process. Lock-free atomics are
// safe in a handler.
std::atomic<int> sectionsOpen{0};
std::atomic<bool> ending{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// prefix + number + suffix, as the series names its files, with nothing
// but stack memory: the handler calls this.
void seriesName(int number, char (&out)[2 * NAME_MAX + 24]) {
    char digits[16];
    int n = 0;
    for (unsigned v = unsigned(number); n == 0 || v != 0; v /= 10) digits[n++] = char('0' + v % 10);
    while (n < series.digits && n < 15) digits[n++] = '0';
    std::size_t at = 0;
    for (const char* p = series.prefix; *p; ++p) out[at++] = *p;
    while (n > 0) out[at++] = digits[--n];
    for (const char* p = series.suffix; *p; ++p) out[at++] = *p;
    out[at] = '\0';
}

void onEndingSignal(int signal) {
    ending = true;
    while (sectionsOpen > 0) ::poll(nullptr, 0, 1);
    for (Slot& t : temporaries)
        if (t.used) ::unlinkat(t.folder, t.name, 0);
    if (series.watched) {
        char name[2 * NAME_MAX + 24];
        for (int i = 0; i < series.written; ++i) {
            seriesName(i, name);
            ::unlinkat(series.folder, name, 0);
        }
    }
    // SA_RESETHAND gave the signal its default action back; raised again it
    // is delivered once this handler returns, ending the process as it would
    // have without one.
    ::raise(signal);
}

void endingSignals(sigset_t& set) {
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
}

}  // namespace

void installCleanupHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = onEndingSignal;
        action.sa_flags = SA_RESETHAND;
        endingSignals(action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

TemporaryName::TemporaryName(int folder, const char* name) {
    for (Slot& t : temporaries)
        if (!t.used) {
            t.folder = folder;
            std::memcpy(t.name, name, temporaryNameSize);
            std::atomic_signal_fence(std::memory_order_seq_cst);
            t.used = 1;
            slot_ = &t;
            break;
        }
    std::memcpy(name_, name, temporaryNameSize);
    folder_ = folder;
}

TemporaryName::~TemporaryName() {
    if (!kept_) ::unlinkat(folder_, name_, 0);
    if (slot_) slot_->used = 0;
}

bool watchSeries(int folder, const char* prefix, const char* suffix, int digits) {
    installCleanupHandlers();
    series.watched = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (std::strlen(prefix) > NAME_MAX || std::strlen(suffix) > NAME_MAX) return false;
    std::strcpy(series.prefix, prefix);
    std::strcpy(series.suffix, suffix);
    series.folder = folder;
    series.digits = digits;
    series.written = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    series.watched = 1;
    return true;
}

void seriesWritten(int written) { series.written = written; }

void unwatchSeries() {
    series.watched = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}

EndingSignalsBlocked::EndingSignalsBlocked() {
    sigset_t set;
    endingSignals(set);
    ::pthread_sigmask(SIG_BLOCK, &set, &saved_);
    // Seen in this order against the handler's (ending, then the count),
    // one of the two always sees the other.
    ++sectionsOpen;
    if (!ending) return;
    --sectionsOpen;
    for (;;) ::poll(nullptr, 0, 1000);  // the handler ends the process
}

EndingSignalsBlocked::~EndingSignalsBlocked() {
    --sectionsOpen;
    ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

}  // namespace pd
