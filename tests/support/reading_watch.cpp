#include "support/reading_watch.h"

#include <utility>

namespace test_support {

ReadingWatch::ReadingWatch(QLabel* label, Changed changed)
    : QLayout(label->parentWidget()),
      label_(label),
      changed_(std::move(changed)),
      shown_(label->text()) {
    setSizeConstraint(QLayout::SetNoConstraint);
}

void ReadingWatch::invalidate() {
    QLayout::invalidate();
    if (label_->text() != shown_) {
        shown_ = label_->text();
        changed_(shown_);
    }
}

}  // namespace test_support
