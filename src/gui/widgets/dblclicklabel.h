// A label that reports double clicks (the base and angle indicators).
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace tallix::gui {

class TDblClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) Q_EMIT doubleClicked();
        QLabel::mouseDoubleClickEvent(event);
    }
};

} // namespace tallix::gui
