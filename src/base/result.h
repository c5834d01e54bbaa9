#pragma once

#include <string>
#include <utility>
#include <variant>

#include "base/printable.h"

namespace pd {

// The one way the libraries report failure: a function that can fail
// returns a Result, holding either its value or an Error saying where and
// what. Libraries never print; each program's main prints
// "PROGRAM: " + error.text() and picks its exit status.

struct Error {
    std::string file;  // the file the problem is in, "" when none
    long line = 0;     // 1-based line in that file, 0 when there is none
    std::string what;  // what is wrong, one line, no trailing full stop needed

    // "FILE:LINE: WHAT", "FILE: WHAT" or "WHAT", by what is known, ready
    // to print: control bytes in the names it holds escaped (printable.h).
    std::string text() const {
        std::string out;
        if (!file.empty()) {
            out = file;
            if (line > 0) out += ":" + std::to_string(line);
            out += ": ";
        }
        return printable(out + what);
    }
};

// An error with only a description.
inline Error failure(std::string what) { return Error{"", 0, std::move(what)}; }
// An error in a file, at a line when line > 0.
inline Error failure(std::string file, long line, std::string what) {
    return Error{std::move(file), line, std::move(what)};
}

// The value of a successful call, for calls that have nothing to return.
struct Done {};

template <class T>
class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only after ok() said true.
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // The error; only after ok() said false.
    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

// A Result with nothing to return: Status s = Done{}; or = failure(...).
using Status = Result<Done>;

}  // namespace pd
