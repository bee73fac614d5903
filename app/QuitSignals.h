#pragma once

#include <QObject>

class QSocketNotifier;

namespace markvane {

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread. The handler
// only writes the signal number into a socket pair; everything else happens
// when the event loop reads it. One instance a process.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    // False when the socket pair or the handlers could not be set up.
    bool isActive() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace markvane
