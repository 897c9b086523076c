#pragma once
// The link's waits: "wait N ms, stop early when this condition holds".
// In the program it spins a local event loop; in tests a virtual clock advances instead,
// so minutes of protocol time run in milliseconds.
#include <QList>
#include <QtGlobal>
#include <functional>

class Waiter {
public:
    virtual ~Waiter() = default;
    // Waits ms milliseconds or until stop() returns true (checked between small steps).
    // Returns true when the full time elapsed, false when stopped early.
    virtual bool wait(int ms, const std::function<bool()>& stop = {}) = 0;
    // Lets pending events run once (no time passes on a virtual clock).
    virtual void yield() {}
    // Milliseconds since an arbitrary start.
    virtual qint64 now() const = 0;
};

// Real time: a local event loop with a timer, so the window stays responsive.
class EventLoopWaiter : public Waiter {
public:
    EventLoopWaiter();
    bool wait(int ms, const std::function<bool()>& stop = {}) override;
    void yield() override;
    qint64 now() const override;

private:
    qint64 m_start;
};

// Virtual time for tests and simulations: wait() advances the clock and runs the
// callbacks scheduled up to the new time (the simulated unit delivers its replies that way).
class VirtualWaiter : public Waiter {
public:
    bool wait(int ms, const std::function<bool()>& stop = {}) override;
    qint64 now() const override { return m_now; }
    // Runs fn once the clock reaches at (ms).
    void schedule(qint64 at, std::function<void()> fn);
    void advance(qint64 ms);

private:
    struct Job {
        qint64 at;
        std::function<void()> fn;
    };
    qint64 m_now = 0;
    QList<Job> m_jobs;
};
