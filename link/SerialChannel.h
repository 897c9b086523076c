#pragma once
#include "link/Channel.h"

#include <QSerialPort>

class ProgramContext;

// A real serial port through Qt Serial Port.
class SerialChannel : public Channel {
public:
    // context: the language of the reasons a port cannot be opened.
    explicit SerialChannel(const ProgramContext& context) : m_context(context) {}
    bool open(const QString& port, const QString& settings) override;
    void close() override;
    bool isOpen() const override
    {
        const_cast<SerialChannel*>(this)->poll();
        return m_port.isOpen();
    }
    void discardInput() override;
    void discardOutput() override;
    int inBufferCount() override;
    QByteArray readChar() override;
    QByteArray readAll() override;
    void write(const QByteArray& data) override;
    QString errorString() const override { return m_error; }
    bool lastErrorWasBusy() const override { return m_busy; }

    // Parses "9600,N,8,1" (baud, parity N/E/O/M/S, data bits, stop bits 1/1.5/2); *error in
    // the context's language.
    static bool applySettings(const ProgramContext& context, QSerialPort& port, const QString& settings,
                              QString* error);

private:
    void poll();
    const ProgramContext& m_context;
    QSerialPort m_port;
    QString m_error;
    bool m_busy = false;
};
