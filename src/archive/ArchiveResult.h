#pragma once

#include "base/Failure.h"

#include <optional>
#include <utility>

namespace nkp::archive {

// A value, or the failure that kept it from being made (`failure.reason`
// Russian, ArchiveText.h; `failure.path` the archive's location when known).
template <typename T> struct Result {
    std::optional<T> value;
    Failure failure;

    Result() = default;
    Result(T v)
        : value(std::move(v))
    {
    }  // NOLINT: a value is a result
    static Result fail(Failure f)
    {
        Result r;
        r.failure = std::move(f);
        return r;
    }
    explicit operator bool() const { return value.has_value(); }
    T& operator*() { return *value; }
    const T& operator*() const { return *value; }
    T* operator->() { return &*value; }
    const T* operator->() const { return &*value; }
};

}  // namespace nkp::archive
