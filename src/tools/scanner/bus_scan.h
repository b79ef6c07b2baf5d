#pragma once
// The bus scan: one "SERVICE" probe per tick, sent once, to the low 8 bits of a counter
// that runs from the start address to the stop address. Devices that answer are listed
// by the reply dispatcher; one that stays silent leaves no trace, so nothing here waits.
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

class CommandExchange;

// A whole decimal number as the range edits hold it: optional sign and digits, within
// 32 bits, blanks around allowed. Anything else is no number.
std::optional<int32_t> ReadWholeNumber(const QString &text);
// The message the user sees when a range text is no whole number.
QString NotAWholeNumber(const QString &text);

class BusScan : public QObject {
    Q_OBJECT
public:
    // `stopText` is asked at every tick: the user may move the end while the scan runs.
    BusScan(CommandExchange &exchange, int intervalMs, std::function<QString()> stopText, QObject *parent = nullptr);

    // bbStart: false and `error` set (nothing started) when a text is no whole number.
    bool Start(const QString &startText, const QString &stopText, QString &error);
    // bbStop, the end of a scan and closing the window: the timer stops, the counter stays.
    void Stop();
    bool IsRunning() const { return tmScan.isActive(); }
    int32_t ScanAddress() const { return m_scanAddress; }
    int32_t StopAddress() const { return m_stopAddress; }

signals:
    // Every probe, before it is sent: the counter as the user sees it (lbAddr).
    void probing(int32_t scanAddress);
    // The stop address itself was probed; the scan has already stopped.
    void finished();

private slots:
    void tmScanTimer();

private:
    CommandExchange &m_exchange;
    std::function<QString()> m_stopText;
    QTimer tmScan;
    int32_t m_scanAddress = 0;
    int32_t m_stopAddress = 0;
};
