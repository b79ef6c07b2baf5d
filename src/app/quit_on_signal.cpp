#include "quit_on_signal.h"

#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalPipe[2] = {-1, -1};

// A signal handler may only write to a descriptor; the UI thread reads it through the event loop.
void onSignal(int sig) {
    const char byte = char(sig);
    [[maybe_unused]] ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}
} // namespace

void CloseOnTerminationSignals(QWidget &window) {
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        if (::read(g_signalPipe[0], &byte, 1) == 1)
            window.close();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}
