#pragma once
// The serial line between the tool and the simulated unit: every character takes its
// wire time at the line rate in each direction, the unit sees a character when it has
// fully arrived, and the tool sees the unit's replies character by character.
#include "sim/SimUnit.h"

#include <QString>
#include <deque>

class SimWire {
public:
    explicit SimWire(SimUnit& unit);
    ~SimWire();
    // "9600,N,8,1": sets the time of one character.
    void setSettings(const QString& settings);
    double charMs() const { return m_charMs; }
    static double charMsFor(const QString& settings);

    // The tool writes bytes at time now (ms).
    void toUnit(const QByteArray& bytes, double now);
    // Characters from the unit that have arrived by now.
    int available(double now) const;
    QByteArray take(int max, double now);
    void discardArrived(double now);
    // Time the next character from the unit arrives (or -1).
    double nextArrival() const { return m_in.empty() ? -1 : m_in.front().first; }
    SimUnit& unit() { return m_unit; }
    double latencyMs = 1.0; // the unit's reaction time before a reply starts

private:
    SimUnit& m_unit;
    double m_charMs = 10.0 / 9.6;
    double m_txFree = 0, m_rxFree = 0;
    std::deque<std::pair<double, char>> m_in;
};
