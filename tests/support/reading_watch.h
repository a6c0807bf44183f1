#pragma once

#include <QLabel>
#include <QLayout>
#include <functional>
#include <utility>

namespace test_support {

// Hears every change of a label's text the moment it happens, however many readings one
// notification brings: a label tells its parent's layout whenever its text changes, so an empty
// layout on the parent hears them all. The parent must have no layout of its own (the window's
// frames place their children by geometry), and this one places nothing and sets no size.
class ReadingWatch : public QLayout {
public:
    ReadingWatch(QLabel* label, std::function<void(const QString& text)> changed)
        : QLayout(label->parentWidget()), label_(label), changed_(std::move(changed)) {
        setSizeConstraint(QLayout::SetNoConstraint);
    }

    void invalidate() override {
        QLayout::invalidate();
        if (label_->text() != shown_) {
            shown_ = label_->text();
            changed_(shown_);
        }
    }
    void addItem(QLayoutItem*) override {}
    QLayoutItem* itemAt(int) const override { return nullptr; }
    QLayoutItem* takeAt(int) override { return nullptr; }
    int count() const override { return 0; }
    QSize sizeHint() const override { return {}; }
    void setGeometry(const QRect&) override {}

private:
    QLabel* label_;
    std::function<void(const QString& text)> changed_;
    QString shown_ = label_->text();
};

}  // namespace test_support
