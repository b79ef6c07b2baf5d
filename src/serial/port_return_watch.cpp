#include "port_return_watch.h"

#include "TCommPort.h"
#include "app_paths.h"
#include "port_names.h"

#include <filesystem>
#include <system_error>

PortReturnWatch::PortReturnWatch(TCommPort &port, int intervalMs, QObject *parent) : QObject(parent), m_port(port) {
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &PortReturnWatch::check);
}

void PortReturnWatch::Start() {
    m_comNumber = m_port.ComNumber();
    if (m_comNumber >= 1 && !m_port.Open())
        m_timer.start();
}

void PortReturnWatch::Stop() {
    m_timer.stop();
}

void PortReturnWatch::check() {
    // Opened by a command meanwhile, or moved to another number: the watch has done its job.
    if (m_port.Open() || m_port.ComNumber() != m_comNumber) {
        Stop();
        return;
    }
    // The link is read again each time: a device that comes back under a new name behind
    // the same COM link (a restarted simulator's new pseudo-terminal) is followed.
    const std::string path = ComDevicePath(m_comNumber, PortsDir());
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec))
        return;
    // Present but not yet openable (udev still setting its rights): quietly try again later.
    m_port.SetOpen(true);
    if (!m_port.Open())
        return;
    Stop();
    emit reopened();
}
