#include "paced_stream.h"

#include <chrono>

#include "run_control.h"

namespace paced_stream {
namespace {

constexpr std::chrono::milliseconds kPace(20);

}  // namespace

End send(Endpoint& endpoint, int bytesPerSecond,
         const std::function<std::optional<QByteArray>()>& next,
         const std::function<void(qint64 total)>& sent) {
    const auto start = std::chrono::steady_clock::now();
    QByteArray stream;
    bool ended = false;
    qint64 total = 0;
    while (!ended || !stream.isEmpty()) {
        if (!run_control::pause(kPace)) {
            return End::Stopped;
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        const qint64 due = elapsed.count() * bytesPerSecond / 1000 - total;
        while (!ended && stream.size() < due) {
            const std::optional<QByteArray> part = next();
            ended = !part;
            if (part) {
                stream += *part;
            }
        }
        const QByteArray piece = stream.first(std::clamp<qint64>(due, 0, stream.size()));
        if (piece.isEmpty()) {
            continue;
        }
        if (!endpoint.write(piece)) {
            return run_control::stopRequested() ? End::Stopped : End::LineFailed;
        }
        stream.remove(0, piece.size());
        total += piece.size();
        if (sent) {
            sent(total);
        }
    }
    return End::Finished;
}

}  // namespace paced_stream
