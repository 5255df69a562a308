#pragma once

#include "DatenbankOrt.h"
#include "ListControl.h"
#include "RecColl.h"
#include "Records.h"
#include "ReservationQueries.h"
#include "SchreibPfad.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

// The one gateway to the reservation database: the SQLite file TovoRaumverw.mdb, or a database
// on a PostgreSQL server (DatenbankOrt.h).
// Operations never show messages: they return false and leave a German sentence in LastError()
// (followed by CR LF and the driver's text when the driver failed). The two archive operations
// return the write path's result instead.
class CRvDb {
public:
    CRvDb();
    ~CRvDb();
    CRvDb(const CRvDb&) = delete;
    CRvDb& operator=(const CRvDb&) = delete;

    QString LastError() const { return m_lastError; }

    void SetDbPath(const QString& path);
    DatenbankOrt Ort() const { return m_ort; }
    void SetDatenbankOrt(const DatenbankOrt& ort);
    void SetOpenOptions(const QVariant& options);
    bool OpenReadOnly() const { return m_openReadOnly; }
    void SetOpenReadOnly(bool readOnly);

    bool OpenDb();
    void CloseDb();
    bool IsOpen() const;
    // Name of the Qt SQL connection while open (for the query helpers); empty when closed.
    QString ConnectionName() const;

    bool IsValidDb();

    bool Readfm_belegungRec(CBelegungRec* rec);
    // Archive up to a date and restore from a date (SchreibPfad::Archivieren, Wiederherstellen).
    SchreibPfad::ArchivErgebnis ArchiviereBelegungen(double archivDatum, double toleranz);
    SchreibPfad::ArchivErgebnis DeArchiviereBelegungen(double archivDatum, double toleranz);
    bool ReadAuftrag2Coll(int32_t auftragNr, CBelegungRecColl* coll);

    bool AddNewMitarbeiterRec(CMitarbeiterRec* rec);
    bool EditMitarbeiterRec(CMitarbeiterRec* rec);
    bool ReadMitarbeiterRec(CMitarbeiterRec* rec);
    bool DelMitarbeiterRec(int32_t id);

    bool AddNewrb_AnzeigeRec(CAnzeigeRec* rec);
    bool Editrb_AnzeigeRec(CAnzeigeRec* rec);
    bool Readrb_AnzeigeRec(CAnzeigeRec* rec);
    bool ReadRaumByLang(CAnzeigeRec* rec);
    bool ReadRaumByArt(CAnzeigeRec* rec);
    bool Delrb_AnzeigeRec(int32_t id);
    bool ReadAllRoomsForWeb(CAnzeigeRecColl* coll);
    bool ReadAllrb_AnzeigeRec2Coll(CAnzeigeRecColl* coll);

    bool ReadAllMitarbeiter2Coll(CMitarbeiterRecColl* coll);

    bool AddNewRaumartRec(CRaumartRec* rec);
    bool EditRaumartRec(CRaumartRec* rec);
    bool ReadRaumartRec(CRaumartRec* rec);
    bool ReadRaumartRecByName(CRaumartRec* rec);
    bool DelRaumartRec(int32_t id);
    bool ReadAllRaumartRec2Ctrl(IListControl* ctrl, bool withAlle);
    bool ReadAllRaumartRec2Coll(CRaumartRecColl* coll);

private:
    QSqlDatabase db() const;
    // Creates the indexes a project database lacks, drops those of earlier versions that no
    // read uses, and keeps the planner's statistics in step with the data.
    void PflegeIndexe();
    // "spalte = ?" without regard to case.
    QString gleichOhneGrossKlein(const QString& spalte) const;
    // Runs `schritt` in one write transaction, committed when it returns true; a call inside
    // another joins it. False with `message` when the transaction cannot begin or commit.
    bool schreiben(const QString& message, const std::function<bool()>& schritt);
    // Starts an operation: clears LastError; false (with `message`) when no database is open.
    bool begin(const QString& message);
    // Ends a failed operation: LastError := message, plus CR LF and the driver's text if it failed.
    bool fail(const QString& message, const QSqlError& error = QSqlError());

    // Generic single-record operations on the record's table, keyed by its key column.
    template <class Rec> bool addRec(Rec* rec);
    template <class Rec> bool editRec(Rec* rec);
    template <class Rec> bool readRec(Rec* rec);
    template <class Rec> bool delRec(int32_t id);
    // Reads the first row of `sql` into rec; no row: true with rec unchanged when
    // `noRowIsOk`, else the read message.
    template <class Rec>
    bool readFirst(Rec* rec, const QString& sql, const QVariantList& binds, bool noRowIsOk);
    // Clears coll and appends every row of `sql`.
    template <class Rec>
    bool readColl(CRecColl<Rec>* coll, const QString& sql, const QVariantList& binds = {});
    // Clears coll and appends the rooms of the one room reader.
    bool readRooms(CAnzeigeRecColl* coll, const ReservationQueries::RaumAuswahl& auswahl);
    // Clears ctrl, optionally adds "Alle" (0), then one item per row: text from the row, item
    // data from column 0.
    // Fills a list with the second column as text and the first as item data.
    bool readCtrl(IListControl* ctrl, const QString& sql, bool withAlle);

    QString m_lastError;
    DatenbankOrt m_ort;
    QVariant m_openOptions = false;
    bool m_openReadOnly = true;
    QString m_connName;      // unique per object
    QString m_connection;    // = m_connName while open; empty = closed
    bool m_schreibt = false; // inside schreiben()
};
