// An enumerator over a snapshot of items (IEnumPins, IEnumFilters): Next
// hands out each item with one reference, and the snapshot holds one on
// every item while the enumerator lives, so the graph may change meanwhile.
#pragma once

#include <utility>
#include <vector>

#include "platform/win/com.h"

namespace zev::dshow {

template <class Enum, class Item>
class ComEnumerator final : public Enum {
public:
    explicit ComEnumerator(std::vector<ComPtr<Item>> items) : m_items(std::move(items)) {}
    virtual ~ComEnumerator() = default;

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == Enum::iid) return ComAnswer<Enum>(this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ZEV_COM_REFCOUNTING

    HRESULT Next(ULONG count, Item** items, ULONG* fetched) override {
        if (!items) return E_POINTER;
        ULONG n = 0;
        while (n < count && m_next < m_items.size()) {
            items[n] = m_items[m_next++].Get();
            items[n]->AddRef();
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        m_next += count;
        if (m_next > m_items.size()) {
            m_next = m_items.size();
            return S_FALSE;
        }
        return S_OK;
    }
    HRESULT Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    ComRefCount m_ref;
    std::vector<ComPtr<Item>> m_items;
    size_t m_next = 0;
};

}  // namespace zev::dshow
