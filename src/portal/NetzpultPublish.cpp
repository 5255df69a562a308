#include "NetzpultPublish.h"

#include "AenderungsJournal.h"
#include "NetzpultZeilen.h"
#include "ReservationQueries.h"
#include "SqlConnection.h"
#include "ToolsNetzpult.h"
#include "WebQueries.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <limits>

namespace NetzpultPublish {

namespace {

namespace AJ = AenderungsJournal;
namespace NZ = NetzpultZeilen;

// Bookings read from the project per step of a full copy, keys per step of the changes, and
// index entries per statement when a full copy deletes the published bookings: every statement
// stays short, far below the timeout, and the memory used does not grow with the project.
constexpr int kLeseBlock = 2000;
constexpr int kSchluesselBlock = 500;
constexpr int kLoeschBlock = 20000;

const QString kCrLf = QStringLiteral("\r\n");
// Rooms as published: with the name of their type in RArt, by id.
const ReservationQueries::RaumAuswahl kVeroeffentlicht = {
    .folge = ReservationQueries::RaumAuswahl::Folge::Id, .mitArt = true};
const QString kAbgelehnt = QStringLiteral("Das Netzpult hat eine Anweisung abgelehnt.");

// The MySQL client's codes for a server that went away or did not answer in time.
bool KeineAntwort(const QSqlError& e) {
    const int code = e.nativeErrorCode().toInt();
    return code == 2006 || code == 2013 ||
           ((code == 2002 || code == 2003) &&
            e.text().contains(QLatin1String("timeout"), Qt::CaseInsensitive));
}

bool Fehler(QString* error, const QString& text, const QSqlError& sql = QSqlError()) {
    if (error) {
        *error = text;
        if (sql.isValid())
            *error += kCrLf + sql.text();
    }
    return false;
}

bool Ausfuehren(QSqlDatabase db, const QString& sql, QString* error) {
    QSqlQuery q(db);
    return q.exec(sql) || Fehler(error, kAbgelehnt, q.lastError());
}

// Numbers the rows `bedingung` selects 1, 2, 3 ... in the order the server returns them.
QStringList NummerierenSql(const QString& bedingung) {
    return {QStringLiteral("SET @tovo_nr := 0"),
            QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = (@tovo_nr := @tovo_nr + 1) WHERE ") +
                bedingung};
}

// One publication: its two connections, what it decided and how far it got.
class Lauf {
public:
    Lauf(const Auftrag& auftrag, const Fortschritt& fortschritt)
        : m_auftrag(auftrag), m_fortschritt(fortschritt),
          m_projekt(UniqueConnectionName(QStringLiteral("netzpult_projekt"))) {}
    ~Lauf() {
        m_portal.Schliessen(); // a transaction still open is rolled back by the server
        CloseSqliteConnection(m_projekt);
    }

    Ergebnis fuehreAus() {
        AJ::Stand stand;
        QString error;
        QSqlError sqlFehler;
        if (!m_portal.Oeffnen(m_auftrag.connText, m_auftrag.timeoutSek, &error, &sqlFehler))
            return scheitern(KeineAntwort(sqlFehler) ? Status::KeineAntwort : Status::Fehler,
                             KeineAntwort(sqlFehler) ? keineAntwort(sqlFehler) : error);
        if (!OeffneDatenbank(m_auftrag.ort, m_projekt, false, &error) ||
            !AJ::ReadStand(projekt(), stand, &error)) {
            projektFehler(error);
            return m_ergebnis;
        }
        if (!sperren() || !entscheide(stand) || (m_ergebnis.vollstaendig && !sichereIndex()))
            return m_ergebnis;
        if (!portal().transaction()) {
            portalFehler(portal().lastError());
            return m_ergebnis;
        }
        if (!(m_ergebnis.vollstaendig ? kopiere() : uebertrage(stand.bisNr)) || !nummeriere() ||
            !weiter(0))
            return m_ergebnis;
        m_imCommit = true;
        if (!portal().commit()) {
            portalFehler(portal().lastError());
            return m_ergebnis;
        }
        // Entries that fail to go are applied once more next time, which does no harm.
        const QString ziel = m_portal.Ziel();
        AJ::Abschliessen(projekt(), stand.bisNr, m_ergebnis.vollstaendig ? &ziel : nullptr,
                         nullptr);
        return m_ergebnis;
    }

private:
    QSqlDatabase portal() const { return m_portal.db(); }
    QSqlDatabase projekt() const { return QSqlDatabase::database(m_projekt, false); }

