#include "CRvDb.h"

#include "SqlConnection.h"

#include "AenderungsJournal.h"
#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "ErrorGuard.h"
#include "ReservationQueries.h"
#include "ZeilenAbbildung.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <limits>
#include <vector>

using namespace ZeilenAbbildung;

namespace {

const QString kMsgAdd = QStringLiteral("Der Datensatz konnte nicht gespeichert werden!");
const QString kMsgEdit = QStringLiteral("Der Datensatz konnte nicht aktualisiert werden!");
const QString kMsgRead = QStringLiteral("Der Datensatz konnte nicht gelesen werden!");
const QString kMsgDel = QStringLiteral("Der Datensatz konnte nicht gelöscht werden!");
const QString kMsgColl =
    QStringLiteral("Die Datensätze konnten nicht in die Liste gelesen werden!");
const QString kMsgCtrl =
    QStringLiteral("Die Datensätze konnten nicht ins Listenfeld gelesen werden!");
const QString kMsgStructure = QStringLiteral("Die Struktur der Datenbank ist ungültig!");
const QString kCrLf = QStringLiteral("\r\n");

template <class Rec> QStringList alleSpalten() {
    return dataColumns<Rec>() << QLatin1String(Rec::kKey);
}

// Writes of bookings, rooms and room types are recorded in the change journal for the portal.
template <class Rec> bool Vermerken(QSqlDatabase db, int32_t id, QSqlError& error) {
    using AenderungsJournal::Art;
    if constexpr (std::is_same_v<Rec, CMitarbeiterRec>)
        return true;
    else
        return AenderungsJournal::Vermerke(db,
                                           std::is_same_v<Rec, CBelegungRec>  ? Art::Belegung
                                           : std::is_same_v<Rec, CAnzeigeRec> ? Art::Raum
                                                                              : Art::Raumart,
                                           {id}, &error);
}

// Indexes that the program's reads rely on, by name and what they cover, on either engine. A
// project database made before one of them existed gains it on its next open.
struct IndexDef {
    QString name;
    QString spalten;
};
std::vector<IndexDef> Indexe(const Dialekt& dialekt) {
    return {
        {QStringLiteral("IX_belegung_rb_dt"), QStringLiteral("T_fm_belegung (rb_id, dt_von)")},
        {QStringLiteral("IX_belegung_auftr"), QStringLiteral("T_fm_belegung (lAuftrNr)")},
        {QStringLiteral("IX_belegung_dt_bis"), QStringLiteral("T_fm_belegung (dt_bis)")},
        // Every read of the bookings of a period: views, room tests, series overview, reports.
        {BelegungsZeitraum::IndexName(), BelegungsZeitraum::IndexSpalten(dialekt)},
        {QStringLiteral("IX_anzeige_kurzbez"), QStringLiteral("T_rb_Anzeige (Kurzbez)")},
        {QStringLiteral("IX_anzeige_raumart"), QStringLiteral("T_rb_Anzeige (lRaumartId)")},
    };
}
// Indexes of earlier versions that no read uses any more: dropped, so that writes need not keep
// them up.
const char* const kVeralteteIndexe[] = {"IX_belegung_rb_bis", "IX_belegung_rb_ubis",
                                        "IX_belegung_rb_rbis", "IX_belegung_raum_belegt"};

} // namespace

// --- Object and connection ---------------------------------------------------------------------

CRvDb::CRvDb() : m_connName(UniqueConnectionName(QStringLiteral("CRvDb"))) {
    CloseDb();
}

CRvDb::~CRvDb() {
    CloseDb();
}

void CRvDb::SetDbPath(const QString& path) {
    SetDatenbankOrt({DbTyp::SQLite, path});
}

void CRvDb::SetDatenbankOrt(const DatenbankOrt& ort) {
    CloseDb();
    m_ort = ort;
}

void CRvDb::SetOpenOptions(const QVariant& options) {
    if (!IsOpen())
        m_openOptions = options;
}

void CRvDb::SetOpenReadOnly(bool readOnly) {
    if (!IsOpen())
        m_openReadOnly = readOnly;
}

QSqlDatabase CRvDb::db() const {
    return Verbindung(m_connection);
}

bool CRvDb::IsOpen() const {
    return !m_connection.isEmpty() && db().isOpen();
}

