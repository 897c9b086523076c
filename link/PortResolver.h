#pragma once
// "COM 1".."COM 8" each stand for a device: on Windows COMn; elsewhere the device assigned
// to that number in the settings (section "Ports", key "COMn"), else the n-th serial port
// the system lists. The device name "sim" is the built-in simulated unit; in the desktop
// program it is also what a number stands for on a machine that lists no serial port at all.
// The environment variable SMSV48_SERIAL_PORTS, when set, replaces the list the system gives
// (device paths separated as in PATH; set but empty: no serial port at all).
#include <QString>
#include <QStringList>

namespace PortResolver {
inline const QString SimulatedDevice = QStringLiteral("sim");
QStringList systemPorts(); // port names the system lists, sorted
// Starts the (slow) look at the system's ports in the background; the next systemPorts()
// takes its result.
void prefetchSystemPorts();
// What a number stands for when nothing is assigned to it and the system lists no port:
// the simulated unit (desktop program) or nothing (command-line tool, which uses the
// simulated unit only when asked).
enum class WithoutPorts { Simulated, Nothing };
QString deviceFor(int comNumber, WithoutPorts withoutPorts = WithoutPorts::Simulated);
void assign(int comNumber, const QString& device); // empty: back to the automatic choice
// True when the settings assign a device to the number (the system's list is not needed for it).
bool isAssigned(int comNumber);
// The COM number the settings keep for the unit ([Einstellungen] COM-Anschluss), or fallback
// when none of 1..8 is kept.
int storedNumber(int fallback = 1);
}
