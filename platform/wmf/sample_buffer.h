// A sample buffer handed out by IWMWriter::AllocateSample, and the memory
// it is made of.
//
// Threads: a buffer belongs to the thread that allocated it until written.
// The pool is safe from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/wmf/wmsdk.h"

namespace wmf {

// Sample memory kept for the next sample. A writer asks for one frame-sized
// block per sample; a fresh block each time (1.4 MB for a 720p frame, 25
// times a second) is mapped, zeroed and faulted in anew, which costs more
// than the copy the caller makes into it.
class SampleMemoryPool {
public:
    struct Block {
        std::unique_ptr<BYTE[]> data;
        DWORD size = 0;
    };

    // A block of exactly `size` bytes, contents unspecified; empty when the
    // memory cannot be had.
    Block Take(DWORD size);
    // Keeps `block` for a later Take: a few frame-sized blocks.
    void Give(Block block);
    // A fresh block, as Take makes when it has none of that size.
    static Block NewBlock(DWORD size);

private:
    std::mutex m_lock;
    std::vector<Block> m_free;
};

class CSampleBuffer final : public INSSBuffer {
public:
    // Null when the memory cannot be had. With a pool, the memory comes from
    // it and goes back to it.
    static CSampleBuffer* Create(DWORD maxLength, std::shared_ptr<SampleMemoryPool> pool = nullptr);
    virtual ~CSampleBuffer();

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ZEV_COM_REFCOUNTING

    HRESULT GetLength(DWORD* pdwLength) override;
    // E_INVALIDARG beyond the allocated size.
    HRESULT SetLength(DWORD dwLength) override;
    HRESULT GetMaxLength(DWORD* pdwLength) override;
    HRESULT GetBuffer(BYTE** ppdwBuffer) override;
    HRESULT GetBufferAndLength(BYTE** ppdwBuffer, DWORD* pdwLength) override;

private:
    CSampleBuffer() = default;

    ComRefCount m_ref;
    std::shared_ptr<SampleMemoryPool> m_pool;
    SampleMemoryPool::Block m_block;
    DWORD m_length = 0;
};

}  // namespace wmf
