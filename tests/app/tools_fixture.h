#pragma once
// The scanner and voltage windows of the whole program against the simulated network:
// their controls by name, the requests the devices heard, and a file manager stand-in.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

#include "file_manager_api.h"
#include "network_fixture.h"

// Records what the scanner asks of the file manager.
class FakeFileManager : public FileManagerApi {
public:
    void OpenForDevice(uint8_t address) override { opened.push_back(address); }
    void ShowFileManager() override {}
    void ClearLog() override {}
    void LogFileLine(const QString &) override {}
    void SetDeviceAddress(uint8_t) override {}
    void StartUpload(const QString &, const QString &) override {}
    std::vector<int> opened;
};

class ToolsFixture : public NetworkFixture {
protected:
    QWidget *tool(const char *window) { return find<QWidget>(window); }
    template <class T> T *control(const char *window, const char *name) {
        T *w = tool(window)->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << window << "." << name;
        return w;
    }
    QString text(const char *window, const char *box) { return control<QLineEdit>(window, box)->text(); }
    void type(const char *window, const char *box, const QString &t) { control<QLineEdit>(window, box)->setText(t); }
    void pressIn(const char *window, const char *button) {
        QPushButton *b = control<QPushButton>(window, button);
        ASSERT_TRUE(b->isEnabled()) << window << "." << button;
        b->click();
    }
    QStringList scanLines() {
        QStringList out;
        auto *list = control<QListWidget>("TfrScan", "lbScan");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    // The requests `word` the devices heard, as "address word" in order ("238 ELWLVOLTS").
    std::vector<std::string> heardRequests(const std::string &word) const {
        std::vector<std::string> out;
        for (const Heard &h : heard()) {
            // "-> 250 from 254 GETSETTING"
            const size_t to = h.text.find("-> ") + 3;
            const size_t from = h.text.find(" from ");
            const size_t cmd = h.text.find(' ', from + 6);
            if (from == std::string::npos || cmd == std::string::npos)
                continue;
            const std::string request = h.text.substr(cmd + 1);
            if (request.rfind(word, 0) == 0)
                out.push_back(h.text.substr(to, from - to) + " " + request);
        }
        return out;
    }
    std::string serviceText(uint8_t adr) {
        return withNetwork([adr](SimNetwork &n) { return n.serviceText(adr); });
    }
    QString scanLine(uint8_t adr) {
        return QString("Адрес:%1 Устройство:").arg(adr) + QString::fromStdString(serviceText(adr));
    }
    // Waits for `n` more requests of `word` than there were.
    bool waitHeard(const std::string &word, size_t n, int timeoutMs) {
        return waitFor([&] { return heardRequests(word).size() >= n; }, timeoutMs);
    }
};
