#pragma once

#include <csignal>
#include <cstddef>

namespace pd {

// Files a run has begun but not finished are removed when SIGINT, SIGTERM
// or SIGHUP ends it: a temporary being written, and the numbered files of
// a series (turntable pictures, net pages) written so far. The handler may
// only make async-signal-safe calls, so what it removes lives in fixed
// storage, each name beside the descriptor of its folder.

// Longest temporary name kept (".pd-XXXXXX" and its NUL).
constexpr std::size_t temporaryNameSize = 16;

// Installs the handlers once. A signal the process was started ignoring
// (nohup's SIGHUP) stays ignored. SIGXFSZ is ignored for good: a file-size
// limit then fails the write with EFBIG, reported like a full disk,
// instead of killing the process without a word.
void installCleanupHandlers();

// Keeps a temporary on the handler's list from before its creation until
// it is renamed or removed; removes it on destruction unless kept. With
// the list full (never, with one write at a time) the file is still
// removed on every other way out.
class TemporaryName {
public:
    TemporaryName(int folder, const char* name);
    ~TemporaryName();
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    const char* name() const { return name_; }
    // Leaves the name where it is: it is now the output's, or was never ours.
    void keep() { kept_ = true; }

private:
    struct Slot* slot_ = nullptr;
    int folder_ = -1;
    char name_[temporaryNameSize] = {};
    bool kept_ = false;
};

// The one series being written: files prefix + number + suffix in
// `folder`, numbers zero-padded to `digits`, 0 .. written - 1 already in
// place. False (nothing watched) when prefix or suffix is longer than a
// file name can be.
bool watchSeries(int folder, const char* prefix, const char* suffix, int digits);
// Called with signals blocked, right after file `written - 1` took its name.
void seriesWritten(int written);
// The series is finished, or removed by its owner: the handler leaves it.
void unwatchSeries();

// Blocks SIGINT, SIGTERM and SIGHUP while it lives, so that a file taking
// its name and its entry on the list happen together. They are blocked in
// the calling thread alone (pthread_sigmask): meanwhile the process's
// other threads, which leave them unblocked, may receive one, and their
// handler then waits for every such section to end before it removes
// anything; a section begun after that never ends (the handler ends the
// process). With no other thread the signal waits for the destructor.
class EndingSignalsBlocked {
public:
    EndingSignalsBlocked();
    ~EndingSignalsBlocked();
    EndingSignalsBlocked(const EndingSignalsBlocked&) = delete;
    EndingSignalsBlocked& operator=(const EndingSignalsBlocked&) = delete;

private:
    sigset_t saved_{};
};

}  // namespace pd
