#pragma once

#include "DatenbankOrt.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

// Publishing the reservation's room types, rooms and bookings to the portal. No widgets.
namespace NetzpultPublish {

struct Auftrag {
    DatenbankOrt ort;          // the reservation database
    QString connText;          // the portal's connection text ("DBPATH")
    int timeoutSek = 30;       // for connecting and for every read and write on the portal
    bool vollstaendig = false; // copy everything, whatever the change journal holds
};

enum class Status {
    Ok,
    Abgebrochen,  // the caller cancelled: the portal keeps what it held
    KeineAntwort, // the portal did not answer in time or the connection broke off
    Belegt,       // another workstation was publishing for longer than the timeout
    Fehler        // anything else; the message says what
};

struct Ergebnis {
    Status status = Status::Ok;
    bool vollstaendig = false; // a full copy was made (or tried)
    QString meldung;           // what the user reads when not Ok
    bool ok() const { return status == Status::Ok; }
};

// Rows done and rows in all after each block written; false cancels the publication.
using Fortschritt = std::function<bool(qint64 erledigt, qint64 gesamt)>;

// Publishes to the portal in one portal transaction: the changes the journal recorded, or a
// full copy when asked for, when the portal is empty, when it is not the portal of the last full
// copy, or when so much changed that a copy costs less. The portal ends up holding what a full
// copy gives, its waiting requests numbered 1, 2, 3 ... in the order the server returns them.
// The journal entries applied are removed only after the portal committed, so a publication
// that fails is repeated by the next one. Uses connections of its own: any thread may run it.
Ergebnis Veroeffentliche(const Auftrag& auftrag, const Fortschritt& fortschritt = {});

// Renumbers the requests (rows with BRESERVIERT = 0, or only those with status "B" or "K")
// 1, 2, 3 ... in the order the server returns them, in a transaction of its own.
bool NummeriereAntraege(QSqlDatabase db, bool nurNeuUndAenderung, QString* error);

} // namespace NetzpultPublish
