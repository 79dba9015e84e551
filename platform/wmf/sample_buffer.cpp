#include "platform/wmf/sample_buffer.h"

#include <algorithm>
#include <new>

namespace wmf {
namespace {
// Blocks kept between samples: one in the caller's hands, one being written,
// and spares for a change of size.
constexpr size_t kKeptBlocks = 4;
// Smaller blocks (audio) come cheaply from the heap; keeping them would
// only push the frames out.
constexpr DWORD kKeptMinBytes = 64 * 1024;
}  // namespace

SampleMemoryPool::Block SampleMemoryPool::Take(DWORD size) {
    {
        std::lock_guard<std::mutex> g(m_lock);
        auto it = std::find_if(m_free.begin(), m_free.end(),
                               [size](const Block& b) { return b.size == size; });
        if (it != m_free.end()) {
            Block b = std::move(*it);
            m_free.erase(it);
            return b;
        }
    }
    return NewBlock(size);
}

SampleMemoryPool::Block SampleMemoryPool::NewBlock(DWORD size) {
    Block b;
    // Not value-initialised: zeroing what the caller overwrites is the cost
    // this pool exists to avoid.
    b.data.reset(new (std::nothrow) BYTE[size == 0 ? 1 : size]);
    if (b.data) b.size = size;
    return b;
}

void SampleMemoryPool::Give(Block block) {
    if (!block.data || block.size < kKeptMinBytes) return;
    std::lock_guard<std::mutex> g(m_lock);
    // The oldest goes first: a stream whose size changed leaves its blocks
    // behind.
    if (m_free.size() >= kKeptBlocks) m_free.erase(m_free.begin());
    m_free.push_back(std::move(block));
}

CSampleBuffer* CSampleBuffer::Create(DWORD maxLength, std::shared_ptr<SampleMemoryPool> pool) {
    auto* buffer = new (std::nothrow) CSampleBuffer();
    if (!buffer) return nullptr;
    buffer->m_block = pool ? pool->Take(maxLength) : SampleMemoryPool::NewBlock(maxLength);
    if (!buffer->m_block.data) {
        delete buffer;
        return nullptr;
    }
    buffer->m_pool = std::move(pool);
    buffer->m_length = maxLength;
    return buffer;
}

CSampleBuffer::~CSampleBuffer() {
    if (m_pool) m_pool->Give(std::move(m_block));
}

HRESULT CSampleBuffer::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_INSSBuffer) return ComAnswer<INSSBuffer>(this, ppv);
    return E_NOINTERFACE;
}

HRESULT CSampleBuffer::GetLength(DWORD* pdwLength) {
    if (!pdwLength) return E_POINTER;
    *pdwLength = m_length;
    return S_OK;
}

HRESULT CSampleBuffer::SetLength(DWORD dwLength) {
    if (dwLength > m_block.size) return E_INVALIDARG;
    m_length = dwLength;
    return S_OK;
}

HRESULT CSampleBuffer::GetMaxLength(DWORD* pdwLength) {
    if (!pdwLength) return E_POINTER;
    *pdwLength = m_block.size;
    return S_OK;
}

HRESULT CSampleBuffer::GetBuffer(BYTE** ppdwBuffer) {
    if (!ppdwBuffer) return E_POINTER;
    *ppdwBuffer = m_block.data.get();
    return S_OK;
}

HRESULT CSampleBuffer::GetBufferAndLength(BYTE** ppdwBuffer, DWORD* pdwLength) {
    if (!ppdwBuffer || !pdwLength) return E_POINTER;
    *ppdwBuffer = m_block.data.get();
    *pdwLength = m_length;
    return S_OK;
}

}  // namespace wmf