QString CRvDb::ConnectionName() const {
    return m_connection;
}

bool CRvDb::OpenDb() {
    m_lastError.clear();
    CloseDb();
    if (m_ort.ort.isEmpty())
        return false;

    QString error;
    if (OeffneDatenbank(m_ort, m_connName, m_openReadOnly, &error)) {
        m_connection = m_connName;
        if (!m_openReadOnly) {
            PflegeIndexe();
            AenderungsJournal::Anlegen(db());
        }
        return true;
    }
    m_lastError = (m_ort.aufServer() ? QStringLiteral("Die Datenbank auf dem Server")
                                     : QStringLiteral("Die Datenbank ") + m_ort.ort) +
                  QStringLiteral(" konnte nicht geöffnet werden!") + kCrLf + error;
    return false;
}

void CRvDb::PflegeIndexe() {
    // Nothing here may keep the project from opening: a busy or read-only database is tried
    // again on the next open.
    QSqlDatabase d = db();
    const Dialekt& dialekt = Dialekt::Von(d);
    const QHash<QString, QString> vorhanden = dialekt.Indexe(d);
    QStringList aenderungen;
    for (const IndexDef& ix : Indexe(dialekt)) {
        const auto da = vorhanden.constFind(ix.name.toLower());
        if (da != vorhanden.cend() && *da == dialekt.IndexMarke(ix.spalten))
            continue;
        // Made from an earlier definition: the reads would no longer find it.
        if (da != vorhanden.cend())
            aenderungen << QStringLiteral("DROP INDEX IF EXISTS ") + ix.name;
        aenderungen << dialekt.IndexAnlegen(ix.name, ix.spalten);
    }
    for (const char* name : kVeralteteIndexe)
        if (vorhanden.contains(QString::fromLatin1(name).toLower()))
            aenderungen << QStringLiteral("DROP INDEX IF EXISTS ") + QLatin1String(name);
    bool ok = true;
    if (!aenderungen.isEmpty()) {
        SchreibTransaktion tx(d);
        QSqlQuery q(tx.db());
        ok = tx.offen();
        for (const QString& sql : aenderungen)
            ok = ok && q.exec(sql);
        ok = ok && tx.commit();
    }
    // A database without the program's tables (refused later) is left as it was.
    if (ok)
        dialekt.StatistikPflegen(d);
}

void CRvDb::CloseDb() {
    if (m_connection.isEmpty())
        return;
    const QString name = m_connection;
    m_connection.clear();
    CloseSqliteConnection(name);
}

QString CRvDb::gleichOhneGrossKlein(const QString& spalte) const {
    const Dialekt& d = Dialekt::Von(db());
    return d.OhneGrossKlein(spalte) + QStringLiteral(" = ") + d.OhneGrossKlein(QStringLiteral("?"));
}

bool CRvDb::begin(const QString& message) {
    m_lastError.clear();
    if (IsOpen())
        return true;
    return fail(message);
}

bool CRvDb::schreiben(const QString& message, const std::function<bool()>& schritt) {
    if (m_schreibt)
        return schritt();
    SchreibTransaktion tx(db());
    if (!tx.offen())
        return fail(message, tx.fehler());
    m_schreibt = true;
    const bool ok = schritt();
    m_schreibt = false;
    return ok && (tx.commit() || fail(message, tx.fehler()));
}

bool CRvDb::fail(const QString& message, const QSqlError& error) {
    m_lastError = message;
    if (error.type() != QSqlError::NoError) {
        // The connection as the failure left it: db() would open a lost one again.
        const QString text = FehlerText(QSqlDatabase::database(m_connection, false), error);
        if (!text.isEmpty())
            m_lastError += kCrLf + text;
    }
    return false;
}

// --- Checks ------------------------------------------------------------------------------------

