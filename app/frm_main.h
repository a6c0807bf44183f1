#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "app/connection_state.h"
#include "app/reading_trust.h"
#include "app/services.h"
#include "app/trend_history.h"
#include "input/ascii_framer.h"
#include "input/bit_table.h"
#include "input/incoming_text.h"
#include "logging/log_line.h"
#include "logging/log_writer.h"
#include "output/udp_sender.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace Ui {
class frm_main;
}
class frm_sst;
class frm_trend;

// The main window. It owns every control, the measurement fields through which the readers,
// the calculator, the senders and the log exchange values, the three serial ports, the UDP
// sender and the timers. Handlers are split by subsystem over the frm_main_*.cpp files beside this
// one.
class frm_main : public QWidget {
    Q_OBJECT
public:
    explicit frm_main(const Services& services, QWidget* parent = nullptr);
    ~frm_main() override;

    // Measurement fields: the latest reading and what was computed from it. Every writer
    // stores pressure, conductivity and temperature, then calls con2sal() and sv().
    double pressure = 0;       // bar (an instrument's decibars / 10)
    double conductivity = 0;   // S/m (mS/cm / 10)
    double temperature = 0;    // degrees Celsius
    double salinity = 0;       // practical salinity, full precision
    double soundvelocity = 0;  // m/s, two decimals
    QString data_file;         // log path, empty until one is chosen

    // Salinity from conductivity, temperature and pressure into `salinity` and lb_salinity.
    void con2sal();
    // Sound velocity from salinity, temperature and pressure into `soundvelocity` and lb_sound.
    void sv();

    // Ends the program as closing the window does, but asks nothing: for a signal or the end of
    // the desktop session, when nobody may be there to answer.
    void endUnattended();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    void restorePortBoxes(const char* key, QLineEdit* portBox, QLineEdit* settingsBox);
    void holdHeight();
    void closePorts();

    // Status lines and reading trust (frm_main_status.cpp).
    // Every reading, from an instrument or typed by hand, is noted once its values are stored.
    void noteReading(bool manual);
    void showInputStatus();
    void showOutputStatus();
    void showStatusLines();

    // Opening a port from its two boxes (frm_main_connect.cpp).
    bool connectPort(SerialPort* port, QLineEdit* portBox, QLineEdit* settingsBox, const char* key,
                     ConnectionState& state);
    bool portFailed(const PortError& error, ConnectionState& state);
    static ConnectionState connectedTo(const SerialPort& port);
    ConnectionState inputState_;
    qint64 recordsRejected_ = 0;  // since the input was connected
    ConnectionState outputState_;
    QString outputNote_;  // beside the serial output's state, e.g. a skipped telegram
    ConnectionState udpState_;
    ReadingTrust readingTrust_;

    // Age and plausibility of the readings, the stale limit and "Send only fresh readings"
    // (frm_main_trust.cpp).
    void setUpTrust();
    // Whether a send tick may write a telegram from the fields: always, unless only fresh
    // readings are to be sent and the ones in the fields are not (none yet, stale, invalid or
    // typed by hand). Every sender asks this before it writes.
    bool mayCarryFields() const;
    void expectReadings();
    // The value labels' look and the input status line, from the readings' trust now.
    void showTrust();
    void applyStaleLimit();
    Timer* reading_age_ = nullptr;  // refreshes the age on show once a second
    QString staleText_;             // the stale limit in force, as typed
    bool valuesDoubtful_ = false;

    // Manual calculation and test entry.
    void calculate();
    void testEntry();

    // Input connection and ASCII reader (frm_main_input.cpp).
    void setUpInput();
    void startInputConnection();
    void explainHeldByOther(const SerialPort* port, const SerialPort* other,
                            const QString& otherName);
    void readInput();
    bool storeRecord(QByteArrayView record);
    void showIncoming(const QByteArray& bytes);
    void recoverInput();
    void inputFailed(const PortError& error);
    void retryInput();

    AsciiFramer inputBuffer_;
    Timer* input_reopen_ = nullptr;  // reopens a vanished Com_in about once a second
    IncomingText incomingText_;

    // Sea & Sun decoder and coefficient window (frm_main_seasun.cpp).
    void setUpSeaSun();
    void showCoefficientWindow();
    void pollSeaSun();
    void seaSunLost(const PortError& error);
    BitTable bit_table;
    // Com_SST's device went away while open: each poll tries it again, about once a second,
    // until it is back or the user starts a connection.
    bool seaSunLost_ = false;
    QPointer<frm_sst> coefficientWindow;

    // Output connection, send lamp, telegrams (frm_main_output.cpp).
    void setUpOutput();
    void startOutput();
    void stopOutput();
    void sendTick();
    bool lineBacklogged();
    void lampTick();
    // The send interval typed in the ms box and the lamp's half of it, each in whole ms (ties
    // to even); nullopt unless the box gives 0..65535, sendIntervalRefused() telling why.
    struct SendIntervals {
        int send = 0;
        int lamp = 0;
    };
    std::optional<SendIntervals> sendIntervals() const;
    static QString sendIntervalRefused();
    QByteArray chosenTelegram() const;
    void outputLost(const PortError& error);
    void reopenOutput();
    // Reopens com_out once a second after its device went away, until it is back or the user
    // starts or stops the output.
    Timer* output_reopen_ = nullptr;
    // The size of the telegram sent last: more than that still unsent means they queue up.
    qint64 lastTelegramBytes_ = 0;

    // UDP output, beside the serial one and independent of it (frm_main_udp.cpp).
    void setUpUdp();
    void udpSwitched(bool on);
    void startUdp();
    void takeUdpTarget();
    void aimUdp();
    void udpTick();
    void showUdpState(const ConnectionState& state);
    UdpSender* udpSender_ = nullptr;

    // Settings store (frm_main_settings.cpp).
    // Tells the user, once the window is up, what in the store could not be used.
    void reportSettingsProblems();
    // Stores a port configuration; a store that cannot be written is told once per run.
    void rememberPortConfiguration(const char* key, const QString& value);
    // Stores an option; a store that cannot be written is told on standard error only, as the
    // option works all the same.
    static void rememberOption(const char* key, const QString& value);
    static void rememberOption(const char* key, bool value);
    bool settingsSaveFailureTold_ = false;

    // Data log (frm_main_log.cpp).
    void setUpLog();
    void chooseLogFile();
    void setSamplingInterval();
    void takeSample();
    // The lines still in memory go to the log file as the program ends; those it cannot take go
    // to a file the user chooses (unless nobody may be there to answer), else to a recovery file.
    void finishLog();
    void saveWaitingLinesAs();
    void saveToRecoveryFile(const QString& reason);
    void reportRecoveredLogs();
    bool unattended_ = false;
    void showLogStatus();
    std::unique_ptr<LogWriter> log_writer;

    // Log time in local time or UTC (frm_main_log_time.cpp).
    void setUpLogTime();
    LogTime logTime() const;

    // Trend window (frm_main_trend.cpp); the history outlives the window that shows it.
    void recordTrend();
    void showTrendWindow();
    TrendHistory trendHistory_;
    QPointer<frm_trend> trendWindow_;

    Ui::frm_main* ui;
    Services services_;
    SerialPort* Com_in;
    SerialPort* Com_SST;
    SerialPort* com_out;
    Timer* timer_sst;
    Timer* Timer2;
    Timer* Timer3;
    Timer* Timer4;
    Timer* udp_timer;  // the UDP output's send ticks, at the serial output's interval
};
