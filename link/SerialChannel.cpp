#include "link/SerialChannel.h"

#include "core/ProgramContext.h"

#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// Why a port that the system refused cannot be opened, said so that the user knows what to do:
// no permission (on Linux and macOS: the group that may read and write the device and how to
// join it, or, when no group may, who may and where the README tells what to do), or
// in use by another program. Empty when neither applies.
QString refusalReason(const ProgramContext& context, const QString& port, bool* busy)
{
    *busy = false;
#ifdef Q_OS_UNIX
    const QString path = QFileInfo(port).isAbsolute() ? port : QStringLiteral("/dev/") + port;
    const QByteArray native = QFile::encodeName(path);
    // With the process's effective rights, as the open itself had them.
    if (::faccessat(AT_FDCWD, native.constData(), R_OK | W_OK, AT_EACCESS) != 0 && errno == EACCES) {
        struct stat st {};
        if (::stat(native.constData(), &st) != 0)
            st = {};
        // Joining the device's group helps only when that group may read and write it.
        if ((st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP)) {
            QString group;
            if (const struct group* g = ::getgrgid(st.st_gid))
                group = QString::fromLocal8Bit(g->gr_name);
            if (group.isEmpty())
                group = QString::number(st.st_gid);
            return context
                .msgOr(QStringLiteral("gsMsgPortKeineBerechtigung"),
                       QStringLiteral("Keine Berechtigung für die Schnittstelle %1: Sie gehört der Gruppe \"%2\". "
                                      "Fügen Sie Ihren Benutzer dieser Gruppe hinzu (sudo usermod -aG %2 $USER) und "
                                      "melden Sie sich neu an."))
                .arg(path, group);
        }
        // Else only its owner may (or, when not even the owner may, only root).
        QString owner = QStringLiteral("root");
        if ((st.st_mode & (S_IRUSR | S_IWUSR)) == (S_IRUSR | S_IWUSR)) {
            if (const struct passwd* pw = ::getpwuid(st.st_uid))
                owner = QString::fromLocal8Bit(pw->pw_name);
            else
                owner = QString::number(st.st_uid);
        }
        return context
            .msgOr(QStringLiteral("gsMsgPortNurBesitzer"),
                   QStringLiteral("Keine Berechtigung für die Schnittstelle %1: Nur \"%2\" darf sie lesen und "
                                  "beschreiben, keine Gruppe. Ein Administrator muss sie einer Gruppe wie dialout "
                                  "geben (siehe \"Connecting a unit\" in /usr/share/doc/smsv48/README.md)."))
            .arg(path, owner);
    }
#endif
    *busy = true;
    return context
        .msgOr(QStringLiteral("gsMsgPortBelegt"),
               QStringLiteral("Die Schnittstelle %1 wird von einem anderen Programm benutzt. Beenden Sie dieses "
                              "Programm oder wählen Sie eine andere Schnittstelle."))
        .arg(port);
}
} // namespace

bool SerialChannel::applySettings(const ProgramContext& context, QSerialPort& port, const QString& settings,
                                  QString* error)
{
    const QStringList p = settings.split(',');
    auto fail = [&](const QString& why) {
        if (error)
            *error = context
                         .msgOr(QStringLiteral("gsMsgPortEinstellungenUngültig"),
                                QStringLiteral("Ungültige Einstellungen der Schnittstelle \"%1\": %2"))
                         .arg(settings, why);
        return false;
    };
    if (p.size() != 4)
        return fail(context.msgOr(QStringLiteral("gsMsgPortEinstellungenErwartet"),
                                  QStringLiteral("erwartet werden Baudrate, Parität, Datenbits und Stoppbits")));
    bool ok = false;
    const int baud = p[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        return fail(context.msgOr(QStringLiteral("gsMsgPortTeilBaudrate"), QStringLiteral("Baudrate")));
    QSerialPort::Parity parity;
    const QString par = p[1].trimmed().toUpper();
    if (par == "N")
        parity = QSerialPort::NoParity;
    else if (par == "E")
        parity = QSerialPort::EvenParity;
    else if (par == "O")
        parity = QSerialPort::OddParity;
    else if (par == "M")
        parity = QSerialPort::MarkParity;
    else if (par == "S")
        parity = QSerialPort::SpaceParity;
    else
        return fail(context.msgOr(QStringLiteral("gsMsgPortTeilParität"), QStringLiteral("Parität")));
    const int bits = p[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return fail(context.msgOr(QStringLiteral("gsMsgPortTeilDatenbits"), QStringLiteral("Datenbits")));
    QSerialPort::StopBits stop;
    const QString sb = p[3].trimmed();
    if (sb == "1")
        stop = QSerialPort::OneStop;
    else if (sb == "1.5" || sb == "1,5")
        stop = QSerialPort::OneAndHalfStop;
    else if (sb == "2")
        stop = QSerialPort::TwoStop;
    else
        return fail(context.msgOr(QStringLiteral("gsMsgPortTeilStoppbits"), QStringLiteral("Stoppbits")));
    port.setBaudRate(baud);
    port.setParity(parity);
    port.setDataBits(static_cast<QSerialPort::DataBits>(bits));
    port.setStopBits(stop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

bool SerialChannel::open(const QString& port, const QString& settings)
{
    close();
    m_busy = false;
    m_error.clear();
    m_port.setPortName(port);
    if (!applySettings(m_context, m_port, settings, &m_error))
        return false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_context
                      .msgOr(QStringLiteral("gsMsgPortNichtGeoeffnet"),
                             QStringLiteral("Die Schnittstelle %1 lässt sich nicht öffnen (%2)."))
                      .arg(port, m_port.errorString());
        // Qt reports both a device the user may not open and one that another program holds
        // as a permission error; they need different advice.
        if (m_port.error() == QSerialPort::PermissionError)
            m_error = refusalReason(m_context, port, &m_busy);
        else if (m_port.error() == QSerialPort::DeviceNotFoundError)
            m_error = m_context
                          .msgOr(QStringLiteral("gsMsgPortFehlt"),
                                 QStringLiteral("Die Schnittstelle %1 gibt es nicht: Schliessen Sie das Kabel des "
                                                "Geräts (oder seinen USB-Adapter) an, oder wählen Sie in den "
                                                "Einstellungen der Schnittstelle eine andere."))
                          .arg(port);
        return false;
    }
    // Settings must be applied again on some platforms once the port is open.
    applySettings(m_context, m_port, settings, nullptr);
    return true;
}

void SerialChannel::close()
{
    if (m_port.isOpen())
        m_port.close();
}

void SerialChannel::poll()
{
    if (!m_port.isOpen())
        return;
    m_port.waitForReadyRead(0);
    // A device that went away (a USB adapter pulled out): the port is closed, so that
    // every wait of the link ends and the operation reports it.
    if (m_port.error() == QSerialPort::ResourceError) {
        m_error = m_port.errorString();
        m_port.close();
    }
}

void SerialChannel::discardInput()
{
    poll();
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

void SerialChannel::discardOutput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Output);
}

int SerialChannel::inBufferCount()
{
    poll();
    return static_cast<int>(m_port.bytesAvailable());
}

QByteArray SerialChannel::readChar()
{
    poll();
    return m_port.read(1);
}

QByteArray SerialChannel::readAll()
{
    poll();
    return m_port.readAll();
}

void SerialChannel::write(const QByteArray& data)
{
    if (!m_port.isOpen())
        return;
    m_port.write(data);
    m_port.waitForBytesWritten(50);
    poll();
}
