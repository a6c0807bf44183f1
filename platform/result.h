#pragma once

#include <optional>
#include <utility>

// The outcome of an operation that can fail: ok(), or the error that says why. Checking it reads
// the right way round (`if (!port->open().ok())`), and dropping it unread is a warning.
template <typename Error>
class [[nodiscard]] Result {
public:
    Result() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a failure returns its error as it is.
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    // Only for a result that is not ok().
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};
