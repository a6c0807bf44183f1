#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Message boxes and the file chooser, behind an interface so that tests answer them without a
// modal loop.
class Dialogs {
public:
    struct SaveFileRequest {
        QString title;
        QStringList filters;  // "Text Files (*.txt)", ...
        QString selectedFilter;
        QString initialPath;  // the name chosen last, empty the first time
    };

    virtual ~Dialogs() = default;

    // A message with an OK button only.
    virtual void inform(const QString& title, const QString& text) = 0;
    // A question with Yes and No buttons and a question icon; true for Yes.
    virtual bool askYesNo(const QString& title, const QString& question) = 0;
    // A save chooser that confirms before an existing file is picked; nullopt when cancelled.
    virtual std::optional<QString> chooseSaveFile(const SaveFileRequest& request) = 0;
};
