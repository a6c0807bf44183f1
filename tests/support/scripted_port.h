#pragma once

#include <deque>
#include <optional>

#include "support/fake_port.h"

// A port whose next opens and writes can be told to fail, and whose device can vanish.
class ScriptedPort : public FakePort {
public:
    using FakePort::FakePort;

    PortResult open() override {
        if (!openErrors.empty()) {
            const PortError error = openErrors.front();
            openErrors.pop_front();
            return error;
        }
        return FakePort::open();
    }
    PortResult write(const QByteArray& bytes) override {
        if (writeError) {
            close();
            return writeError;
        }
        return FakePort::write(bytes);
    }
    void vanish() {
        close();
        emit failed(PortError{kDeviceFailure, QStringLiteral("device gone")});
    }

    std::optional<PortError> writeError;
    std::deque<PortError> openErrors;
};
