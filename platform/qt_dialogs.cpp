#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::inform(const QString& title, const QString& text) {
    if (dismissed_) {
        return;
    }
    QMessageBox::information(parent_, title, text, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(const QString& title, const QString& question) {
    if (dismissed_) {
        return false;
    }
    return QMessageBox::question(parent_, title, question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> QtDialogs::chooseSaveFile(const SaveFileRequest& request) {
    if (dismissed_) {
        return std::nullopt;
    }
    QFileDialog dialog(parent_, request.title, request.initialPath);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.selectNameFilter(request.selectedFilter);
    // No default suffix: a name is used exactly as typed.
    dialog.setDefaultSuffix(QString());
    if (!request.initialPath.isEmpty()) {
        dialog.selectFile(request.initialPath);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void QtDialogs::dismissAll() {
    dismissed_ = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
}
