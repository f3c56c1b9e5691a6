// SPDX-License-Identifier: GPL-3.0-or-later
// Internal: the edge between the C interface and the C++ inside it.
//
// Every public function runs its work through guarded(). No exception may
// reach a C caller (it would end the process): one that escapes the work
// answers the function's failure value instead, out of memory included. Every
// failure leaves its reason for rt_error(): fail() records it under the name
// of the public function the calling thread entered first, so a reason found
// deep inside (in a helper, or in another public function used as one) reads
// as the reason of the call the program made.
#pragma once

#include <cmath>
#include <new>
#include <utility>

namespace rt::core {

// The public function the calling thread entered first, while it runs.
inline thread_local const char* t_entered = nullptr;

// Records the calling thread's failure for rt_error(): "<function>: <reason>",
// or "<function>: <subject>: <reason>" (a subject is what the call was about,
// a file name for example). Long texts are cut short; nothing is allocated.
void record_failure(const char* reason, const char* subject = nullptr) noexcept;

// Records the failure and answers `failure`.
template <class Result>
Result fail(Result failure, const char* reason, const char* subject = nullptr) noexcept {
    record_failure(reason, subject);
    return failure;
}

inline bool finite(float value) {
    return std::isfinite(value);
}

// Names the public function being run while it is the thread's first one.
class Entry {
  public:
    explicit Entry(const char* function) noexcept : outermost_(t_entered == nullptr) {
        if (outermost_) t_entered = function;
    }
    ~Entry() {
        if (outermost_) t_entered = nullptr;
    }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

  private:
    bool outermost_;
};

// Runs a public function's work: its answer, or `failure` (with the reason
// recorded) when an exception escapes it.
template <class Result, class Work>
Result guarded(const char* function, Result failure, Work&& work) noexcept {
    Entry entry(function);
    try {
        return std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        record_failure("out of memory");
    } catch (...) {
        record_failure("an internal error stopped it");
    }
    return failure;
}

// The same for a function that answers nothing.
template <class Work>
void guarded(const char* function, Work&& work) noexcept {
    Entry entry(function);
    try {
        std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        record_failure("out of memory");
    } catch (...) {
        record_failure("an internal error stopped it");
    }
}

}  // namespace rt::core
