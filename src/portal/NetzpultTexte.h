#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class CBelegungRec;
struct NetzpultAntrag;

// Conversions between the reservation's records and the portal's texts. No database, no widgets.
namespace NetzpultTexte {

// The equipment letters of a booking's bit set, highest bit first (2049 -> "BW").
QString AusstattungBuchstaben(int32_t aust);
// The bit set of every equipment letter found in the text.
int32_t AusstattungBits(const QString& buchstaben);
// German names of the equipment bits, lowest bit first, joined by ", ". The lectern is written
// "Rednerpult" for a stored booking and "Renderpult" for a request (`antrag`).
QString AusstattungNamen(int32_t aust, bool antrag);
// The numbers of participants' tables a request may ask for: fixed f up to maximum m in steps of
// two, joined by "|"; "" for m = 0, "0" for combinations outside the supported range.
QString PTischeListe(int maximum, int fest);
// The person count as the portal's integer column takes it: the number, else 0.
int PersonenZahl(const QString& text);
// An order date as text "dd.mm.yyyy"; empty for no date and the null date.
QString BestellDatumText(double datum);
// A time of day as "hh:mm".
QString ZeitText(double zeit);
// The chair arrangement in words: "Kino", "Kreis", "Theater", "belassen" or the value itself.
QString StuhlText(const QString& code);

// A request's time as typed, normalised: "9" -> "09:00", "14" -> "14:00", "14.30" -> "14:30",
// "24:00" -> "00:00" on the next day. Empty or not a time gives "8:00" with the status saying why.
enum class ZeitStatus { Ok, Leer, Ungueltig };
struct AntragsZeit {
    QString zeit;
    bool naechsterTag = false;
    ZeitStatus status = ZeitStatus::Ok;
};
AntragsZeit NormalisiereZeit(const QString& text);

// The times of a new request as the user confirmed them (see NormalisiereZeit).
struct AntragsTermin {
    AntragsZeit beginn;
    AntragsZeit ende;
};

// A request onto a booking, alike for new and change requests: orderer, company, telephone,
// e-mail, cost centre, event, persons, chair arrangement, remarks, participants' tables,
// equipment, and the order dates where the request holds dates. With `termin` (a new request)
// the booking takes the request's dates and those times; without (a change) its dates, times
// and room stay. What cannot be taken over is left as it was (an invalid date: none) and named
// in `hinweise`.
void AntragInBelegung(const NetzpultAntrag& antrag, CBelegungRec& rec, QStringList& hinweise,
                      const AntragsTermin* termin = nullptr);

// The change report: the booking as stored (`alt`, in room `raum`) against the change request.
QStringList AenderungsBericht(const CBelegungRec& alt, const QString& raum,
                              const NetzpultAntrag& neu);

} // namespace NetzpultTexte
