#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "platform/dialogs.h"

// Answers dialogs from a script and records what was shown.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString title;
        QString text;
    };

    void inform(const QString& title, const QString& text) override {
        messages.push_back({title, text});
    }
    bool askYesNo(const QString& title, const QString& question) override {
        questions.push_back({title, question});
        return answerYes;
    }
    std::optional<QString> chooseSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        if (whileChoosing) {
            whileChoosing();
        }
        if (chosenFiles.empty()) {
            return std::nullopt;
        }
        // Taken apart rather than copied whole: GCC 12 at -O2 sees the copied optional's string
        // as maybe uninitialised.
        const bool cancelled = !chosenFiles.front().has_value();
        QString file = chosenFiles.front().value_or(QString());
        chosenFiles.pop_front();
        if (cancelled) {
            return std::nullopt;
        }
        return file;
    }

    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::vector<SaveFileRequest> saveRequests;
    bool answerYes = true;
    // Each entry answers one chooser; nullopt is a cancel.
    std::deque<std::optional<QString>> chosenFiles;
    // What happens while the chooser is open, as timers tick on behind a real one.
    std::function<void()> whileChoosing;
};
