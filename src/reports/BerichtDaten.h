#pragma once

#include "BerichtArt.h"

#include <QString>
#include <kainjow/mustache.hpp>

// What a template sees: the rows of the print table as German texts, sorted and grouped as the
// report wants them, with counts and sums.
//
// Top level: Titel, Info, Zeitraum, Druckdatum, Anzahl, Belegungen ("3 Belegungen"), leer (no
// rows), zeilen (all rows), gruppen (each with Gruppe, Anzahl, Belegungen, zeilen and the sums
// of its rows as Summe.*), Summe.* (all rows), and for the usage statistics Mittel.* (the
// average per room). A document also has the fields of its one row at the top level.
//
// A row: every column of t_tmp_Druck under its name (dates as "16.03.2026", empty when not set;
// money as "1.234,50"), and Wochentag, Datum ("Mo, 16.03.2026"), Zeit ("08:00 – 10:00"),
// Spanne (the times, with short dates for a booking over several days), Termin (start and end
// with dates where they differ), Umbauzeit and Rueckbauzeit (empty when not set), UmbauUhr and
// RueckbauUhr (the times, with the date only when not on the booking's first day), hatUmbau,
// hatRueckbau, Kostensumme, Kostenzeilen (Bezeichnung, Betrag of each cost that is not 0) and
// hatKosten.
namespace BerichtDaten {

bool Read(const QString& connection, const BerichtArt& art, kainjow::mustache::data& out,
          QString* error);

// Renders a template; a syntax error gives a German message naming the file `datei` and the
// line. Every value is escaped, so texts with HTML or Mustache characters print as typed.
bool Rendern(const QString& vorlage, const QString& datei, const kainjow::mustache::data& daten,
             QString& html, QString* error);

// German formats of the reports.
QString Geld(double betrag); // "1.234,50"
QString Datum(double tag);   // "16.03.2026", "" for no date
QString Zahl(double wert);   // "2,5"

} // namespace BerichtDaten