    Ergebnis scheitern(Status status, const QString& meldung) {
        if (m_ergebnis.ok()) {
            m_ergebnis.status = status;
            m_ergebnis.meldung = meldung;
        }
        return m_ergebnis;
    }

    QString keineAntwort(const QSqlError& e) const {
        return QStringLiteral("Das Netzpult hat nicht innerhalb von %1 Sekunden geantwortet, oder "
                              "die Verbindung ist abgebrochen.")
                   .arg(m_auftrag.timeoutSek) +
               kCrLf +
               (m_imCommit
                    ? QStringLiteral("Ob es die Aktualisierung noch übernommen hat, ist offen; "
                                     "die nächste Aktualisierung überträgt sie in jedem Fall.")
                    : QStringLiteral("Das Netzpult zeigt weiter den bisherigen Stand; die nächste "
                                     "Aktualisierung überträgt die Änderungen.")) +
               kCrLf + e.text();
    }

    bool portalFehler(const QSqlError& e, const QString& text = kAbgelehnt) {
        if (KeineAntwort(e))
            scheitern(Status::KeineAntwort, keineAntwort(e));
        else
            scheitern(Status::Fehler, text + kCrLf + e.text());
        return false;
    }

    bool projektFehler(const QString& error) {
        scheitern(Status::Fehler,
                  QStringLiteral("Die Reservierungsdatenbank konnte nicht gelesen werden.") +
                      kCrLf + error);
        return false;
    }

    // A portal statement with bound values; `q` receives the query to read its rows.
    bool sql(const QString& text, const QVariantList& werte = {}, QSqlQuery* q = nullptr) {
        QSqlQuery eigene(portal());
        QSqlQuery& query = q ? *q : eigene;
        query.setForwardOnly(true);
        return ExecBound(query, text, werte) || portalFehler(query.lastError());
    }

    // The first value of a portal statement.
    bool wert(const QString& text, QVariant& erster, const QVariantList& werte = {}) {
        QSqlQuery q(portal());
        if (!sql(text, werte, &q))
            return false;
        if (!q.next())
            return portalFehler(q.lastError());
        erster = q.value(0);
        return true;
    }

    // Counts rows done and asks the caller whether to go on.
    bool weiter(qint64 zeilen) {
        m_erledigt += zeilen;
        if (!m_fortschritt || m_fortschritt(m_erledigt, m_gesamt))
            return true;
        scheitern(Status::Abgebrochen,
                  QStringLiteral("Die Aktualisierung des Netzpults wurde abgebrochen. Das Netzpult "
                                 "zeigt weiter den bisherigen Stand."));
        return false;
    }

    // One publication at a time per portal database, whichever workstation runs it: a later one
    // reads the journal and the bookings only after the earlier one committed.
    bool sperren() {
        QVariant gesperrt;
        if (!wert(QStringLiteral("SELECT GET_LOCK(CONCAT('tovo_netzpult.', DATABASE()), ?)"),
                  gesperrt, {std::max(1, m_auftrag.timeoutSek * 2 / 3)}))
            return false;
        if (gesperrt.toInt() == 1)
            return true;
        scheitern(Status::Belegt,
                  QStringLiteral("Das Netzpult wird gerade von einem anderen Arbeitsplatz "
                                 "aktualisiert. Die Änderungen werden mit der nächsten "
                                 "Aktualisierung übertragen."));
        return false;
    }

    // A full copy when asked for, for another portal than last time, for an empty portal, and
    // when the journal holds more than a quarter of the bookings.
    bool entscheide(const AJ::Stand& stand) {
        QVariant gefuellt;
        if (!wert(QStringLiteral("SELECT EXISTS(SELECT 1 FROM T_RAUMART) OR EXISTS(SELECT 1 FROM "
                                 "T_RAUM) OR EXISTS(SELECT 1 FROM T_BELEGUNG WHERE "
                                 "BRESERVIERT<>0)"),
                  gefuellt))
            return false;
        int32_t hoechste = 0;
        QString error;
        if (!WebQueries::HoechsteBelegung(m_projekt, hoechste, &error))
            return projektFehler(error);
        m_ergebnis.vollstaendig =
            m_auftrag.vollstaendig || stand.ziel != m_portal.Ziel() || gefuellt.toInt() == 0 ||
            (stand.eintraege > 4 * kSchluesselBlock && stand.eintraege * 4 > hoechste);
        return true;
    }

