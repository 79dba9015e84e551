#include "ui/termination_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <iterator>

namespace {

// The writing end, for the handler; -1 while no object lives.
volatile sig_atomic_t g_writeFd = -1;

void OnTerminationSignal(int signal) {
    const int saved = errno;
    const auto number = static_cast<unsigned char>(signal);
    if (g_writeFd >= 0) {
        // A full socket drops the byte: one that is already queued does.
        [[maybe_unused]] const ssize_t n = write(g_writeFd, &number, 1);
    }
    errno = saved;
}

}  // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0) return;
    g_writeFd = m_fds[0];
    m_pNotifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the second one takes the default action.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &m_previous[i]);
}

CTerminationSignals::~CTerminationSignals() {
    if (!m_pNotifier) return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeFd = -1;
    delete m_pNotifier;
    close(m_fds[0]);
    close(m_fds[1]);
}

void CTerminationSignals::Drain() {
    unsigned char numbers[16];
    ssize_t n;
    while ((n = read(m_fds[1], numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < n; ++i) emit Received(numbers[i]);
}
