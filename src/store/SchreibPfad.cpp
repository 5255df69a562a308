#include "SchreibPfad.h"

#include "AenderungsJournal.h"
#include "Dialekt.h"
#include "KonfliktSuche.h"
#include "Prompt.h"
#include "SqlConnection.h"
#include "TovoDate.h"
#include "ZeilenAbbildung.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace SchreibPfad {

namespace ZA = ZeilenAbbildung;
using Konflikt::Zeitspanne;

namespace {

const QString kMsgAdd = QStringLiteral("Der Datensatz konnte nicht gespeichert werden!");
const QString kMsgEdit = QStringLiteral("Der Datensatz konnte nicht aktualisiert werden!");
const QString kMsgDel = QStringLiteral("Der Datensatz konnte nicht gelöscht werden!");
const QString kNichtOffen = QStringLiteral("Die Datenbank ist nicht geöffnet.");
const QString kWeg = QStringLiteral("Die Belegung ist nicht mehr vorhanden.");
const QString kCrLf = QStringLiteral("\r\n");
// Orders of this many bookings are large changes: the planner's statistics are looked after.
constexpr qsizetype kVieleZeilen = 50;

Ergebnis Gescheitert(const QString& meldung, const QString& fehler) {
    Ergebnis e;
    e.status = Status::Fehler;
    e.meldung = meldung;
    e.fehler = fehler;
    return e;
}

// A failed step of a write transaction; the dialect tells whether the database was busy or the
// connection lost.
Ergebnis Gescheitert(SchreibTransaktion& tx, const QString& meldung, const QSqlError& error) {
    Ergebnis e = Gescheitert(meldung, error.text().trimmed());
    switch (Dialekt::Von(tx.db()).Art(tx.db(), error)) {
    case DbFehlerArt::Belegt:
        e.status = Status::Belegt;
        break;
    case DbFehlerArt::Getrennt:
        e.status = Status::Getrennt;
        break;
    case DbFehlerArt::Sonstiges:
        break;
    }
    return e;
}

// A failure a query helper reported as text: a lost connection still shows as such.
Ergebnis Gescheitert(SchreibTransaktion& tx, const QString& meldung, const QString& fehler) {
    Ergebnis e = Gescheitert(meldung, fehler);
    if (Dialekt::Von(tx.db()).Art(tx.db(), QSqlError()) == DbFehlerArt::Getrennt)
        e.status = Status::Getrennt;
    return e;
}

// False with the result filled when the step `ok` failed.
bool Geschafft(SchreibTransaktion& tx, bool ok, const QSqlError& error, const QString& meldung,
               Ergebnis& e) {
    if (!ok)
        e = Gescheitert(tx, meldung, error);
    return ok;
}

bool Begonnen(SchreibTransaktion& tx, const QString& meldung, Ergebnis& e) {
    QSqlDatabase& db = tx.db();
    if (!tx.offen() && !db.isOpen() &&
        !(db.isValid() && Dialekt::Von(db).Typ() == DbTyp::PostgreSQL)) {
        e = Gescheitert(meldung, kNichtOffen);
        return false;
    }
    return Geschafft(tx, tx.offen(), tx.fehler(), meldung, e);
}

bool Geschlossen(SchreibTransaktion& tx, const QString& meldung, Ergebnis& e) {
    return Geschafft(tx, tx.commit(), tx.fehler(), meldung, e);
}

// Every room: archiving may bring back bookings in any of them.
bool SperreAlleRaeume(SchreibTransaktion& tx, const QString& meldung, Ergebnis& e) {
    QSqlQuery q(tx.db());
    q.setForwardOnly(true);
    QVector<int32_t> raeume;
    if (q.exec(QStringLiteral("SELECT az_ID FROM T_rb_Anzeige")))
        while (q.next())
            raeume << q.value(0).toInt();
    QSqlError error = q.lastError();
    const bool ok = error.type() == QSqlError::NoError &&
                    Dialekt::Von(tx.db()).SperreRaeume(tx.db(), raeume, &error);
    return Geschafft(tx, ok, error, meldung, e);
}

// The rooms the bookings are written into, before they are tested.
bool SperreRaeume(SchreibTransaktion& tx, const QVector<CBelegungRec>& buchungen,
                  const QString& meldung, Ergebnis& e) {
    QVector<int32_t> raeume;
    for (const CBelegungRec& b : buchungen)
        raeume << b.rb_id;
    QSqlError error;
    return Geschafft(tx, Dialekt::Von(tx.db()).SperreRaeume(tx.db(), raeume, &error), error,
                     meldung, e);
}

bool ReadBelegung(QSqlDatabase& db, int32_t recId, CBelegungRec& rec, QSqlError& error) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!ExecBound(q, QStringLiteral("SELECT * FROM T_fm_belegung WHERE Rec_ID = ?"), {recId})) {
        error = q.lastError();
        return false;
    }
    if (!q.next()) {
        error = q.lastError();
        return false;
    }
    return ZA::RowReader<CBelegungRec>(q.record()).read(q, rec);
}

