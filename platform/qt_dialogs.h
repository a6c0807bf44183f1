#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

// The real message boxes and save chooser, parented to the given window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void inform(const QString& title, const QString& text) override;
    bool askYesNo(const QString& title, const QString& question) override;
    std::optional<QString> chooseSaveFile(const SaveFileRequest& request) override;

    // Closes the boxes that are open, as cancelled, and answers every later one at once the same
    // way: for an ending that nobody may be there to answer.
    void dismissAll();

private:
    QPointer<QWidget> parent_;
    bool dismissed_ = false;
};
