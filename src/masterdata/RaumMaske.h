#pragma once

#include "Records.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <array>

class CGebDb;

// The rules of the room form without its widgets: equipment letters, chair arrangements, the
// grid row of a room, number fields and room numbers from the building structure.
namespace RaumMaske {

// Equipment letters in the order the form writes them (the order of its check boxes).
inline const QString kAusstattung = QStringLiteral("WPCMRFLNASGB");
// Equipment letters in the order of the grid columns 5 to 16.
inline const QString kAusstattungSpalten = QStringLiteral("NCLPRMAFWSGB");
inline constexpr int kSpalten = 19;

using Haken = std::array<bool, 12>; // one per letter of kAusstattung

Haken AusstattungLesen(const QString& stAusstattung);
QString AusstattungSchreiben(const Haken& haken);

// The eight chair entries, their codes, and the entry a stored code selects.
QStringList StuhlTexte();
QString StuhlCode(int index);
int StuhlIndex(const QString& code);

QStringList SpaltenTitel();
// The 19 cells of a room's grid row; numbers as int so that they sort as numbers.
QVariantList Zeile(const CAnzeigeRec& raum, const QString& raumart);

// A count field: empty is 0; anything but a whole number from 0 to 32767 gives false and a
// German message naming the field.
bool ReadAnzahl(const QString& text, const QString& feld, int16_t& wert, QString& meldung);

// Room number of a room of the building structure in the long format ("S.G.BE.R", "E.R"): the
// parts of the levels the format names, joined by ".", without double quotes and apostrophes.
QString GetRaumNrFormat(const CGebDb& geb, int32_t raumId, const QString& format);

} // namespace RaumMaske
