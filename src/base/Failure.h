#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace nkp {

// What went wrong with which file: the path as the file system names it and
// the cause as the user is told it (the system's or the safe writer's cause
// in English, or the program's own text in Windows-1251 for the archive and
// the documents).
//
// Below the windows a function that can fail returns its value together
// with a Failure: `Result<T>` holds either the value or the Failure, and
// `Result<void>` (a function with nothing to give back) holds a Failure or
// nothing. No failure travels through an output parameter or an exception:
// a module whose internals throw catches at its public functions.
struct Failure {
    std::string path;
    std::string reason;

    // "path: reason", or the reason alone when no file is concerned. A cause
    // that already names the file (the safe writer's do) is not prefixed again.
    std::string text() const;
};

// A failure whose text names everything already (no separate path).
inline Failure failed(std::string text)
{
    return Failure {{}, std::move(text)};
}

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value)
        : state_(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Failure failure)
        : state_(std::in_place_index<1>, std::move(failure))
    {
    }

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    T value_or(T fallback) const& { return ok() ? value() : std::move(fallback); }

    // Only when !ok().
    const Failure& failure() const { return std::get<1>(state_); }
    // The failure's text; empty when it worked.
    std::string error() const { return ok() ? std::string() : failure().text(); }

private:
    std::variant<T, Failure> state_;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : failure_(std::move(failure))
    {
    }

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }

    // Only when !ok().
    const Failure& failure() const { return *failure_; }
    std::string error() const { return ok() ? std::string() : failure_->text(); }

private:
    std::optional<Failure> failure_;
};

// A function with nothing to give back.
using Done = Result<void>;

}  // namespace nkp
