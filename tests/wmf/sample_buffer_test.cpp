// The writer's sample buffers: frame-sized memory is reused from one sample
// to the next, and a buffer may outlive the writer that made it.
#include <gtest/gtest.h>

#include <cstring>

#include "wmf_tools.h"

TEST(SampleBuffers, FrameMemoryIsReusedAndABufferMayOutliveItsWriter) {
    ComPtr<IWMWriter> w;
    ASSERT_EQ(S_OK, WMCreateWriter(nullptr, w.Put()));
    constexpr DWORD kFrame = 1280 * 720 * 3 / 2;

    BYTE* first = nullptr;
    {
        ComPtr<INSSBuffer> s;
        ASSERT_EQ(S_OK, w->AllocateSample(kFrame, s.Put()));
        ASSERT_EQ(S_OK, s->GetBuffer(&first));
        DWORD max = 0;
        EXPECT_EQ(S_OK, s->GetMaxLength(&max));
        EXPECT_EQ(max, kFrame);
        EXPECT_EQ(s->SetLength(kFrame + 1), E_INVALIDARG);
        std::memset(first, 0x5a, kFrame);  // all of it is writable
    }
    // The next frame of the same size lands in the same memory; one of
    // another size, while that is held, does not.
    ComPtr<INSSBuffer> again, other;
    ASSERT_EQ(S_OK, w->AllocateSample(kFrame, again.Put()));
    BYTE* p = nullptr;
    again->GetBuffer(&p);
    EXPECT_EQ(p, first);
    ASSERT_EQ(S_OK, w->AllocateSample(kFrame / 2, other.Put()));
    other->GetBuffer(&p);
    EXPECT_NE(p, first);
    DWORD length = 0;
    EXPECT_EQ(S_OK, other->GetLength(&length));
    EXPECT_EQ(length, kFrame / 2);

    // The writer goes first; its buffers stay usable and are freed last.
    w.Reset();
    again->GetBuffer(&p);
    std::memset(p, 0xa5, kFrame);
    again.Reset();
    other.Reset();
}
