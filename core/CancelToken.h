#pragma once
// A request to stop a running unit operation. Whoever may stop it (the transfer window's
// cancel button, the command-line tool) holds the token and calls cancel(); the link checks
// it at every wait and clears it when the next command starts.
#include <atomic>

class CancelToken {
public:
    void cancel() { m_cancelled.store(true); }
    // A cancel that clear() does not undo: the program itself is being stopped (the command
    // line's signal handler calls it; the atomics are lock-free, so that is safe there).
    void cancelForGood()
    {
        m_final.store(true);
        m_cancelled.store(true);
    }
    void clear()
    {
        if (!m_final.load())
            m_cancelled.store(false);
    }
    bool cancelled() const { return m_cancelled.load(); }

private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> m_cancelled {false};
    std::atomic<bool> m_final {false};
};
