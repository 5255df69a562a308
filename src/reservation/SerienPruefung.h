#pragma once

#include "SerienSpeichern.h"
#include "TovoDate.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

// The check of a new series before it is saved: every date with its status in the chosen room
// (free, taken by which booking, public holiday), the rooms of the type that are free on a taken
// date, and the user's choice per date (keep, move to a free room, leave out). No widgets: the
// overview window shows and edits a SerienPruefung::Ergebnis.
namespace SerienPruefung {

enum class Wahl { Behalten, Verschieben, Auslassen };

struct Termin {
    TovoDate datum;
    QString feiertag;             // the holiday's name, empty on other days
    bool belegt = false;          // the chosen room is taken at that time
    QString belegtDurch;          // "Auftrag 1234 (Müller, 10:00–12:00)"
    QVector<int32_t> freieRaeume; // other rooms of the type free at that time (taken dates only)
    Wahl wahl = Wahl::Behalten;
    int32_t zielRaum = 0; // the room of Verschieben
};

struct Anfrage {
    QVector<TovoDate> termine; // the series' dates, ascending
    double zeitVon = 0;        // times of day of every date
    double zeitBis = 0;
    int32_t raumId = 0;    // the room chosen on the form
    int32_t raumartId = 0; // its type; 0 = every room is a candidate
    double toleranz = 0;   // least gap in days
    QString land;          // federal state for the holidays
    bool feiertageAuslassen = false;
};

struct Ergebnis {
    Anfrage anfrage;
    QVector<Termin> termine;
    QHash<int32_t, QString> raumNamen; // every room of the type, and the chosen one

    int AnzahlBelegt() const;
    int AnzahlAusgelassen() const;
};

// Reads the bookings of the type's rooms in the series' date range at once (gDb) and decides
// every date by R_Main::KeinKonflikt. Taken dates start as left out, holidays too when the
// request says so, all others as kept. `fortschritt(done, total)` is called now and then and
// may return false to stop (false is returned then). False with `error` on a database error.
bool Pruefen(const Anfrage& anfrage, Ergebnis& ergebnis,
             const std::function<bool(int, int)>& fortschritt, QString* error);

// The status text of a date: "frei", "Feiertag (Neujahr)", "belegt durch Auftrag ...".
QString StatusText(const Termin& t);
// Sets a choice; false (nothing changed) when it is not possible: keeping a taken date, moving
// to a room that is not free then.
bool SetzeWahl(Termin& t, Wahl wahl, int32_t zielRaum = 0);
// Every taken date left out.
void AlleBelegtenAuslassen(Ergebnis& e);
// Every taken date moved to its first free room; a date without one is left out.
void AlleVerschieben(Ergebnis& e);

// The dates that will be written, each with its room.
QVector<R_Main::SerienTermin> Auswahl(const Ergebnis& e);
// The left-out dates for the series' description, "ohne 24.12.2026, 31.12.2026"; empty when
// none is left out.
QString OhneText(const Ergebnis& e);

} // namespace SerienPruefung
