#include "link/Waiter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QThread>
#include <QTimer>
#include <algorithm>

EventLoopWaiter::EventLoopWaiter() : m_start(QDateTime::currentMSecsSinceEpoch()) {}

bool EventLoopWaiter::wait(int ms, const std::function<bool()>& stop)
{
    if (stop && stop())
        return false;
    if (ms <= 0)
        return true;
    QElapsedTimer t;
    t.start();
    QEventLoop loop;
    // The deadline on a precise timer, the stop condition checked every millisecond.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if ((stop && stop()) || t.elapsed() >= ms)
            loop.quit();
    });
    deadline.start(ms);
    if (stop)
        tick.start();
    loop.exec();
    return !(stop && stop()) && t.elapsed() >= ms;
}

void EventLoopWaiter::yield() { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }

qint64 EventLoopWaiter::now() const { return QDateTime::currentMSecsSinceEpoch() - m_start; }

void VirtualWaiter::advance(qint64 ms)
{
    const qint64 end = m_now + ms;
    for (;;) {
        auto it
            = std::min_element(m_jobs.begin(), m_jobs.end(), [](const Job& a, const Job& b) { return a.at < b.at; });
        if (it == m_jobs.end() || it->at > end)
            break;
        m_now = std::max(m_now, it->at);
        auto fn = std::move(it->fn);
        m_jobs.erase(it);
        fn();
    }
    m_now = end;
}

bool VirtualWaiter::wait(int ms, const std::function<bool()>& stop)
{
    // Steps of 1 ms keep the early stop exact to the millisecond.
    for (int i = 0; i < ms; ++i) {
        if (stop && stop())
            return false;
        advance(1);
    }
    return !(stop && stop());
}

void VirtualWaiter::schedule(qint64 at, std::function<void()> fn) { m_jobs.append(Job {at, std::move(fn)}); }
