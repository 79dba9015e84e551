// Trace lines never hold up the thread that writes them.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>

#include "platform/win/trace.h"

namespace {

// Standard output as a pipe that nobody reads, for the life of the object.
class UnreadStdout {
public:
    UnreadStdout() {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        if (pipe(m_pipe) != 0) return;
        dup2(m_pipe[1], STDOUT_FILENO);
        SetTraceEnabled(true);
    }
    ~UnreadStdout() {
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        close(m_pipe[0]);
        close(m_pipe[1]);
        SetTraceEnabled(true);
    }
    int ReadEnd() const { return m_pipe[0]; }

private:
    int m_saved = -1;
    int m_pipe[2] = {-1, -1};
};

}  // namespace

// A full pipe drops lines at once, while the descriptor the process shares
// with its shell stays blocking; once there is room, lines get through again
// whole.
TEST(Trace, AFullPipeDropsLinesWithoutWaiting) {
    bool returned = false;
    bool stdoutBlocking = false;
    std::string after;
    {
        UnreadStdout out;
        auto writer = std::async(std::launch::async, [] {
            const std::string line(100, 'x');
            // Far more than a pipe holds (64 KiB).
            for (int i = 0; i < 20000; ++i) TraceFormat("%s %d\n", line.c_str(), i);
        });
        returned = writer.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
        stdoutBlocking = (fcntl(STDOUT_FILENO, F_GETFL) & O_NONBLOCK) == 0;

        // Empty the pipe (which also frees a writer that waited); the next
        // line arrives as written.
        fcntl(out.ReadEnd(), F_SETFL, O_NONBLOCK);
        char buf[4096];
        while (!returned &&
               writer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
            while (read(out.ReadEnd(), buf, sizeof buf) > 0) {
            }
        while (read(out.ReadEnd(), buf, sizeof buf) > 0) {
        }
        TraceText("after\n");
        const ssize_t n = read(out.ReadEnd(), buf, sizeof buf);
        if (n > 0) after.assign(buf, static_cast<size_t>(n));
    }
    EXPECT_TRUE(returned) << "a trace line waited for the reader";
    EXPECT_TRUE(stdoutBlocking);
    EXPECT_EQ(after, "after\n");
}

TEST(Trace, NothingIsWrittenWhenTurnedOff) {
    std::string got;
    {
        UnreadStdout out;
        SetTraceEnabled(false);
        TraceText("hidden\n");
        SetTraceEnabled(true);
        TraceText("shown\n");
        char buf[64];
        const ssize_t n = read(out.ReadEnd(), buf, sizeof buf);
        if (n > 0) got.assign(buf, static_cast<size_t>(n));
    }
    EXPECT_EQ(got, "shown\n");
}
