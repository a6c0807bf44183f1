#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/measurement.h"
#include "app/services.h"
#include "app/trend_history.h"
#include "input/incoming_text.h"
#include "platform/settings_store.h"

namespace Ui {
class frm_main;
}
class frm_sst;
class frm_trend;
class InputController;
class OutputController;
class LogController;
class StatusReport;

// The main window. It owns every control and the measurement fields through which the readers,
// the calculator, the senders and the log exchange values, and binds the controls to the
// subsystems' controllers: the input, the output and the log. Handlers are split by subsystem
// over the frm_main_*.cpp files beside this one.
class frm_main : public QWidget, public Measurement {
    Q_OBJECT
public:
    explicit frm_main(const Services& services, QWidget* parent = nullptr);
    ~frm_main() override;

    QString data_file;  // log path, empty until one is chosen

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

    // Status lines and reading trust (frm_main_status.cpp).
    // Every reading, from an instrument or typed by hand, is noted once its values are stored.
    void noteReading(bool manual);
    void showInputStatus();
    void showOutputStatus();
    void showLogStatus();
    // The one failure of a start that a message box tells: a port number that names no device.
    void tellIfUnusable(const PortResult& result);

    // Age and plausibility of the readings, the stale limit and "Send only fresh readings"
    // (frm_main_trust.cpp).
    void setUpTrust(const settings_store::Options& options);
    void expectReadings();
    // The value labels' look and the input status line, from the readings' trust now.
    void showTrust();
    void applyStaleLimit();
    QString staleText_;  // the stale limit in force, as typed
    bool valuesDoubtful_ = false;

    // Input connection and the readings (frm_main_input.cpp).
    void setUpInput();
    void startInput();
    // Each step of a reading: its values into the fields, its texts onto the labels.
    void storeReading(const InstrumentReading& reading);
    void showIncoming(const QByteArray& bytes);
    void showPolled(const QByteArray& block);
    IncomingText incomingText_;

    // Sea & Sun coefficient window (frm_main_seasun.cpp).
    void showCoefficientWindow();
    QPointer<frm_sst> coefficientWindow;

    // Manual calculation and test entry (frm_main_calculator.cpp).
    void calculate();
    void testEntry();

    // Output connection, send lamp, telegrams and UDP (frm_main_output.cpp, frm_main_udp.cpp).
    void setUpOutput();
    void startOutput();
    void stopOutput();
    void setUpUdp(const settings_store::Options& options);
    void udpSwitched(bool on);
    void startUdp();
    void takeUdpTarget();

    // Settings store (frm_main_settings.cpp).
    // Tells the user, once the window is up, what in the store could not be used.
    void reportSettingsProblems(const QStringList& more);
    // Stores a port configuration; a store that cannot be written is told once per run.
    void rememberPortConfiguration(const char* key, const QString& value);
    // A slot that stores the port texts a connection is about to open.
    std::function<void(const QString&)> remembering(const char* key);
    // Stores an option; a store that cannot be written is told on standard error only, as the
    // option works all the same.
    static void rememberOption(const char* key, const QString& value);
    static void rememberOption(const char* key, bool value);
    bool settingsSaveFailureTold_ = false;

    // Data log (frm_main_log.cpp).
    void setUpLog(const settings_store::Options& options);
    void setSamplingInterval();
    void chooseLogFile();
    // Logs into the file from now on: the chosen one, or the one resumed.
    void logInto(const QString& path);
    // The lines still in memory go to the log file as the program ends; those it cannot take go
    // to a file the user chooses (unless nobody may be there to answer), else to a recovery file.
    void finishLog();
    void saveWaitingLinesAs();
    void saveToRecoveryFile(const QString& reason);
    void reportRecoveredLogs();
    bool unattended_ = false;

    // Resume after a restart (frm_main_resume.cpp): while checked, what runs is kept in the
    // store's [Run] section as the user changes it, and started again at the next start.
    void setUpResume(const settings_store::Options& options);
    void resume();
    void rememberRun(const char* key, const QString& value);
    void rememberRun(const char* key, bool value);
    void rememberWholeRun();
    QStringList resumeProblems_;                  // for the start-up notice
    QString samplingText_ = QStringLiteral("1");  // the sampling interval in force, as typed

    // Trend window (frm_main_trend.cpp); the history outlives the window that shows it.
    void recordTrend();
    void showTrendWindow();
    TrendHistory trendHistory_;
    QPointer<frm_trend> trendWindow_;

    Ui::frm_main* ui;
    Services services_;
    InputController* input_;
    OutputController* output_;
    LogController* log_;
    StatusReport* statusReport_;
};
