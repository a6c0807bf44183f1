#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/result.h"

// The per-user store: organisation and application "Sondrel" in the platform's native format
// (~/.config/Sondrel/Sondrel.conf on Linux, the registry on Windows). It remembers the two
// port configurations and, on Linux, maps port numbers to device paths. The file may have been
// edited by hand: what cannot be read is passed over, and problems() tells what that was.
namespace settings_store {

// Why the store could not be written, unless ok().
using StoreResult = Result<QString>;

// From now on the store is this INI file instead of the per-user one: for a server, a service or
// a second set of instruments on one PC.
void useFile(const QString& path);

inline constexpr char kInputKey[] = "IN";
inline constexpr char kOutputKey[] = "OUT";

// Section "COM_Port": the port text, ":", the settings text, as the user typed them. Empty when
// absent or unreadable. A value typed by hand without quotes, which the file format splits at
// its commas, comes back whole.
QString portConfiguration(const char* key);
StoreResult setPortConfiguration(const char* key, const QString& value);

// A stored port configuration as the texts of its two boxes. Pieces after a second colon are
// ignored; a value without a colon (only an edit from outside makes one) has no settings text.
struct PortBoxes {
    QString port;
    std::optional<QString> settings;
};
PortBoxes splitPortConfiguration(const QString& stored);

// The device that port number N names: section "Ports", key "COM<N>" when set, otherwise the
// platform default (/dev/ttyS<N-1> on Linux, COM<N> on Windows). On Linux a relative name
// lies under /dev, as serial devices are commonly named ("ttyUSB0").
QString deviceForPort(int number);

// Section "Options": what the user chose beyond the port texts. Read at start-up; a stored
// value that cannot be used falls back to its default and is named by problems().
inline constexpr char kStaleAfter[] = "StaleAfter";        // seconds, as typed, positive
inline constexpr char kSendFreshOnly[] = "SendFreshOnly";  // true/false
inline constexpr char kUdpTarget[] = "UdpTarget";          // host:port, as typed
inline constexpr char kUdpSending[] = "UdpSending";        // true/false
inline constexpr char kLogTimeUtc[] = "LogTimeUtc";        // true/false
inline constexpr char kLogDaily[] = "LogDaily";            // true/false
inline constexpr char kResumeAtStart[] = "ResumeAtStart";  // true/false
inline constexpr char kAsciiRecords[] = "AsciiRecords";    // a record layout's name
inline constexpr char kFixedPressure[] = "FixedPressure";  // dbar, as typed

struct Options {
    QString staleAfter = QStringLiteral("5");  // as typed, for the box that shows it
    qint64 staleAfterMs = 5000;
    bool sendFreshOnly = false;
    QString udpTarget;
    bool udpSending = false;
    bool logTimeUtc = false;
    bool logDaily = false;
    bool resumeAtStart = false;
    // Checked against the layouts by whoever reads the records.
    QString asciiRecords = QStringLiteral("Kestrane");
    QString fixedPressure = QStringLiteral("0");  // as typed, for the box that shows it
    double fixedPressureDbar = 0;
};
Options options();
// The stale limit typed in seconds (the user's number format) as milliseconds; nullopt unless it
// is a positive number.
std::optional<qint64> staleLimitMs(const QString& typed);
// The pressure of a probe without a sensor, typed in dbar (the user's number format); nullopt
// unless it is one the sea has.
std::optional<double> fixedPressureDbar(const QString& typed);
StoreResult setOption(const char* key, const QString& value);
StoreResult setOption(const char* key, bool value);
// The sentence problems() gives for an option that falls back to `used`.
QString optionFallback(const char* key, const QString& text, const QString& used);

// A flag as the store holds it: "true" or "false". Any other text, other case included, gives
// nullopt.
std::optional<bool> readFlag(const QString& text);
QString flagText(bool value);

// Section "Log", key "Recovered": files that took the log lines the log file could not take
// when the program last ended, until the window has named them once.
QStringList recoveredLogs();
StoreResult setRecoveredLogs(const QStringList& paths);

// Section "Run": what runs (the instrument, the connections, the log), as texts to be read by
// whoever starts them; nullopt when absent.
inline constexpr char kRunInstrument[] = "Instrument";          // Kestrane, SeaSun
inline constexpr char kRunInput[] = "Input";                    // true/false
inline constexpr char kRunOutput[] = "Output";                  // true/false
inline constexpr char kRunTelegram[] = "Telegram";              // a telegram's name
inline constexpr char kRunSendInterval[] = "SendInterval";      // ms, as typed
inline constexpr char kRunLogFile[] = "LogFile";                // a path, or empty
inline constexpr char kRunSampleInterval[] = "SampleInterval";  // seconds, as typed
std::optional<QString> runValue(const char* key);
StoreResult setRunValue(const char* key, const QString& value);

// Section "Record": the layout of a custom ASCII instrument's records, as texts; nullopt when
// absent.
std::optional<QString> recordValue(const char* key);

// "KEY under [SECTION] ("VALUE") cannot be used: EXPECTED.", the sentence that names a value
// read from the store that cannot be used.
QString cannotBeUsed(const char* section, const char* key, const QString& value,
                     const QString& expected);

// What is wrong with the store as it stands, one sentence each: unreadable, not in the store's
// format, or entries that are passed over or fall back to a default. Empty when all is well.
QStringList problems();

// Where the store lives, for messages and the README.
QString location();

}  // namespace settings_store
