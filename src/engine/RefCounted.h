// Intrusive reference counting: the object carries its own count, and the last
// counted reference to let go deletes it through the virtual destructor.
#pragma once

#include <cstddef>
#include <utility>

class RefCounted {
public:
    RefCounted() = default;
    // A copy is a new object: it starts without references.
    RefCounted(const RefCounted&) : m_refCount(0) {}
    RefCounted& operator=(const RefCounted&) { return *this; }
    virtual ~RefCounted() = default;

    void AddRef() const { ++m_refCount; }
    // Deletes the object when the last reference goes.
    void Release() const {
        if (--m_refCount == 0) delete this;
    }

private:
    mutable int m_refCount = 0;
};

// A counted reference to a RefCounted object; empty by default.
template <typename T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    RefPtr(T* p) : m_p(p) {
        if (m_p) m_p->AddRef();
    }
    RefPtr(const RefPtr& o) : RefPtr(o.m_p) {}
    RefPtr(RefPtr&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    template <typename U>
    RefPtr(const RefPtr<U>& o) : RefPtr(o.Get()) {}
    ~RefPtr() {
        if (m_p) m_p->Release();
    }

    RefPtr& operator=(RefPtr o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.m_p == b.m_p; }
    friend bool operator!=(const RefPtr& a, const RefPtr& b) { return a.m_p != b.m_p; }

private:
    T* m_p = nullptr;
};