    // The changes delete published bookings by key: the portal's table needs an index on it.
    // A portal without one gains it; one that refuses is served without, only slower.
    bool sichereIndex() {
        QVariant indexe;
        if (!wert(QStringLiteral("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE "
                                 "TABLE_SCHEMA = DATABASE() AND UPPER(TABLE_NAME) = 'T_BELEGUNG' "
                                 "AND UPPER(COLUMN_NAME) = 'LBELEGID' AND SEQ_IN_INDEX = 1"),
                  indexe))
            return false;
        m_belegIndex = indexe.toInt() > 0;
        if (!m_belegIndex) {
            QSqlQuery anlegen(portal());
            m_belegIndex = anlegen.exec(
                QStringLiteral("CREATE INDEX IX_BELEGUNG_BELEG ON T_BELEGUNG (LBELEGID)"));
            if (!m_belegIndex && KeineAntwort(anlegen.lastError()))
                return portalFehler(anlegen.lastError());
        }
        return true;
    }

    template <class Rec> bool schreibe(const NZ::Tabelle& t, const QVector<Rec>& recs) {
        QVector<QVariantList> zeilen;
        zeilen.reserve(recs.size());
        for (const Rec& r : recs)
            zeilen.append(NZ::Werte(r));
        QSqlError e;
        return NZ::Einfuegen(portal(), t, zeilen, &e) ||
               portalFehler(e, QStringLiteral("Das Schreiben in die Tabelle %1 des Netzpults ist "
                                              "fehlgeschlagen.")
                                   .arg(t.name));
    }

    bool kopiere() {
        QVector<CRaumartRec> arten;
        QVector<CAnzeigeRec> raeume;
        int32_t hoechste = 0;
        QString error;
        if (!WebQueries::Raumarten(m_projekt, nullptr, arten, &error) ||
            !ReservationQueries::ReadRaeume(m_projekt, kVeroeffentlicht, raeume, &error) ||
            !WebQueries::HoechsteBelegung(m_projekt, hoechste, &error))
            return projektFehler(error);
        m_gesamt = arten.size() + raeume.size() + hoechste;
        if (!sql(QStringLiteral("DELETE FROM T_RAUMART")) || !schreibe(NZ::Raumarten(), arten) ||
            !weiter(arten.size()) || !sql(QStringLiteral("DELETE FROM T_RAUM")) ||
            !schreibe(NZ::Raeume(), raeume) || !weiter(raeume.size()) || !loescheVeroeffentlichte())
            return false;
        // Progress counts keys, as the bookings are read in their order.
        QVector<CBelegungRec> block;
        for (int32_t nach = 0;;) {
            if (!WebQueries::BelegungenAb(m_projekt, nach, kLeseBlock, block, &error))
                return projektFehler(error);
            if (block.isEmpty())
                return true;
            const int32_t letzte = block.constLast().Rec_ID;
            if (!schreibe(NZ::Belegungen(), block) || !weiter(std::max(0, letzte - nach)))
                return false;
            nach = letzte;
        }
    }

    // The published bookings go in ranges of the key index, each a short statement.
    bool loescheVeroeffentlichte() {
        const QString loeschen = QStringLiteral("DELETE FROM T_BELEGUNG WHERE BRESERVIERT<>0");
        if (!m_belegIndex)
            return sql(loeschen);
        for (qint64 von = std::numeric_limits<int32_t>::min();;) {
            QSqlQuery q(portal());
            if (!sql(QStringLiteral("SELECT LBELEGID FROM T_BELEGUNG WHERE LBELEGID >= ? ORDER BY "
                                    "LBELEGID LIMIT 1 OFFSET %1")
                         .arg(kLoeschBlock - 1),
                     {von}, &q))
                return false;
            if (!q.next())
                return sql(loeschen + QStringLiteral(" AND LBELEGID >= ?"), {von});
            const qint64 bis = q.value(0).toLongLong();
            if (!sql(loeschen + QStringLiteral(" AND LBELEGID >= ? AND LBELEGID <= ?"),
                     {von, bis}) ||
                !weiter(0))
                return false;
            von = bis + 1;
        }
    }

    // Replaces the published rows of the keys by what the project holds now, block by block.
    template <class Rec, class Lesen>
    bool ersetze(const NZ::Tabelle& t, const QVector<int32_t>& ids, Lesen lesen) {
        for (qsizetype i = 0; i < ids.size(); i += kSchluesselBlock) {
            const QVector<int32_t> block = ids.mid(i, kSchluesselBlock);
            QVector<Rec> recs;
            QString error;
            if (!lesen(block, recs, &error))
                return projektFehler(error);
            QSqlError e;
            if (!NZ::Loeschen(portal(), t, block, &e))
                return portalFehler(e);
            if (!schreibe(t, recs) || !weiter(block.size()))
                return false;
        }
        return true;
    }