QString RaumName(QSqlDatabase& db, int32_t raumId) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (ExecBound(q, QStringLiteral("SELECT Kurzbez FROM T_rb_Anzeige WHERE az_ID = ?"),
                  {raumId}) &&
        q.next())
        return q.value(0).toString();
    return QString();
}

bool IstArchiviert(QSqlDatabase& db, int32_t recId) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    return ExecBound(q, QStringLiteral("SELECT bArchiviert FROM T_fm_belegung WHERE Rec_ID = ?"),
                     {recId}) &&
           q.next() && q.value(0).toInt() != 0;
}

Ergebnis ImWeg(QSqlDatabase& db, const CBelegungRec& imWeg) {
    Ergebnis e;
    e.status = Status::Konflikt;
    e.imWeg = imWeg;
    e.raumName = RaumName(db, imWeg.rb_id);
    e.imWegArchiviert = imWeg.Rec_ID != 0 && IstArchiviert(db, imWeg.Rec_ID);
    return e;
}

// The test inside the transaction: the bookings against the stored ones (without the rows
// listed in `ausser`) and against each other. False with the result filled on a conflict or a
// failure.
bool Pruefen(SchreibTransaktion& tx, const QVector<CBelegungRec>& buchungen,
             const QSet<int32_t>& ausser, double toleranz, const QString& meldung, Ergebnis& e) {
    QVector<Konflikt::Termin> termine;
    termine.reserve(buchungen.size());
    for (const CBelegungRec& b : buchungen)
        termine.append({b.rb_id, Konflikt::BelegteSpanne(b)});

    int32_t imWegId = 0;
    QString error;
    if (!Konflikt::Konflikte(
            tx.db().connectionName(), termine, ausser, toleranz, Konflikt::Lesart::Raumtest,
            [&](const Konflikt::Treffer& t) {
                imWegId = t.zeile.Rec_ID;
                return false;
            },
            &error)) {
        e = Gescheitert(tx, meldung, error);
        return false;
    }
    if (imWegId != 0) {
        CBelegungRec imWeg;
        QSqlError readError;
        if (!ReadBelegung(tx.db(), imWegId, imWeg, readError)) {
            e = Gescheitert(tx, meldung, readError);
            return false;
        }
        e = ImWeg(tx.db(), imWeg);
        return false;
    }

    // Among themselves: by room and first day, each against the following ones that start
    // before it ends.
    QVector<int> folge(buchungen.size());
    std::iota(folge.begin(), folge.end(), 0);
    std::sort(folge.begin(), folge.end(), [&](int a, int b) {
        return std::make_pair(termine[a].raum, termine[a].spanne.startDatum) <
               std::make_pair(termine[b].raum, termine[b].spanne.startDatum);
    });
    for (int i = 0; i < folge.size(); ++i) {
        const Konflikt::Termin& a = termine[folge[i]];
        for (int j = i + 1; j < folge.size(); ++j) {
            const Konflikt::Termin& b = termine[folge[j]];
            if (b.raum != a.raum || b.spanne.startDatum > a.spanne.endDatum + 1)
                break;
            if (!Konflikt::KeinKonflikt(a.spanne, b.spanne, toleranz)) {
                e = ImWeg(tx.db(), buchungen[folge[j]]);
                return false;
            }
        }
    }
    return true;
}

// The portal learns of the written bookings through the change journal, in the same transaction.
bool Vermerken(SchreibTransaktion& tx, const QVector<int32_t>& ids, const QString& meldung,
               Ergebnis& e) {
    QSqlError error;
    if (AenderungsJournal::Vermerke(tx.db(), AenderungsJournal::Art::Belegung, ids, &error))
        return true;
    e = Gescheitert(tx, meldung, error);
    return false;
}

} // namespace

