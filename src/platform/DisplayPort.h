#pragma once

#include <QByteArray>
#include <QString>

// The door display on a serial port: settings from TovoRaumVerw.ini and writing bytes to it.
namespace DisplayPort {

struct Einstellungen {
    QString port = QStringLiteral("/dev/ttyS0");
    qint32 baud = 9600;
};

// Section "Display": "Port" (default "/dev/ttyS0") and "Baud" (default 9600).
Einstellungen AusIni();

// The device of a port name from the settings: "Com1" (any case) is "/dev/ttyS0", "Com2"
// "/dev/ttyS1" and so on; every other name is taken as it is.
QString Geraet(const QString& port);

// Opens the port for writing (8 data bits, no parity, one stop bit), writes the bytes and
// closes it. False with the system's reason in `fehler` when that fails.
bool Schreibe(const Einstellungen& einstellungen, const QByteArray& daten, QString& fehler);

} // namespace DisplayPort
