#include "DisplayPort.h"

#include "Allg_Hilfsfkt.h"

#include <QRegularExpression>
#include <QSerialPort>

namespace DisplayPort {

namespace {
constexpr int kSchreibZeitMs = 5000;
} // namespace

Einstellungen AusIni() {
    Einstellungen e;
    e.port = Geraet(
        Allg_Hilfsfkt::ReadIniValue(QStringLiteral("Display"), QStringLiteral("Port"), e.port)
            .trimmed());
    bool zahl = false;
    const qint32 baud = Allg_Hilfsfkt::ReadIniValue(QStringLiteral("Display"),
                                                    QStringLiteral("Baud"), QStringLiteral("9600"))
                            .trimmed()
                            .toInt(&zahl);
    if (zahl && baud > 0)
        e.baud = baud;
    return e;
}

QString Geraet(const QString& port) {
    static const QRegularExpression com(QStringLiteral("^com(\\d+):?$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(port.trimmed());
    if (m.hasMatch() && m.captured(1).toInt() >= 1)
        return QStringLiteral("/dev/ttyS") + QString::number(m.captured(1).toInt() - 1);
    return port.trimmed();
}

bool Schreibe(const Einstellungen& e, const QByteArray& daten, QString& fehler) {
    QSerialPort port;
    port.setPortName(e.port);
    const QString name = QStringLiteral("Die Schnittstelle '") + e.port + QStringLiteral("' ");
    if (!port.open(QIODevice::WriteOnly)) {
        fehler = name + QStringLiteral("lässt sich nicht öffnen: ") + port.errorString();
        return false;
    }
    if (!port.setBaudRate(e.baud) || !port.setDataBits(QSerialPort::Data8) ||
        !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop) ||
        !port.setFlowControl(QSerialPort::NoFlowControl)) {
        fehler = name + QStringLiteral("lässt sich nicht einstellen: ") + port.errorString();
        return false;
    }
    qint64 geschrieben = port.write(daten);
    while (geschrieben == daten.size() && port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(kSchreibZeitMs)) {
            geschrieben = -1;
            break;
        }
    }
    if (geschrieben != daten.size()) {
        fehler = name + QStringLiteral("nimmt die Daten nicht an: ") + port.errorString();
        return false;
    }
    port.close();
    return true;
}

} // namespace DisplayPort
