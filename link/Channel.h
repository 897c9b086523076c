#pragma once
// The serial port operations the link needs, and nothing more.
#include <QByteArray>
#include <QString>

class Channel {
public:
    virtual ~Channel() = default;
    // port: the device (path or system port name); settings: "9600,N,8,1".
    // Returns false and sets errorString() when the port cannot be opened.
    virtual bool open(const QString& port, const QString& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void discardInput() = 0;
    virtual void discardOutput() = 0;
    virtual int inBufferCount() = 0;
    // One character, or an empty array when nothing is waiting.
    virtual QByteArray readChar() = 0;
    // Everything waiting.
    virtual QByteArray readAll() = 0;
    virtual void write(const QByteArray& data) = 0;
    virtual QString errorString() const = 0;
    // True when the last failure of open() was a port already in use.
    virtual bool lastErrorWasBusy() const { return false; }
    // True for the built-in simulated unit.
    virtual bool isSimulated() const { return false; }
};
