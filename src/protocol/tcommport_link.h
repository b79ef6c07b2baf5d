#pragma once
// Header-only bridge from the serial component to the command exchange, so that the
// protocol library itself does not link `serial`; include it where both are linked.
#include <QObject>

#include "TCommPort.h"
#include "comm_link.h"
#include "command_exchange.h"

class TCommPortLink : public CommLink {
public:
    explicit TCommPortLink(TCommPort &port) : m_port(port) {}
    int PutBlock(const uint8_t *data, int count) override {
        return count <= 0 ? 0 : static_cast<int>(m_port.PutBlock(data, static_cast<unsigned>(count)));
    }
    int GetBlock(uint8_t *data, int count) override {
        return count <= 0 ? 0 : static_cast<int>(m_port.GetBlock(data, static_cast<unsigned>(count)));
    }
    bool IsEnabled() const override { return m_port.IsEnabled(); }

private:
    TCommPort &m_port;
};

// Routes the port's data-received notification (delivered on the UI thread) into
// ComPortDataReceived. Returns the connection so the caller can drop it.
inline QMetaObject::Connection ConnectDataReceived(TCommPort &port, CommandExchange &exchange) {
    return QObject::connect(&port, &TCommPort::OnDataReceived, &exchange, [&exchange](TCommPort *, unsigned count) {
        exchange.ComPortDataReceived(static_cast<int>(count));
    });
}
