#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

#include "endpoint.h"

// A stream sent at a fixed number of bytes a second, in the small pieces a serial line of that
// speed delivers, never ahead of the rate: a pseudo-terminal has no line speed of its own.
namespace paced_stream {

enum class End { Finished, Stopped, LineFailed };

// Sends what `next` produces; `next` gives the stream's next part, or nullopt once the stream
// has ended. `sent`, when given, hears the total number of bytes written after every piece.
End send(Endpoint& endpoint, int bytesPerSecond,
         const std::function<std::optional<QByteArray>()>& next,
         const std::function<void(qint64 total)>& sent = {});

}  // namespace paced_stream