bool CRvDb::IsValidDb() {
    if (!begin(kMsgStructure))
        return false;
    const QStringList tables = db().tables();
    if (db().lastError().type() != QSqlError::NoError)
        return fail(kMsgStructure, db().lastError());
    for (const char* name : {"T_fm_belegung", "T_Mitarbeiter", "T_NextNr", "T_rb_Anzeige"}) {
        const QString table = QLatin1String(name);
        if (!tables.contains(table, Qt::CaseInsensitive))
            return fail(kMsgStructure + kCrLf + QStringLiteral("Die Tabelle ") + table +
                        QStringLiteral(" fehlt."));
    }
    // The columns the program reads and writes; the room types only when their table exists.
    QStringList fehlend;
    auto pruefe = [&](const QString& table, QStringList columns) {
        QSqlQuery q(db());
        q.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table));
        const QSqlRecord rec = q.record();
        QStringList missing;
        for (const QString& c : columns)
            if (rec.indexOf(c) < 0)
                missing << c;
        if (missing.size() == 1)
            fehlend << QStringLiteral("In der Tabelle %1 fehlt die Spalte %2.")
                           .arg(table, missing.first());
        else if (!missing.isEmpty())
            fehlend << QStringLiteral("In der Tabelle %1 fehlen die Spalten %2.")
                           .arg(table, missing.join(QStringLiteral(", ")));
    };
    pruefe(QStringLiteral("T_fm_belegung"), alleSpalten<CBelegungRec>()
                                                << QStringLiteral("bArchiviert"));
    pruefe(QStringLiteral("T_rb_Anzeige"), alleSpalten<CAnzeigeRec>());
    pruefe(QStringLiteral("T_Mitarbeiter"), alleSpalten<CMitarbeiterRec>());
    pruefe(QStringLiteral("T_NextNr"), {QStringLiteral("lNextNr")});
    if (tables.contains(QStringLiteral("T_Raumart"), Qt::CaseInsensitive))
        pruefe(QStringLiteral("T_Raumart"), alleSpalten<CRaumartRec>());
    if (!fehlend.isEmpty())
        return fail(kMsgStructure + kCrLf + fehlend.join(kCrLf));
    return true;
}

// --- Generic record operations -----------------------------------------------------------------

template <class Rec> bool CRvDb::addRec(Rec* rec) {
    m_lastError.clear();
    if (!rec)
        return false;
    int32_t id = 0;
    const auto schritt = [&] {
        QSqlQuery q(db());
        if (!ExecBound(q, insertSql<Rec>(), fieldValues(*rec)))
            return fail(kMsgAdd, q.lastError());
        // The key first: the journal's insert moves the connection's last row id.
        id = q.lastInsertId().toInt();
        QSqlError error;
        return Vermerken<Rec>(db(), id, error) || fail(kMsgAdd, error);
    };
    const bool ok = begin(kMsgAdd) && schreiben(kMsgAdd, schritt);
    rec->key() = ok ? id : 0;
    return ok;
}

template <class Rec> bool CRvDb::editRec(Rec* rec) {
    m_lastError.clear();
    if (!rec)
        return false;
    if (!begin(kMsgEdit))
        return false;
    return schreiben(kMsgEdit, [&] {
        QSqlQuery q(db());
        if (!ExecBound(q, updateSql<Rec>(), fieldValues(*rec) << rec->key()))
            return fail(kMsgEdit, q.lastError());
        if (q.numRowsAffected() < 1)
            return fail(kMsgEdit);
        QSqlError error;
        return Vermerken<Rec>(db(), rec->key(), error) || fail(kMsgEdit, error);
    });
}

template <class Rec> bool CRvDb::readRec(Rec* rec) {
    m_lastError.clear();
    if (!rec)
        return false;
    return readFirst(rec, byKeySql<Rec>("SELECT *"), {rec->key()}, false);
}

template <class Rec>
bool CRvDb::readFirst(Rec* rec, const QString& sql, const QVariantList& binds, bool noRowIsOk) {
    m_lastError.clear();
    if (!rec)
        return false;
    if (!begin(kMsgRead))
        return false;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!ExecBound(q, sql, binds))
        return fail(kMsgRead, q.lastError());
    if (!q.next()) {
        if (HasSqlError(q))
            return fail(kMsgRead, q.lastError());
        return noRowIsOk ? true : fail(kMsgRead);
    }
    Rec row;
    if (!RowReader<Rec>(q.record()).read(q, row))
        return fail(kMsgRead);
    rec->CopyFrom(row);
    return true;
}

