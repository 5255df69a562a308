#pragma once

#include "Records.h"

#include <QSqlQuery>
#include <QString>
#include <cstdint>

// Filling the print table t_tmp_Druck with the rows of one report. The table is the
// connection's own (Dialekt::DruckTabelleVorbereiten): read the rows on the connection that
// prepared them. Every routine empties the table first and writes all its rows in one transaction,
// so the table holds either the whole report or what it held before. Nothing here shows a message:
// a failure returns false and leaves the driver's text in `error`.
namespace DruckTabelle {

// Period list: every booking (archived ones too) that overlaps the days `von` to `bis`.
bool Zeitraum(const QString& connection, double von, double bis, QString* error);

// Day list: every booking that covers the day, its times clipped to that day ("00:00" for a
// start on an earlier day or an end on a later one).
bool Tag(const QString& connection, double tag, QString* error);

// Month list (iMonat 1..12) or whole year (iMonat 0) of the year `stJahr`; `info` is the period
// text the reports print ("März 2026", "2026"), an empty one is made up from month and year.
// With `auslastung` the usage statistics are written instead: one row per room with the share
// of the working days used by bookings (Miete), by set-up and clear-down (Umbau) and the rest
// (Pausch), in per cent of a 10-hour day.
bool Save_Rpt(const QString& connection, int iMonat, const QString& stJahr, bool auslastung,
              const QString& info, QString* error);

// Working days of a month (section "ARBEITSTAGE" of the project's settings, keyed by the
// three-letter month name, default 21); iMonat 0 adds up the twelve months.
int ArbeitsTage(int iMonat);
// First and last-plus-one day of the period Save_Rpt reports.
void MonatsZeitraum(int iMonat, int jahr, double& von, double& bis);
// The period text of a month or year ("März 2026", "2026").
QString ZeitraumText(int iMonat, int jahr);

// The names of the equipment items set in a booking's bit set, joined by ", ".
QString AusstattungNamen(int32_t aust);

// A chair arrangement code as the reservation form names it: "belassen" (none), "Kino (II)",
// "Theater (U)", "Ring-Form (O)"; any other code as it is.
QString StuhlanordnungText(const QString& code);

// One booking as a document prints it: the booking with the form's current values, the room's
// short name and the company's address from the master data. The document shows the chair
// arrangement in words and the participants' tables (none for 0).
struct BelegDruck {
    CBelegungRec beleg;
    QString kurzbez;
    QString strasse;
    QString plzOrt;
};
enum class BelegErgebnis { Ok, KeinRaum, Unvollstaendig, Datenbankfehler };
// The German message that belongs to a result ("" for Ok and database errors).
QString BelegMeldung(BelegErgebnis ergebnis);
BelegErgebnis Beleg(const QString& connection, const BelegDruck& daten, QString* error);

// Reads the rows of the table in the order they were written; the columns keep the names the
// templates use, whatever case the database reports them in.
bool ReadZeilen(const QString& connection, QSqlQuery& q, QString* error);
// The name of a column of the table as the templates spell it (unknown names as given).
QString Spaltenname(const QString& gelesen);

} // namespace DruckTabelle
