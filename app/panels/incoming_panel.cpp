#include "app/panels/incoming_panel.h"

#include <QTextCursor>

#include "app/station/station.h"
#include "app/ui_frm_main.h"
#include "input/input_controller.h"
#include "input/sea_sun_block_text.h"

namespace {

// Text4 keeps about this many of the newest characters. It is trimmed only once it has grown
// by kIncomingSlack beyond that, so trimming costs little per received piece.
constexpr int kIncomingKept = 64 * 1024;
constexpr int kIncomingSlack = 16 * 1024;

}  // namespace

IncomingPanel::IncomingPanel(const PanelContext& context) : Panel(context) {
    QPlainTextEdit* box = context_.ui.Text4;
    // Every received piece would otherwise stay on the undo stack for as long as the window.
    box->setUndoRedoEnabled(false);
    // Narrow tab stops keep one instrument record on one line of the box.
    box->setTabStopDistance(48);
    // The box only shows what arrives; Tab moves on to the next control as everywhere else.
    box->setTabChangesFocus(true);
    const InputController& input = context_.station.input();
    connect(&input, &InputController::received, this, &IncomingPanel::showIncoming);
    connect(&input, &InputController::polled, this, &IncomingPanel::showPolled);
}

// Inserted at the caret, replacing any selection, like typing.
void IncomingPanel::showIncoming(const QByteArray& bytes) {
    QPlainTextEdit* box = context_.ui.Text4;
    box->insertPlainText(incomingText_.show(bytes, box->textCursor().positionInBlock()));
    // The newest data stays in view, as it would after typing it.
    box->ensureCursorVisible();

    QTextDocument* document = box->document();
    const int excess = document->characterCount() - 1 - kIncomingKept;
    if (excess > kIncomingSlack) {
        QTextCursor oldest(document);
        oldest.setPosition(excess, QTextCursor::KeepAnchor);
        oldest.removeSelectedText();
    }
}

// Each poll shows only its own block.
void IncomingPanel::showPolled(const QByteArray& block) {
    context_.ui.Text4->setPlainText(sea_sun::blockText(block));
}