template <class Rec> bool CRvDb::delRec(int32_t id) {
    if (!begin(kMsgDel))
        return false;
    return schreiben(kMsgDel, [&] {
        QSqlQuery q(db());
        if (!ExecBound(q, byKeySql<Rec>("DELETE"), {id}))
            return fail(kMsgDel, q.lastError());
        if (q.numRowsAffected() < 1)
            return fail(kMsgDel);
        QSqlError error;
        return Vermerken<Rec>(db(), id, error) || fail(kMsgDel, error);
    });
}

template <class Rec>
bool CRvDb::readColl(CRecColl<Rec>* coll, const QString& sql, const QVariantList& binds) {
    m_lastError.clear();
    if (!coll)
        return false;
    coll->Clear();
    if (!begin(kMsgColl))
        return false;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!ExecBound(q, sql, binds))
        return fail(kMsgColl, q.lastError());
    const RowReader<Rec> reader(q.record());
    Rec row; // one scratch record; Append stores a copy
    while (q.next()) {
        if (!reader.read(q, row) || !coll->Append(&row))
            return fail(kMsgColl);
    }
    if (HasSqlError(q))
        return fail(kMsgColl, q.lastError());
    return true;
}

bool CRvDb::readCtrl(IListControl* ctrl, const QString& sql, bool withAlle) {
    m_lastError.clear();
    if (!ctrl)
        return false;
    ctrl->Clear();
    if (!begin(kMsgCtrl))
        return false;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!ExecBound(q, sql))
        return fail(kMsgCtrl, q.lastError());
    if (withAlle) {
        ctrl->AddItem(QStringLiteral("Alle"));
        ctrl->SetItemData(ctrl->NewIndex(), 0);
    }
    while (q.next()) {
        ctrl->AddItem(q.value(1).toString());
        ctrl->SetItemData(ctrl->NewIndex(), q.value(0).toInt());
    }
    if (HasSqlError(q))
        return fail(kMsgCtrl, q.lastError());
    return true;
}

// --- Bookings ----------------------------------------------------------------------------------

bool CRvDb::Readfm_belegungRec(CBelegungRec* rec) {
    return readRec(rec);
}
bool CRvDb::ReadAuftrag2Coll(int32_t auftragNr, CBelegungRecColl* coll) {
    return readColl<CBelegungRec>(
        coll,
        QStringLiteral("SELECT * FROM T_fm_belegung WHERE lAuftrNr = ? ORDER BY dt_von, Rec_ID"),
        {auftragNr});
}

// Archiving goes through the write path: bookings that come back are tested like new ones.
SchreibPfad::ArchivErgebnis CRvDb::ArchiviereBelegungen(double archivDatum, double toleranz) {
    return SchreibPfad::Archivieren(ConnectionName(), archivDatum, toleranz);
}

SchreibPfad::ArchivErgebnis CRvDb::DeArchiviereBelegungen(double archivDatum, double toleranz) {
    return SchreibPfad::Wiederherstellen(ConnectionName(), archivDatum, toleranz);
}

// --- Employees ---------------------------------------------------------------------------------

bool CRvDb::AddNewMitarbeiterRec(CMitarbeiterRec* rec) {
    return addRec(rec);
}
bool CRvDb::EditMitarbeiterRec(CMitarbeiterRec* rec) {
    return editRec(rec);
}
bool CRvDb::ReadMitarbeiterRec(CMitarbeiterRec* rec) {
    return readRec(rec);
}
bool CRvDb::DelMitarbeiterRec(int32_t id) {
    return delRec<CMitarbeiterRec>(id);
}

bool CRvDb::ReadAllMitarbeiter2Coll(CMitarbeiterRecColl* coll) {
    return readColl<CMitarbeiterRec>(coll,
                                     QStringLiteral("SELECT * FROM T_Mitarbeiter ORDER BY lId"));
}

// --- Rooms -------------------------------------------------------------------------------------

bool CRvDb::AddNewrb_AnzeigeRec(CAnzeigeRec* rec) {
    return addRec(rec);
}
bool CRvDb::Editrb_AnzeigeRec(CAnzeigeRec* rec) {
    return editRec(rec);
}
bool CRvDb::Readrb_AnzeigeRec(CAnzeigeRec* rec) {
    return readRec(rec);
}