Ergebnis NeuerAuftrag(const QString& connection, QVector<CBelegungRec>& buchungen, double toleranz,
                      std::optional<int32_t> wunschNr) {
    Ergebnis e;
    SchreibTransaktion tx(Verbindung(connection));
    if (!Begonnen(tx, kMsgAdd, e) || !SperreRaeume(tx, buchungen, kMsgAdd, e) ||
        !Pruefen(tx, buchungen, {}, toleranz, kMsgAdd, e))
        return e;
    Dialekt::Auftrag auftrag;
    QSqlError error;
    if (!Dialekt::Von(tx.db()).AuftragEintragen(tx, buchungen, wunschNr, auftrag, &error))
        return Gescheitert(tx, kMsgAdd, error);
    e.auftrNr = auftrag.nummer;
    if (auftrag.vergeben) {
        e.status = Status::NummerVergeben;
        return e;
    }
    // A long series can outgrow what the planner knows of a young project.
    if (buchungen.size() >= kVieleZeilen)
        Dialekt::Von(tx.db()).StatistikPflegen(tx.db());
    for (qsizetype i = 0; i < buchungen.size() && i < auftrag.ids.size(); ++i) {
        buchungen[i].Rec_ID = auftrag.ids[i];
        buchungen[i].lAuftrNr = auftrag.nummer;
    }
    return e;
}

namespace {
// Stored bookings written back whole by their keys inside the transaction, recorded for the
// portal.
bool Zurueckschreiben(SchreibTransaktion& tx, const QVector<CBelegungRec>& buchungen, Ergebnis& e) {
    QVector<int32_t> ids;
    for (const CBelegungRec& b : buchungen)
        ids.append(b.Rec_ID);
    if (!Vermerken(tx, ids, kMsgEdit, e))
        return false;
    QSqlQuery upd(tx.db());
    if (!upd.prepare(ZA::updateSql<CBelegungRec>())) {
        e = Gescheitert(tx, kMsgEdit, upd.lastError());
        return false;
    }
    for (CBelegungRec b : buchungen) {
        ZA::bindFields(upd, b);
        upd.addBindValue(b.Rec_ID);
        if (!upd.exec()) {
            e = Gescheitert(tx, kMsgEdit, upd.lastError());
            return false;
        }
        if (upd.numRowsAffected() != 1) {
            e = Gescheitert(kMsgEdit, kWeg);
            return false;
        }
    }
    return true;
}

// A date field and a time field as one moment, and back; a date of 31.12.9999 stays unset.
double Moment(double datum, double zeit) {
    return std::floor(datum) + (zeit - std::floor(zeit));
}
void Teile(double moment, double& datum, double& zeit) {
    datum = std::floor(moment);
    // Whole seconds, so that moving back and forth leaves the times as they were.
    zeit = std::round((moment - datum) * 86400.0) / 86400.0;
}
void Verschiebe(double& datum, double& zeit, double um) {
    if (!IsNoDate(datum))
        Teile(Moment(datum, zeit) + um, datum, zeit);
}
} // namespace

Ergebnis Aendern(const QString& connection, const QVector<CBelegungRec>& buchungen,
                 double toleranz) {
    Ergebnis e;
    SchreibTransaktion tx(Verbindung(connection));
    QSet<int32_t> eigene;
    for (const CBelegungRec& b : buchungen)
        eigene.insert(b.Rec_ID);
    if (!Begonnen(tx, kMsgEdit, e) || !SperreRaeume(tx, buchungen, kMsgEdit, e) ||
        !Pruefen(tx, buchungen, eigene, toleranz, kMsgEdit, e) ||
        !Zurueckschreiben(tx, buchungen, e))
        return e;
    if (Geschlossen(tx, kMsgEdit, e) && !buchungen.isEmpty())
        e.auftrNr = buchungen.front().lAuftrNr;
    return e;
}

Verlegung LageVon(const CBelegungRec& b) {
    return {b.Rec_ID, b.rb_id, Moment(b.dt_von, b.tm_von), Moment(b.dt_bis, b.tm_bis)};
}

