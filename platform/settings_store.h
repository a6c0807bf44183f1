#pragma once

#include <QString>
#include <optional>

// The per-user store: organisation and application "Sondrel" in the platform's native format
// (~/.config/Sondrel/Sondrel.conf on Linux, the registry on Windows). It remembers the two
// port configurations and, on Linux, maps port numbers to device paths.
namespace settings_store {

inline constexpr char kInputKey[] = "IN";
inline constexpr char kOutputKey[] = "OUT";

// Section "COM_Port": the port text, ":", the settings text, as the user typed them.
QString portConfiguration(const char* key);
void setPortConfiguration(const char* key, const QString& value);

// A stored port configuration as the texts of its two boxes. Pieces after a second colon are
// ignored; a value without a colon (only an edit from outside makes one) has no settings text.
struct PortBoxes {
    QString port;
    std::optional<QString> settings;
};
PortBoxes splitPortConfiguration(const QString& stored);

// The device that port number N names: section "Ports", key "COM<N>" when set, otherwise the
// platform default (/dev/ttyS<N-1> on Linux, COM<N> on Windows).
QString deviceForPort(int number);

// Where the store lives, for messages and the README.
QString location();

}  // namespace settings_store