// Names compare without regard to case, as room and type names are unique regardless of case.
bool CRvDb::ReadRaumByLang(CAnzeigeRec* rec) {
    if (!rec) {
        m_lastError.clear();
        return false;
    }
    return readFirst(rec,
                     QStringLiteral("SELECT * FROM T_rb_Anzeige WHERE %1 ORDER BY az_ID LIMIT 1")
                         .arg(gleichOhneGrossKlein(QStringLiteral("Kurzbez"))),
                     {dbValue(rec->Kurzbez)}, true);
}

bool CRvDb::ReadRaumByArt(CAnzeigeRec* rec) {
    if (!rec) {
        m_lastError.clear();
        return false;
    }
    return readFirst(
        rec,
        QStringLiteral("SELECT * FROM T_rb_Anzeige WHERE lRaumartId = ? ORDER BY az_ID LIMIT 1"),
        {rec->lRaumartId}, true);
}

bool CRvDb::Delrb_AnzeigeRec(int32_t id) {
    if (!begin(kMsgDel))
        return false;
    bool gefunden = false;
    const bool ok = schreiben(kMsgDel, [&] {
        // The room's bookings go first, archived ones included, and stay deleted when the room
        // itself is not found.
        QSqlQuery q(db());
        QSqlError error;
        if (!AenderungsJournal::VermerkeBelegungen(db(), QStringLiteral("rb_id = ?"), {id}, &error))
            return fail(kMsgDel, error);
        if (!ExecBound(q, QStringLiteral("DELETE FROM T_fm_belegung WHERE rb_id = ?"), {id}) ||
            !ExecBound(q, byKeySql<CAnzeigeRec>("DELETE"), {id}))
            return fail(kMsgDel, q.lastError());
        gefunden = q.numRowsAffected() > 0;
        return !gefunden || Vermerken<CAnzeigeRec>(db(), id, error) || fail(kMsgDel, error);
    });
    return ok && (gefunden || fail(kMsgDel));
}

bool CRvDb::readRooms(CAnzeigeRecColl* coll, const ReservationQueries::RaumAuswahl& auswahl) {
    m_lastError.clear();
    if (!coll)
        return false;
    coll->Clear();
    QVector<CAnzeigeRec> raeume;
    QString error;
    if (!begin(kMsgColl))
        return false;
    if (!ReservationQueries::ReadRaeume(m_connection, auswahl, raeume, &error)) {
        m_lastError = kMsgColl + kCrLf + error;
        return false;
    }
    for (CAnzeigeRec& raum : raeume)
        coll->Append(&raum);
    return true;
}

bool CRvDb::ReadAllRoomsForWeb(CAnzeigeRecColl* coll) {
    return readRooms(coll, {.folge = ReservationQueries::RaumAuswahl::Folge::Id, .mitArt = true});
}

bool CRvDb::ReadAllrb_AnzeigeRec2Coll(CAnzeigeRecColl* coll) {
    return readRooms(coll, {});
}

// --- Room types --------------------------------------------------------------------------------

bool CRvDb::AddNewRaumartRec(CRaumartRec* rec) {
    return addRec(rec);
}
bool CRvDb::EditRaumartRec(CRaumartRec* rec) {
    return editRec(rec);
}
bool CRvDb::ReadRaumartRec(CRaumartRec* rec) {
    return readRec(rec);
}
bool CRvDb::DelRaumartRec(int32_t id) {
    return delRec<CRaumartRec>(id);
}

bool CRvDb::ReadRaumartRecByName(CRaumartRec* rec) {
    if (!rec) {
        m_lastError.clear();
        return false;
    }
    return readFirst(rec,
                     QStringLiteral("SELECT * FROM T_Raumart WHERE %1 ORDER BY lId LIMIT 1")
                         .arg(gleichOhneGrossKlein(QStringLiteral("stRaumArt"))),
                     {dbValue(rec->stRaumArt)}, true);
}

bool CRvDb::ReadAllRaumartRec2Ctrl(IListControl* ctrl, bool withAlle) {
    return readCtrl(ctrl, QStringLiteral("SELECT lId, stRaumArt FROM T_Raumart ORDER BY lId"),
                    withAlle);
}

bool CRvDb::ReadAllRaumartRec2Coll(CRaumartRecColl* coll) {
    return readColl<CRaumartRec>(coll, QStringLiteral("SELECT * FROM T_Raumart ORDER BY lId"));
}
