#pragma once

#include <QColor>
#include <QWidget>

// The send lamp: a small circle filled with one solid colour.
class SendLamp : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kIdle{192, 192, 192};
    static inline const QColor kLit{0, 192, 0};

    explicit SendLamp(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = kIdle;
};
