#include "platform/win/trace.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace {

enum class Route { Unopened, Write, Send, PollFirst, Nowhere };

// Room for the usual line; a longer one is formatted on the heap.
constexpr size_t kLineBytes = 512;
constexpr int kFirstPrivateFd = 3;

class TraceOutput {
public:
    void Reopen() {
        std::lock_guard<std::mutex> hold(m_lock);
        Open();
    }

    void Write(const char* text, size_t bytes) {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_route == Route::Unopened) Open();
        switch (m_route) {
            case Route::Write:
                // Non-blocking or a regular file: a full pipe refuses at once.
                (void)!write(m_fd, text, bytes);
                break;
            case Route::Send:
                (void)!send(m_fd, text, bytes, MSG_DONTWAIT | MSG_NOSIGNAL);
                break;
            case Route::PollFirst: {
                pollfd p{m_fd, POLLOUT, 0};
                if (poll(&p, 1, 0) == 1 && (p.revents & POLLOUT)) (void)!write(m_fd, text, bytes);
                break;
            }
            case Route::Unopened:
            case Route::Nowhere:
                break;
        }
    }

private:
    void Close() {
        if (m_fd >= 0) close(m_fd);
        m_fd = -1;
        m_route = Route::Unopened;
    }

    void Open() {
        Close();
        m_route = Route::Nowhere;
        struct stat st {};
        if (fstat(STDOUT_FILENO, &st) != 0) return;
        if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode) || S_ISSOCK(st.st_mode)) {
            m_fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, kFirstPrivateFd);
            if (m_fd >= 0) m_route = S_ISSOCK(st.st_mode) ? Route::Send : Route::Write;
            return;
        }
        // A pipe, a terminal, a device: a file description of our own, so
        // that non-blocking mode is ours alone.
        m_fd = open("/proc/self/fd/1", O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (m_fd >= 0) {
            m_route = Route::Write;
            return;
        }
        m_fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, kFirstPrivateFd);
        if (m_fd >= 0) m_route = Route::PollFirst;
    }

    std::mutex m_lock;
    int m_fd = -1;
    Route m_route = Route::Unopened;
};

std::atomic<bool> g_enabled{true};

// Never destroyed: a streaming thread may still trace while the process
// exits.
TraceOutput& Output() {
    static TraceOutput* output = new TraceOutput;
    return *output;
}

}  // namespace

void SetTraceEnabled(bool on) {
    g_enabled.store(on, std::memory_order_relaxed);
    if (on) Output().Reopen();
}

bool TraceEnabled() {
    return g_enabled.load(std::memory_order_relaxed);
}

void TraceText(const char* text) {
    if (!text || !TraceEnabled()) return;
    const size_t bytes = std::strlen(text);
    if (bytes) Output().Write(text, bytes);
}

void TraceFormatV(const char* fmt, va_list args) {
    if (!fmt || !TraceEnabled()) return;
    char line[kLineBytes];
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(line, sizeof line, fmt, args);
    if (needed > 0 && static_cast<size_t>(needed) < sizeof line) {
        Output().Write(line, static_cast<size_t>(needed));
    } else if (needed > 0) {
        std::string longer(static_cast<size_t>(needed) + 1, '\0');
        std::vsnprintf(longer.data(), longer.size(), fmt, again);
        Output().Write(longer.data(), static_cast<size_t>(needed));
    }
    va_end(again);
}

void TraceFormat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    TraceFormatV(fmt, args);
    va_end(args);
}