Ergebnis Verlegen(const QString& connection, const QVector<Verlegung>& verlegungen, double toleranz,
                  QVector<CBelegungRec>* vorher) {
    Ergebnis e;
    SchreibTransaktion tx(Verbindung(connection));
    if (!Begonnen(tx, kMsgEdit, e))
        return e;
    QVector<CBelegungRec> neu;
    QSet<int32_t> eigene;
    for (const Verlegung& v : verlegungen) {
        CBelegungRec rec;
        QSqlError error;
        if (!ReadBelegung(tx.db(), v.recId, rec, error))
            return error.type() == QSqlError::NoError ? Gescheitert(kMsgEdit, kWeg)
                                                      : Gescheitert(tx, kMsgEdit, error);
        if (vorher)
            vorher->append(rec);
        const Verlegung alt = LageVon(rec);
        rec.rb_id = v.raumId;
        Teile(v.beginn, rec.dt_von, rec.tm_von);
        Teile(v.ende, rec.dt_bis, rec.tm_bis);
        Verschiebe(rec.Udt_von, rec.Utm_von, v.beginn - alt.beginn);
        Verschiebe(rec.Udt_bis, rec.Utm_bis, v.beginn - alt.beginn);
        Verschiebe(rec.Rdt_von, rec.Rtm_von, v.ende - alt.ende);
        Verschiebe(rec.Rdt_bis, rec.Rtm_bis, v.ende - alt.ende);
        neu.append(rec);
        eigene.insert(rec.Rec_ID);
    }
    if (!SperreRaeume(tx, neu, kMsgEdit, e) || !Pruefen(tx, neu, eigene, toleranz, kMsgEdit, e) ||
        !Zurueckschreiben(tx, neu, e))
        return e;
    if (Geschlossen(tx, kMsgEdit, e) && !neu.isEmpty())
        e.auftrNr = neu.front().lAuftrNr;
    return e;
}

namespace {
// Deletes the bookings that `bedingung` selects, with `wert` bound.
Ergebnis Loesche(const QString& connection, const QString& bedingung, int32_t wert) {
    Ergebnis e;
    SchreibTransaktion tx(Verbindung(connection));
    if (!Begonnen(tx, kMsgDel, e))
        return e;
    {
        QSqlError error;
        if (!AenderungsJournal::VermerkeBelegungen(tx.db(), bedingung, {wert}, &error))
            return Gescheitert(tx, kMsgDel, error);
        QSqlQuery q(tx.db());
        if (!ExecBound(q, QStringLiteral("DELETE FROM T_fm_belegung WHERE ") + bedingung, {wert}))
            return Gescheitert(tx, kMsgDel, q.lastError());
    }
    Geschlossen(tx, kMsgDel, e);
    return e;
}
} // namespace

Ergebnis LoescheBelegung(const QString& connection, int32_t recId) {
    return Loesche(connection, QStringLiteral("Rec_ID = ?"), recId);
}

Ergebnis LoescheAuftrag(const QString& connection, int32_t auftrNr) {
    return Loesche(connection, QStringLiteral("lAuftrNr = ?"), auftrNr);
}

// --- archive ------------------------------------------------------------------------------------

