#include "run_control.h"

#include <csignal>
#include <thread>

namespace run_control {
namespace {

volatile std::sig_atomic_t stopFlag = 0;

void onStopSignal(int) {
    stopFlag = 1;
}

}  // namespace

void installStopHandlers() {
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
}

bool stopRequested() {
    return stopFlag != 0;
}

bool pause(std::chrono::milliseconds duration) {
    constexpr std::chrono::milliseconds kStep(50);
    const auto until = std::chrono::steady_clock::now() + duration;
    while (!stopRequested()) {
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::milliseconds::zero()) {
            return true;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kStep));
    }
    return false;
}

}  // namespace run_control
