// Turns the signals that ask a program to stop (SIGTERM, SIGINT, SIGHUP)
// into a Qt signal delivered on the user-interface thread, so that the
// window can save its state before the program ends.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace tallix::gui {

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

Q_SIGNALS:
    void stopRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tallix::gui
