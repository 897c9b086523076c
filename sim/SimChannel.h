#pragma once
// The built-in simulated unit as a channel. Replies arrive after their wire time at the
// line rate, on the Waiter's clock when one is given (virtual in tests), else real time.
#include "link/Channel.h"
#include "sim/SimUnit.h"
#include "sim/SimWire.h"

#include <QElapsedTimer>
#include <memory>

class Waiter;

class SimChannel : public Channel {
public:
    SimChannel(); // owns its unit, real time
    SimChannel(SimUnit& unit, Waiter* waiter); // a unit owned by the caller
    bool open(const QString& port, const QString& settings) override;
    void close() override { m_open = false; }
    bool isOpen() const override;
    void discardInput() override;
    void discardOutput() override {}
    int inBufferCount() override;
    QByteArray readChar() override;
    QByteArray readAll() override;
    void write(const QByteArray& data) override;
    QString errorString() const override { return m_error; }
    bool isSimulated() const override { return true; }

    SimUnit& unit() { return *m_unit; }
    SimWire& wire() { return m_wire; }
    void setWaiter(Waiter* w) { m_waiter = w; }

private:
    double now() const;
    std::unique_ptr<SimUnit> m_own;
    SimUnit* m_unit;
    SimWire m_wire;
    Waiter* m_waiter = nullptr;
    QElapsedTimer m_clock;
    bool m_open = false;
    QString m_error;
};
