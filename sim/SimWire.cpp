#include "sim/SimWire.h"

#include <QStringList>
#include <algorithm>

SimWire::SimWire(SimUnit& unit) : m_unit(unit)
{
    m_unit.send = [this](const QByteArray& bytes, double t) {
        double at = std::max(t + latencyMs, m_rxFree);
        for (char c : bytes) {
            at += m_charMs;
            m_in.emplace_back(at, c);
        }
        m_rxFree = at;
    };
}

SimWire::~SimWire() { m_unit.send = nullptr; }

double SimWire::charMsFor(const QString& settings)
{
    const QStringList p = settings.split(',');
    const int baud = p.value(0).trimmed().toInt();
    if (baud <= 0)
        return 10.0 / 9.6;
    const int data = p.size() > 2 ? p[2].trimmed().toInt() : 8;
    const bool parity = p.size() > 1 && p[1].trimmed().toUpper() != "N";
    const double stop = p.size() > 3 ? p[3].trimmed().replace(',', '.').toDouble() : 1.0;
    const double bits = 1 + (data > 0 ? data : 8) + (parity ? 1 : 0) + (stop > 0 ? stop : 1.0);
    return bits * 1000.0 / baud;
}

void SimWire::setSettings(const QString& settings) { m_charMs = charMsFor(settings); }

void SimWire::toUnit(const QByteArray& bytes, double now)
{
    bool idle = now > m_txFree;
    double at = std::max(now, m_txFree);
    for (char c : bytes) {
        at += m_charMs;
        m_unit.feed(c, at, idle);
        idle = false;
    }
    m_txFree = at;
}

int SimWire::available(double now) const
{
    int n = 0;
    for (const auto& e : m_in) {
        if (e.first > now)
            break;
        ++n;
    }
    return n;
}

QByteArray SimWire::take(int max, double now)
{
    QByteArray r;
    while (!m_in.empty() && m_in.front().first <= now && (max < 0 || r.size() < max)) {
        r.append(m_in.front().second);
        m_in.pop_front();
    }
    return r;
}

void SimWire::discardArrived(double now) { take(-1, now); }