    bool uebertrage(qint64 bisNr) {
        QVector<int32_t> arten, raeume, belegungen, dazu;
        QString error;
        if (!AJ::ReadSchluessel(projekt(), AJ::Art::Raumart, bisNr, arten, &error) ||
            !AJ::ReadSchluessel(projekt(), AJ::Art::Raum, bisNr, raeume, &error) ||
            !AJ::ReadSchluessel(projekt(), AJ::Art::Belegung, bisNr, belegungen, &error))
            return projektFehler(error);
        // A room is published with its type: a changed or deleted type touches its rooms, those
        // of the project and those the portal holds.
        for (qsizetype i = 0; i < arten.size(); i += kSchluesselBlock) {
            const QVector<int32_t> block = arten.mid(i, kSchluesselBlock);
            if (!WebQueries::RaeumeDerArten(m_projekt, block, dazu, &error))
                return projektFehler(error);
            raeume += dazu;
            QSqlQuery q(portal());
            QString marken = QStringLiteral("?");
            QVariantList werte{block.front()};
            for (qsizetype k = 1; k < block.size(); ++k) {
                marken += QStringLiteral(",?");
                werte << block[k];
            }
            if (!sql(QStringLiteral("SELECT LRAUMID FROM T_RAUM WHERE LRAUMARTID IN (%1)")
                         .arg(marken),
                     werte, &q))
                return false;
            while (q.next())
                raeume.append(q.value(0).toInt());
        }
        std::sort(raeume.begin(), raeume.end());
        raeume.erase(std::unique(raeume.begin(), raeume.end()), raeume.end());
        m_gesamt = arten.size() + raeume.size() + belegungen.size();

        const auto artenLesen = [&](const QVector<int32_t>& ids, QVector<CRaumartRec>& out,
                                    QString* err) {
            return WebQueries::Raumarten(m_projekt, &ids, out, err);
        };
        const auto raeumeLesen = [&](const QVector<int32_t>& ids, QVector<CAnzeigeRec>& out,
                                     QString* err) {
            ReservationQueries::RaumAuswahl auswahl = kVeroeffentlicht;
            auswahl.ids = &ids;
            return ReservationQueries::ReadRaeume(m_projekt, auswahl, out, err);
        };
        const auto belegungenLesen = [&](const QVector<int32_t>& ids, QVector<CBelegungRec>& out,
                                         QString* err) {
            return WebQueries::Belegungen(m_projekt, ids, out, err);
        };
        return ersetze<CRaumartRec>(NZ::Raumarten(), arten, artenLesen) &&
               ersetze<CAnzeigeRec>(NZ::Raeume(), raeume, raeumeLesen) &&
               ersetze<CBelegungRec>(NZ::Belegungen(), belegungen, belegungenLesen);
    }

    // The published rows carry 0, the waiting requests 1, 2, 3 ...
    bool nummeriere() {
        if (!sql(QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = 0 WHERE LWUNSCHID <> 0")))
            return false;
        for (const QString& text : NummerierenSql(QStringLiteral("BRESERVIERT=0")))
            if (!sql(text))
                return false;
        return true;
    }

    Auftrag m_auftrag;
    Fortschritt m_fortschritt;
    CNetzpultVerbindung m_portal;
    QString m_projekt; // the connection to the reservation database
    Ergebnis m_ergebnis;
    qint64 m_erledigt = 0;
    qint64 m_gesamt = 0;
    bool m_belegIndex = false; // the portal indexes the published bookings' keys
    bool m_imCommit = false;
};

} // namespace

Ergebnis Veroeffentliche(const Auftrag& auftrag, const Fortschritt& fortschritt) {
    return Lauf(auftrag, fortschritt).fuehreAus();
}

bool NummeriereAntraege(QSqlDatabase db, bool nurNeuUndAenderung, QString* error) {
    if (!db.transaction())
        return Fehler(error, QStringLiteral("Das Netzpult kann keine Transaktion beginnen."),
                      db.lastError());
    const QString bedingung = nurNeuUndAenderung ? QStringLiteral("(STSTATUS='B' OR STSTATUS='K')")
                                                 : QStringLiteral("BRESERVIERT=0");
    bool ok = true;
    for (const QString& text : NummerierenSql(bedingung))
        ok = ok && Ausfuehren(db, text, error);
    if (!ok || !db.commit()) {
        if (error && error->isEmpty())
            Fehler(error, QStringLiteral("Das Netzpult hat die Nummerierung nicht übernommen."),
                   db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

} // namespace NetzpultPublish
