// What anything that can fail without ending the game gives back: a value,
// or the problem, in words that go to the player as they stand or within a
// line that names the file.
#pragma once

#include <optional>
#include <string>
#include <utility>

// A failure on its way back: converts to a Result of any value.
struct Failure {
    std::string problem;
};

// The value of an operation that gives back nothing but its success.
struct Done {};

template <typename T = Done>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : problem_(std::move(failure.problem)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only when ok: otherwise they throw std::bad_optional_access.
    T& value() { return value_.value(); }
    const T& value() const { return value_.value(); }
    T* operator->() { return &value_.value(); }
    const T* operator->() const { return &value_.value(); }

    // Why there is no value; empty when ok.
    const std::string& problem() const { return problem_; }

private:
    std::optional<T> value_;
    std::string problem_;
};
