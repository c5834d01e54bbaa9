#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace pd {

// The program under test as a child process: its standard input is a pipe we
// write the answers into, its standard output and error are collected.
class ProgramProcess {
public:
    ProgramProcess() = default;
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;
    ~ProgramProcess();  // kills the child if it still runs

    // Starts `program` with `args` in `workDir`. Returns false if it could
    // not be started.
    bool start(const std::string& program, const std::string& workDir,
               const std::vector<std::string>& args = {});

    // Writes to the child's standard input; closeInput() gives it the end of
    // input.
    void write(const std::string& text);
    void closeInput();

    // Everything read from the child's standard output / error so far.
    const std::string& out();
    const std::string& err();

    // Waits until standard output holds `text` (true) or the child ends or
    // `seconds` pass (false).
    bool waitForOutput(const std::string& text, double seconds);

    // Waits for the child to end. Returns true with its status (exit code,
    // or 128 + signal) if it ended within `seconds`.
    bool wait(double seconds, int& status);

    void kill();
    pid_t pid() const { return pid_; }
    bool running();

private:
    void pump(int timeoutMs);

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    std::string outText_;
    std::string errText_;
};

// Runs `program` in `workDir` with `input` on its standard input (closed
// afterwards) and waits at most `seconds` for it to end.
struct RunResult {
    bool finished = false;
    int status = -1;
    std::string out;
    std::string err;
};
RunResult runProgram(const std::string& program, const std::string& workDir,
                     const std::string& input, double seconds = 30.0,
                     const std::vector<std::string>& args = {});

}  // namespace pd
