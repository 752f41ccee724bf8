// Double-checked creation and destruction of the library's singletons under
// ACE's process-wide static object lock.
//
// The instance pointers are plain T* (callers read the exported ones), so
// they are published through the atomic builtins: an unlocked read sees
// either null or a completely constructed object.
#pragma once

#include <ace/OS_NS_Thread.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Static_Object_Lock.h>

namespace qx {

// Holds ACE's static object lock for one scope, if it could be taken. The
// lock is recursive: a destructor run under it may take it again.
class StaticObjectLockHold {
public:
    StaticObjectLockHold()
        : m_pMutex(&ACE_Static_Object_Lock::instance()->lock()),
          m_bLocked(ACE_OS::mutex_lock(m_pMutex) != -1) {}
    ~StaticObjectLockHold() {
        if (m_bLocked) {
            ACE_OS::mutex_unlock(m_pMutex);
        }
    }
    StaticObjectLockHold(const StaticObjectLockHold&) = delete;
    StaticObjectLockHold& operator=(const StaticObjectLockHold&) = delete;

    bool locked() const { return m_bLocked; }

private:
    ACE_recursive_thread_mutex_t* m_pMutex;
    bool m_bLocked;
};

template <typename T>
T* LoadInstance(T* const& slot) {
    return __atomic_load_n(&slot, __ATOMIC_ACQUIRE);
}

// The locked half of GetOrCreateInstance. Kept out of line so that the
// unlocked read before it compiles to a load and a test, with no frame.
template <typename T, typename Create>
[[gnu::noinline]] T* CreateInstanceUnderLock(T*& slot, Create create) {
    StaticObjectLockHold hold;
    if (!hold.locked()) {
        return nullptr;
    }
    T* current = __atomic_load_n(&slot, __ATOMIC_RELAXED);
    if (current == nullptr) {
        current = create();
        __atomic_store_n(&slot, current, __ATOMIC_RELEASE);
    }
    return current;
}

// Returns the instance, creating it with `create()` (which returns a new T*)
// if there is none. Null only when the lock cannot be taken. If `create`
// throws, the slot stays null, the lock is released and the exception passes.
template <typename T, typename Create>
T* GetOrCreateInstance(T*& slot, Create create) {
    if (T* existing = LoadInstance(slot)) {
        return existing;
    }
    return CreateInstanceUnderLock(slot, create);
}

template <typename T>
T* GetOrCreateInstance(T*& slot) {
    return GetOrCreateInstance(slot, [] { return new T; });
}

// Destroys the instance, if any, with `destroy(T*)`, then clears the slot.
// Does nothing when the lock cannot be taken.
template <typename T, typename DestroyFn>
void DestroyInstance(T*& slot, DestroyFn destroy) {
    if (LoadInstance(slot) == nullptr) {
        return;
    }
    StaticObjectLockHold hold;
    if (!hold.locked()) {
        return;
    }
    if (T* current = __atomic_load_n(&slot, __ATOMIC_RELAXED)) {
        destroy(current);
        __atomic_store_n(&slot, static_cast<T*>(nullptr), __ATOMIC_RELEASE);
    }
}

template <typename T>
void DestroyInstance(T*& slot) {
    DestroyInstance(slot, [](T* p) { delete p; });
}

}  // namespace qx
