#pragma once
// After a port closed itself because its device vanished (an adapter pulled, a simulator
// killed), watches for its COM link or device path to come back and reopens the port.
// One stat of the path per interval (a second in the program): no busy polling, and
// nothing at all while the port is open.
#include <QObject>
#include <QTimer>

class TCommPort;

class PortReturnWatch : public QObject {
    Q_OBJECT
public:
    PortReturnWatch(TCommPort &port, int intervalMs, QObject *parent = nullptr);

    // Starts watching for the port's current COM number.
    void Start();
    // The user chose otherwise (another number, a manual open): nothing to bring back.
    void Stop();
    bool Watching() const { return m_timer.isActive(); }

signals:
    // The device is back and the port open again.
    void reopened();

private:
    void check();

    TCommPort &m_port;
    QTimer m_timer;
    int m_comNumber = -1;
};
