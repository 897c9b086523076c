#include "sim/SimChannel.h"

#include "link/Waiter.h"

SimChannel::SimChannel() : m_own(std::make_unique<SimUnit>()), m_unit(m_own.get()), m_wire(*m_unit) { m_clock.start(); }

SimChannel::SimChannel(SimUnit& unit, Waiter* waiter) : m_unit(&unit), m_wire(unit), m_waiter(waiter)
{
    m_clock.start();
}

double SimChannel::now() const { return m_waiter ? double(m_waiter->now()) : m_clock.nsecsElapsed() / 1e6; }

bool SimChannel::open(const QString&, const QString& settings)
{
    m_wire.setSettings(settings);
    m_open = true;
    m_error.clear();
    return true;
}

bool SimChannel::isOpen() const
{
    if (m_open && m_unit->portVanished) {
        const_cast<SimChannel*>(this)->m_open = false;
        const_cast<SimChannel*>(this)->m_error = QStringLiteral("The device was removed.");
    }
    return m_open;
}

void SimChannel::discardInput() { m_wire.discardArrived(now()); }

int SimChannel::inBufferCount() { return isOpen() ? m_wire.available(now()) : 0; }

QByteArray SimChannel::readChar() { return isOpen() ? m_wire.take(1, now()) : QByteArray(); }

QByteArray SimChannel::readAll() { return isOpen() ? m_wire.take(-1, now()) : QByteArray(); }

void SimChannel::write(const QByteArray& data)
{
    if (isOpen())
        m_wire.toUnit(data, now());
}
