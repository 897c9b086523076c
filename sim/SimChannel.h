#pragma once
#include "link/Channel.h"

// The built-in simulated unit as a channel. (The unit's side of the protocol is not in
// yet: it accepts the port and answers nothing.)
class SimChannel : public Channel {
public:
    bool open(const QString&, const QString&) override { m_open = true; return true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void discardInput() override {}
    void discardOutput() override {}
    int inBufferCount() override { return 0; }
    QByteArray readChar() override { return {}; }
    QByteArray readAll() override { return {}; }
    void write(const QByteArray&) override {}
    QString errorString() const override { return {}; }
    bool isSimulated() const override { return true; }
private:
    bool m_open = false;
};
