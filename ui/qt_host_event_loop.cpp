#include "ui/qt_host_event_loop.h"

#include <poll.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <vector>

namespace {

// A descriptor that is readable already wins without entering the loop.
int FirstReadable(const int* fds, int count) {
    std::vector<pollfd> p(count);
    for (int i = 0; i < count; ++i) p[i] = pollfd{fds[i], POLLIN, 0};
    if (poll(p.data(), count, 0) <= 0) return -1;
    for (int i = 0; i < count; ++i)
        if (p[i].revents & (POLLIN | POLLERR | POLLHUP)) return i;
    return -1;
}

}  // namespace

int CQtHostEventLoop::RunUntilReadable(const int* fds, int count, DWORD timeoutMs) {
    if (const int ready = FirstReadable(fds, count); ready >= 0) return ready;
    QEventLoop loop;
    int result = -1;
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers;
    notifiers.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto notifier = std::make_unique<QSocketNotifier>(fds[i], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, &loop, [&loop, &result, i] {
            if (result < 0) result = i;
            loop.quit();
        });
        notifiers.push_back(std::move(notifier));
    }
    QTimer timeout;
    if (timeoutMs != INFINITE) {
        timeout.setSingleShot(true);
        timeout.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeout.start(static_cast<int>(timeoutMs));
    }
    loop.exec();
    return result;
}