namespace {

const QString kMsgArchiv = QStringLiteral("Die Belegungen konnten nicht archiviert werden!");
const QString kMsgZurueck =
    QStringLiteral("Die Belegungen konnten nicht wiederhergestellt werden!");

// Brings back the archived bookings that `auswahl` selects (a condition with one placeholder for
// `tag`) where their slots are free: against every booking that stays as it is, archived ones
// included, and among themselves room by room, the earliest first. The others stay archived and
// are listed in `e`. False with `e` filled when the database fails.
bool Zurueckholen(SchreibTransaktion& tx, const QString& auswahl, double tag, double toleranz,
                  const QString& meldung, ArchivErgebnis& e) {
    const auto scheitern = [&](const auto& fehler) {
        static_cast<Ergebnis&>(e) = Gescheitert(tx, meldung, fehler);
        return false;
    };
    QVector<CBelegungRec> kandidaten;
    {
        QSqlQuery q(tx.db());
        q.setForwardOnly(true);
        if (!ExecBound(q,
                       QStringLiteral("SELECT * FROM T_fm_belegung WHERE bArchiviert <> 0 AND ") +
                           auswahl + QStringLiteral(" ORDER BY dt_von, tm_von, Rec_ID"),
                       {tag}))
            return scheitern(q.lastError());
        std::optional<ZA::RowReader<CBelegungRec>> leser;
        while (q.next()) {
            if (!leser)
                leser.emplace(q.record());
            CBelegungRec b;
            leser->read(q, b);
            kandidaten.append(b);
        }
        if (HasSqlError(q))
            return scheitern(q.lastError());
    }

    QVector<Konflikt::Termin> termine;
    QSet<int32_t> eigene;
    for (const CBelegungRec& b : kandidaten) {
        termine.append({b.rb_id, Konflikt::BelegteSpanne(b)});
        eigene.insert(b.Rec_ID);
    }
    QVector<bool> frei(kandidaten.size(), true);
    QString error;
    if (!Konflikt::Konflikte(
            tx.db().connectionName(), termine, eigene, toleranz, Konflikt::Lesart::Raumtest,
            [&](const Konflikt::Treffer& t) {
                frei[t.termin] = false;
                return true;
            },
            &error))
        return scheitern(error);

    // Among themselves: by room and first day, each against those of its room already back
    // that may still reach its first day.
    QVector<int> folge(kandidaten.size());
    std::iota(folge.begin(), folge.end(), 0);
    std::stable_sort(folge.begin(), folge.end(), [&](int a, int b) {
        return std::make_pair(termine[a].raum, termine[a].spanne.startDatum) <
               std::make_pair(termine[b].raum, termine[b].spanne.startDatum);
    });
    QVector<int> zurueck;
    for (const int i : std::as_const(folge)) {
        if (!frei[i])
            continue;
        const Konflikt::Termin& t = termine[i];
        zurueck.removeIf([&](int k) {
            return termine[k].raum != t.raum ||
                   termine[k].spanne.endDatum + 1 < t.spanne.startDatum;
        });
        for (const int k : std::as_const(zurueck))
            if (!Konflikt::KeinKonflikt(t.spanne, termine[k].spanne, toleranz))
                frei[i] = false;
        if (frei[i])
            zurueck.append(i);
    }

    QSqlQuery upd(tx.db());
    if (!upd.prepare(QStringLiteral("UPDATE T_fm_belegung SET bArchiviert = 0 WHERE Rec_ID = ?")))
        return scheitern(upd.lastError());
    QVector<int32_t> geholt;
    for (qsizetype i = 0; i < kandidaten.size(); ++i) {
        if (!frei[i]) {
            e.geblieben.append({kandidaten[i], RaumName(tx.db(), kandidaten[i].rb_id)});
            continue;
        }
        upd.addBindValue(kandidaten[i].Rec_ID);
        if (!upd.exec())
            return scheitern(upd.lastError());
        geholt.append(kandidaten[i].Rec_ID);
    }
    QSqlError fehler;
    if (!AenderungsJournal::Vermerke(tx.db(), AenderungsJournal::Art::Belegung, geholt, &fehler))
        return scheitern(fehler);
    return true;
}

} // namespace

ArchivErgebnis Archivieren(const QString& connection, double datum, double toleranz) {
    ArchivErgebnis e;
    SchreibTransaktion tx(Verbindung(connection));
    if (!Begonnen(tx, kMsgArchiv, e) || !SperreAlleRaeume(tx, kMsgArchiv, e))
        return e;
    const double tag = std::floor(datum);
    {
        // The portal learns of every booking that leaves the current ones.
        QSqlError fehler;
        if (!AenderungsJournal::VermerkeBelegungen(
                tx.db(), QStringLiteral("bArchiviert = 0 AND dt_bis < ?"), {tag}, &fehler)) {
            static_cast<Ergebnis&>(e) = Gescheitert(tx, kMsgArchiv, fehler);
            return e;
        }
        QSqlQuery q(tx.db());
        if (!ExecBound(q,
                       QStringLiteral("UPDATE T_fm_belegung SET bArchiviert = -1 "
                                      "WHERE bArchiviert = 0 AND dt_bis < ?"),
                       {tag})) {
            static_cast<Ergebnis&>(e) = Gescheitert(tx, kMsgArchiv, q.lastError());
            return e;
        }
    }
    if (Zurueckholen(tx, QStringLiteral("dt_bis >= ?"), tag, toleranz, kMsgArchiv, e) &&
        Geschlossen(tx, kMsgArchiv, e))
        Dialekt::Von(tx.db()).StatistikPflegen(tx.db());
    return e;
}

