#include <windows.h>

#include <algorithm>
#include <iostream>

#include "run_control.h"
#include "serial_endpoint.h"

namespace {

// The longest a write blocks, so that a stop request is seen.
constexpr std::chrono::milliseconds kStep(100);

HANDLE handleOf(std::intptr_t line) {
    return reinterpret_cast<HANDLE>(line);
}

// A read returns what has come, waiting for the first byte at most `readWait`.
bool setTimeouts(HANDLE line, std::chrono::milliseconds readWait) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(readWait.count());
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(kStep.count());
    return SetCommTimeouts(line, &timeouts);
}

void complain(const QString& what) {
    std::cerr << "sondrel-sim: " << what.toLocal8Bit().constData() << ": "
              << qt_error_string(static_cast<int>(GetLastError())).toLocal8Bit().constData()
              << '\n';
}

}  // namespace

std::unique_ptr<SerialEndpoint> SerialEndpoint::openPty() {
    std::cerr << "sondrel-sim: Windows has no pseudo-terminals; give the serial device with "
                 "--device COMn\n";
    return nullptr;
}

std::unique_ptr<SerialEndpoint> SerialEndpoint::openDevice(const QString& path, int baudRate) {
    if (baudRate <= 0) {
        std::cerr << "sondrel-sim: unsupported baud rate " << baudRate << '\n';
        return nullptr;
    }
    // COM10 and above can be opened only by their name in the device namespace.
    const QString name = path.startsWith(QLatin1String("\\\\")) ? path : "\\\\.\\" + path;
    const HANDLE line =
        CreateFileW(reinterpret_cast<const wchar_t*>(name.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE) {
        complain(path);
        return nullptr;
    }
    // Raw 8N1 without flow control: every flag not set here is off.
    DCB settings{};
    settings.DCBlength = sizeof settings;
    settings.BaudRate = static_cast<DWORD>(baudRate);
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    settings.fBinary = TRUE;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    settings.XonChar = 0x11;  // refused when equal to XoffChar, even unused
    settings.XoffChar = 0x13;
    const bool configured = SetCommState(line, &settings) && setTimeouts(line, kStep);
    if (!configured) {
        complain(QStringLiteral("cannot configure %1").arg(path));
        CloseHandle(line);
        return nullptr;
    }
    return std::unique_ptr<SerialEndpoint>(
        new SerialEndpoint(reinterpret_cast<std::intptr_t>(line), -1, path));
}

SerialEndpoint::~SerialEndpoint() {
    CloseHandle(handleOf(line_));
}

bool SerialEndpoint::linkAs(const QString&) {
    std::cerr << "sondrel-sim: --link needs Linux; on Windows the port number names the device\n";
    return false;
}

bool SerialEndpoint::write(QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (run_control::stopRequested()) {
            return false;
        }
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min<qsizetype>(bytes.size() - done, MAXDWORD));
        if (!WriteFile(handleOf(line_), bytes.data() + done, size, &written, nullptr)) {
            complain(QStringLiteral("write"));
            return false;
        }
        done += written;
    }
    return true;
}

std::int64_t SerialEndpoint::read(char* data, std::int64_t size, std::chrono::milliseconds wait) {
    DWORD count = 0;
    const auto most = static_cast<DWORD>(std::min<std::int64_t>(size, MAXDWORD));
    if (!setTimeouts(handleOf(line_), wait) ||
        !ReadFile(handleOf(line_), data, most, &count, nullptr)) {
        return -1;
    }
    return count;
}
