#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

// One request of the portal as the request list shows it: the request row joined with its wished
// room and room type. Texts are stored without double and single quotes, as listed.
struct NetzpultAntrag {
    int32_t lWunschId = 0; // request number, valid until the next renumbering
    int32_t lRaumId = 0;   // wished room
    int32_t lBelegId = 0;  // for a change request: the booking to be changed
    QString status;        // "B" new request, "K" change request
    QString raumart;
    QString wunschraum;
    QDate von;
    QString zeitVon;
    QDate bis;
    QString zeitBis;
    QString name;
    QString firma;
    QString tel;
    QString email;
    QString kst;
    QString nutzung;
    QString anzPers;
    QString stuhl;
    QString bemerkung;
    QString sonstiges;
    QString ptische;
    QString datumErst;
    QString datumKorr;
    QString ausstattung;

    bool IstAenderung() const { return ArtText() == QStringLiteral("Änd."); }
    // "Neu", "Änd." or empty.
    QString ArtText() const;
    // The 21 column texts of the list, in column order.
    QStringList Spalten() const;
    // The line's key "$/" + request number + "/" + wished room + "/" + booking.
    QString Schluessel() const;
};

// The captions of the 21 columns of the request list.
QStringList NetzpultSpaltenTitel();