ArchivErgebnis Wiederherstellen(const QString& connection, double datum, double toleranz) {
    ArchivErgebnis e;
    SchreibTransaktion tx(Verbindung(connection));
    if (Begonnen(tx, kMsgZurueck, e) && SperreAlleRaeume(tx, kMsgZurueck, e) &&
        Zurueckholen(tx, QStringLiteral("dt_von > ?"), std::floor(datum), toleranz, kMsgZurueck,
                     e) &&
        Geschlossen(tx, kMsgZurueck, e))
        Dialekt::Von(tx.db()).StatistikPflegen(tx.db());
    return e;
}

// --- for the forms ------------------------------------------------------------------------------

QString Wann(const CBelegungRec& b) {
    const auto datum = [](double d) { return TovoDate(d).toShortDateText(); };
    const auto zeit = [](double t) {
        return TovoDate(t).timePart().toQTime().toString(QStringLiteral("HH:mm"));
    };
    if (TovoDate(b.dt_von).datePart() == TovoDate(b.dt_bis).datePart())
        return QStringLiteral("am %1 von %2 bis %3")
            .arg(datum(b.dt_von), zeit(b.tm_von), zeit(b.tm_bis));
    return QStringLiteral("vom %1, %2 bis %3, %4")
        .arg(datum(b.dt_von), zeit(b.tm_von), datum(b.dt_bis), zeit(b.tm_bis));
}

QString KonfliktMeldung(const Ergebnis& e) {
    const CBelegungRec& b = e.imWeg;
    return QStringLiteral("Die Reservierung wurde nicht gespeichert: Der Raum ist in dieser Zeit "
                          "bereits belegt.") +
           kCrLf + kCrLf + QStringLiteral("Raum: '") + e.raumName + QStringLiteral("' ") + Wann(b) +
           (e.imWegArchiviert ? QStringLiteral(" (archiviert)") : QString()) + kCrLf +
           QStringLiteral("Besteller: ") + b.Best;
}

QString BelegtMeldung() {
    return QStringLiteral("Die Datenbank wird gerade von einem anderen Arbeitsplatz beschrieben. "
                          "Bitte versuchen Sie es in einigen Sekunden erneut.");
}

QString NummerVergebenMeldung(int32_t nummer) {
    return QStringLiteral("Es existiert bereits ein Auftrag mit der Auftragsnummer ") +
           QString::number(nummer) + QStringLiteral(". Bitte ändern Sie die Auftragsnummer!");
}

bool Ausfuehren(const std::function<Ergebnis(std::optional<int32_t> wunschNr)>& schritt,
                const std::function<int32_t(int32_t vergeben)>& nummerErfragen, Ergebnis* ergebnis,
                bool konfliktMelden) {
    std::optional<int32_t> wunsch;
    for (;;) {
        const Ergebnis e = schritt(wunsch);
        if (ergebnis)
            *ergebnis = e;
        switch (e.status) {
        case Status::Ok:
            return true;
        case Status::NummerVergeben: {
            MsgBox(NummerVergebenMeldung(e.auftrNr), PromptButtons::Ok, PromptIcon::Critical,
                   QStringLiteral("Problem"));
            const int32_t neu = nummerErfragen ? nummerErfragen(e.auftrNr) : -1;
            if (neu < 0)
                return false; // cancelled: nothing written, the counter untouched
            wunsch = neu;
            break;
        }
        case Status::Belegt:
            if (MsgBox(BelegtMeldung(), PromptButtons::RetryCancel, PromptIcon::Exclamation) !=
                PromptResult::Retry)
                return false;
            break;
        case Status::Konflikt:
            if (konfliktMelden)
                MsgBox(KonfliktMeldung(e), PromptButtons::Ok, PromptIcon::Exclamation,
                       QStringLiteral("Speichern"));
            return false;
        case Status::Getrennt:
            MsgBox(GetrenntMeldung() + kCrLf + kCrLf + e.meldung, PromptButtons::Ok,
                   PromptIcon::Critical);
            return false;
        case Status::Fehler:
            MsgBox(e.fehler.isEmpty() ? e.meldung : e.meldung + kCrLf + e.fehler, PromptButtons::Ok,
                   PromptIcon::Critical);
            return false;
        }
    }
}

} // namespace SchreibPfad
