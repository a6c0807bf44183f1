#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "app/station/measurement.h"
#include "app/station/record_choice.h"
#include "app/station/run_settings.h"
#include "app/station/services.h"
#include "logging/log_controller.h"
#include "platform/port_connection.h"
#include "platform/settings_store.h"

class InputController;
class OutputController;
class StatusReport;

// The running program without a window: the measurement fields and their trust, the input, the
// output (serial and UDP) and the log, the options, and what is kept of them in the settings
// store. The window holds one and shows it; without a window one runs on its own. Each step of
// the program (a reading, a start, an ending) is taken here, once, and told by a signal.
class Station : public QObject, public Measurement {
    Q_OBJECT
public:
    // Whether section [Run] is kept up to date while "Resume after a restart" is on: by the
    // window, whose user changes what runs, and never by a program that only reads it.
    enum class RunUpkeep { WhileResuming, Never };

    Station(const Services& services, const settings_store::Options& options, RunUpkeep upkeep,
            QObject* parent = nullptr);

    QString data_file;  // log path, empty until one is chosen

    const InputController& input() const { return *input_; }
    const OutputController& output() const { return *output_; }
    const LogController& log() const { return *log_; }
    const settings_store::Options& options() const { return options_; }
    // Now, on the steady clock the readings age by.
    qint64 now() const { return services_.steadyClock(); }

    // Starts what `run` asks for, with nobody there to answer: a device that is not there yet is
    // retried quietly. The log file is appended to; whether it can be is told by logRefused,
    // while the rest runs all the same.
    void start(const RunSettings& run);
    // A disk that hangs is waited for this long at the end.
    static constexpr std::chrono::milliseconds kLogEndWait{5000};
    // Stops every clock and closes the ports, then writes the log's waiting lines. Those the log
    // file cannot take go to the file `chooseFile` names, if it is given and names one, and what
    // is left to a recovery file; that is told on standard error, and returned.
    using FileChooser = std::function<std::optional<QString>()>;
    std::optional<LogController::Recovery> end(const FileChooser& chooseFile = {});

    // Salinity from conductivity, temperature and pressure into `salinity`.
    void con2sal();
    // Sound velocity from salinity, temperature and pressure into `soundvelocity`.
    void sv();
    // Values typed by hand, in the fields' units, taken as a reading of their own.
    void takeTyped(const InstrumentReading& typed);

    PortResult startInput(const Instrument& instrument, const QString& portText,
                          const QString& settingsText, WhenAbsent absent = WhenAbsent::Tell);
    void chooseInstrument(const Instrument& instrument);

    PortResult startOutput(const QString& portText, const QString& settingsText,
                           const QString& intervalText, WhenAbsent absent = WhenAbsent::Tell);
    void stopOutput();
    void chooseTelegram(const TelegramFormat& telegram);
    // The send interval's box was edited: UDP, which sends while the serial output is stopped,
    // takes it at once.
    void editSendInterval(const QString& intervalText, const QString& udpTarget);
    void setUdpSending(bool on, const QString& intervalText, const QString& target);
    void aimUdp(const QString& target);

    // The log goes into the file once it is created; logRefused tells when it cannot be.
    void createLog(const QString& path);
    // False, the interval in force kept, unless the text gives one.
    bool setSamplingInterval(const QString& typed);
    void setLogTimeUtc(bool utc);
    void setLogDaily(bool daily);

    // The layout the Kestrane option reads, from the next record on. Empty, or why the layout
    // cannot be used and the one in force stays.
    QStringList chooseRecords(const RecordPreset& preset);
    const RecordChoice& records() const { return records_; }
    // What the stored choice of layout had that cannot be used, from the start.
    const QStringList& recordProblems() const { return recordProblems_; }
    // False, the pressure in force kept, unless the text gives one in dbar.
    bool setFixedPressure(const QString& typed);

    // False, the limit in force kept, unless the text is a positive number of seconds.
    bool setStaleLimit(const QString& typed);
    const QString& staleLimitText() const { return options_.staleAfter; }
    void setSendFreshOnly(bool on);

    // While kept, section [Run] holds what runs now, as it changes.
    void keepRun(bool on);
    settings_store::StoreResult rememberPortConfiguration(const char* key, const QString& value);
    // The recovery files the last ending saved, named once: the store forgets them.
    QStringList takeRecoveredLogs();

signals:
    // The values of a reading are in the fields; its label texts are to be shown.
    void readingStored(const InstrumentReading& reading);
    void salinityChanged();
    void soundVelocityChanged();
    // A reading is complete in the fields.
    void readingNoted();
    // How far the readings can be trusted may have changed: a reading, the time, the limit.
    void trustChanged();
    void logFileChanged(const QString& path);
    void logRefused(const QString& path, const QString& reason, LogController::Asked asked);
    // The text of one of the port configurations is about to be opened, to be remembered.
    void portTextsChosen(const char* key, const QString& value);

private:
    void take(InstrumentReading reading);
    void useRecords(const RecordChoice& choice);
    void computeAndNote(const InstrumentReading& reading, bool manual);
    void expectReadings(const Instrument& instrument);
    void logInto(const QString& path);
    void logReady(const QString& path, LogController::Asked asked);
    void rememberRun(const char* key, const QString& value);
    void rememberRun(const char* key, bool value);
    void rememberWholeRun();
    void rememberOption(const char* key, const QString& value);
    void remembered(const settings_store::StoreResult& result);

    Services services_;
    settings_store::Options options_;
    InputController* input_;
    OutputController* output_;
    LogController* log_;
    StatusReport* statusReport_;
    const Instrument* instrument_ = &instruments::table().standard;
    // The instrument the input was started with last.
    const Instrument* inputInstrument_ = &instruments::table().standard;
    RecordChoice records_;
    QStringList recordProblems_;
    QString sendIntervalText_ = RunSettings().sendIntervalText;
    QString samplingText_ = RunSettings().sampleIntervalText;
    RunUpkeep upkeep_;
    bool keepingRun_;
};
