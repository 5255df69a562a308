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
