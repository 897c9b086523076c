#pragma once
// A request to stop a running unit operation. Whoever may stop it (the transfer window's
// cancel button, the command-line tool) holds the token and calls cancel(); the link checks
// it at every wait and clears it when the next command starts.
#include <atomic>

class CancelToken {
public:
    void cancel() { m_cancelled.store(true); }
    void clear() { m_cancelled.store(false); }
    bool cancelled() const { return m_cancelled.load(); }

private:
    std::atomic<bool> m_cancelled {false};
};
