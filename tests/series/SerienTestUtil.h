#pragma once

#include "CSerienFkt.h"
#include "SerienSpeichern.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// A rule in short notation, so that test tables stay readable:
//   "D3"      every 3 days          "D0"     every working day
//   "W2:9"    every 2 weeks on the weekday bits 9 (Monday + Thursday)
//   "M3:d10"  every 3 months on day 10
//   "M1:k5w5" every month on the last (5) Friday (5)
//   "Y12:d24" every year on 24 December
//   "Y3:k2w2" every year on the second Tuesday of March
//   ""        no pattern
inline CSerienFkt Regel(const QString& kurz, QDate beginn, QDate ende = QDate(9999, 12, 31)) {
    CSerienFkt r;
    r.SetdatBeginn(TovoDate::fromDate(beginn));
    r.SetdatEnde(TovoDate::fromDate(ende));
    static const QRegularExpression rx(
        QStringLiteral("^([DWMY])(\\d+)(?::(?:d(\\d+)|k(\\d+)w(\\d+)|(\\d+)))?$"));
    const auto m = rx.match(kurz);
    if (!m.hasMatch())
        return r;
    const int n = m.captured(2).toInt();
    switch (kurz.at(0).toLatin1()) {
    case 'D':
        r.SetDaily(n);
        break;
    case 'W':
        r.SetWeekly(n);
        r.SetWeekday(m.captured(6).toInt());
        break;
    case 'M':
        r.SetFreqMonth(n);
        break;
    case 'Y':
        r.SetMonth(n);
        break;
    }
    if (!m.captured(3).isEmpty())
        r.SetDay(m.captured(3).toInt());
    if (!m.captured(4).isEmpty()) {
        r.SetAnz(m.captured(4).toInt());
        r.SetDayArt(m.captured(5).toInt());
    }
    return r;
}

inline QDate D(int day, int month, int year) {
    return QDate(year, month, day);
}
// Dates in short: "7.6.2024 10.6.2024".
inline QList<QDate> Daten(const QString& kurz) {
    QList<QDate> out;
    for (const QString& t : kurz.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out << QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    return out;
}

// The order-number counter of a test database (table T_NextNr): -1 while the table is empty,
// storing replaces its one row.
inline R_Main::AuftragNrQuelle ZaehlerInTabelle(const QString& verbindung) {
    R_Main::AuftragNrQuelle quelle;
    quelle.GetNextAuftragNr = [verbindung]() -> int32_t {
        QSqlQuery q(QSqlDatabase::database(verbindung));
        return q.exec(QStringLiteral("SELECT lNextNr FROM T_NextNr")) && q.next()
                   ? q.value(0).toInt()
                   : -1;
    };
    quelle.SetNextAuftragNr = [verbindung](int32_t nr) {
        QSqlQuery q(QSqlDatabase::database(verbindung));
        return q.exec(QStringLiteral("DELETE FROM T_NextNr")) &&
               q.exec(QStringLiteral("INSERT INTO T_NextNr (lNextNr) VALUES (%1)").arg(nr));
    };
    return quelle;
}
