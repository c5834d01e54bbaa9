#include "process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pd {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace

ProgramProcess::~ProgramProcess() {
    kill();
    if (in_ >= 0) ::close(in_);
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
}

bool ProgramProcess::start(const std::string& program, const std::string& workDir,
                           const std::vector<std::string>& args) {
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) != 0 || pipe(outPipe) != 0 || pipe(errPipe) != 0) return false;
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            ::close(fd);
        if (chdir(workDir.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    in_ = inPipe[1];
    out_ = outPipe[0];
    err_ = errPipe[0];
    // A child that ends before reading must not kill the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

void ProgramProcess::write(const std::string& text) {
    if (in_ < 0) return;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(in_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += size_t(n);
    }
}

void ProgramProcess::closeInput() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
}

void ProgramProcess::pump(int timeoutMs) {
    pollfd fds[2];
    int n = 0;
    if (out_ >= 0) fds[n++] = {out_, POLLIN, 0};
    if (err_ >= 0) fds[n++] = {err_, POLLIN, 0};
    if (n == 0) {
        if (timeoutMs > 0) usleep(timeoutMs * 1000);
        return;
    }
    if (poll(fds, nfds_t(n), timeoutMs) <= 0) return;
    for (int i = 0; i < n; ++i) {
        if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buf[4096];
        ssize_t got = ::read(fds[i].fd, buf, sizeof buf);
        int& fd = fds[i].fd == out_ ? out_ : err_;
        std::string& text = fds[i].fd == out_ ? outText_ : errText_;
        if (got > 0) {
            text.append(buf, size_t(got));
        } else if (got == 0 || errno != EINTR) {
            ::close(fd);
            fd = -1;
        }
    }
}

const std::string& ProgramProcess::out() {
    pump(0);
    return outText_;
}

const std::string& ProgramProcess::err() {
    pump(0);
    return errText_;
}

bool ProgramProcess::waitForOutput(const std::string& text, double seconds) {
    const auto t0 = Clock::now();
    while (outText_.find(text) == std::string::npos) {
        if (secondsSince(t0) > seconds) return false;
        if (out_ < 0 && !running()) return false;
        pump(20);
    }
    return true;
}

bool ProgramProcess::running() {
    if (pid_ <= 0 || reaped_) return false;
    int raw = 0;
    pid_t r = waitpid(pid_, &raw, WNOHANG);
    if (r == 0) return true;
    reaped_ = true;
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return false;
}

bool ProgramProcess::wait(double seconds, int& status) {
    const auto t0 = Clock::now();
    while (running()) {
        if (secondsSince(t0) > seconds) return false;
        pump(20);
    }
    while (out_ >= 0 || err_ >= 0) pump(20);  // drain what is left
    status = status_;
    return pid_ > 0;
}

void ProgramProcess::kill() {
    if (running()) {
        ::kill(pid_, SIGKILL);
        int raw = 0;
        waitpid(pid_, &raw, 0);
        reaped_ = true;
        status_ = 128 + SIGKILL;
    }
}

RunResult runProgram(const std::string& program, const std::string& workDir,
                     const std::string& input, double seconds,
                     const std::vector<std::string>& args) {
    RunResult result;
    ProgramProcess p;
    if (!p.start(program, workDir, args)) return result;
    p.write(input);
    p.closeInput();
    result.finished = p.wait(seconds, result.status);
    if (!result.finished) p.kill();
    result.out = p.out();
    result.err = p.err();
    return result;
}

}  // namespace pd
