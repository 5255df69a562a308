#pragma once

#include "ICalExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class CRvDb;
class CStammdatenDb;

// The texts of a confirmed reservation, without widgets: the confirmation mail from the
// template RaumVerw1.txt (or the built-in text), its copy recipients, the orderer's address from
// employees and master-data persons, and the notice for the door display.
namespace MailText {

// What the placeholders of the template stand for; designated initialisers name only what they set.
struct Felder {
    QString veranstaltung{};   // #Veranstaltung#
    QString bemerkung{};       // #Bemerkung#
    QString vonDatum{};        // #VonDatum#  dd.mm.yyyy
    QString vonZeit{};         // #VonZeit#
    QString bisDatum{};        // #BisDatum#
    QString bisZeit{};         // #BisZeit#
    QString raum{};            // #Raum#
    QString ausstattung{};     // #Ausstattung#
    QString personenzahl{};    // #Personenzahl#
    QString aktDatum{};        // #AktDatum#
    QString serie{};           // #Serie#
    QString firma{};           // #Firma#            the orderer's company
    QString ansprechpartner{}; // #Ansprechpartner#  the orderer
    QString telefon{};         // #Telefon#
    QString stuhlanordnung{};  // #Stuhlanordnung#
    QString tische{};          // #Beteiligtentische#
    QString termine{};         // #Termine#          TerminListe
};

inline const QString kVorlage = QStringLiteral("RaumVerw1.txt");

// Umlauts and sharp s as plain letters: ä -> ae, Ö -> Oe, ß -> ss ...
QString Sonderzeichen(const QString& text);

// The template file: every line that does not begin with an apostrophe, each followed by CR LF.
// UTF-8 and Windows-1252 files are read. Empty when there is no file.
QString ReadVorlage(const QString& pfad);

// Every date of the stored bookings, one line each ("Fr 11.12.2026 14:30 - 16:00 Raum A"), by
// date: a date of a series in another room or at other times is marked "(verlegt)", a date of
// the series without booking is listed as "entfällt". Lines are separated by CR LF.
QString TerminListe(const QVector<CBelegungRec>& buchungen, const ICalExport::RaumName& raumName,
                    const CSerienFkt* regel = nullptr);

// The body of the mail: the template, or the built-in text when it is empty, with every
// placeholder replaced. The built-in text lists the dates when there are several. With `umwandeln`
// the template, the built-in text and the event, remark, room and equipment texts go without
// special characters.
QString Text(const QString& vorlage, const Felder& felder, bool umwandeln);

// The copy addresses of the setting, split at ";", blanks removed, empty ones left out.
QStringList CcAdressen(const QString& cc);

// One entry of the address picker.
struct AdressEintrag {
    QString name; // "Name, Vorname"
    QString adresse;
    QString herkunft; // "Mitarbeiter" or "Stammdaten"
};

// Employees, then master-data persons, each with an e-mail address. Either source may be null.
QVector<AdressEintrag> Adressbuch(CRvDb* db, const CStammdatenDb* stamm);

// The address of the first entry whose name is the orderer's ("Name, Vorname" or
// "Vorname Name", case, blanks and quotes aside); empty when none matches.
QString AdresseZu(const QString& besteller, const QVector<AdressEintrag>& buch);

// The door notice in Windows-1252: a form feed, then the items under 13-character labels,
// separated by a carriage return (two after the room).
QByteArray Tuerschild(const QString& raumNr, const QString& raumName, const QString& firma,
                      const QString& veranstaltung, const QString& datum, const QString& beginn,
                      const QString& ende);

} // namespace MailText
