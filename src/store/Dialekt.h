#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <optional>
#include <utility>

class CBelegungRec;
class SchreibTransaktion;

// The engine that holds the reservation database: an SQLite file in the project folder (the
// default) or a PostgreSQL server database.
enum class DbTyp { SQLite, PostgreSQL };

// What a failed statement means for the user.
enum class DbFehlerArt {
    Sonstiges,
    Belegt,  // another workstation holds what is needed longer than the busy timeout
    Getrennt // the connection to the server is gone; the next action opens it again
};

// Where the two engines speak differently. One object per engine, chosen by the connection;
// everything not decided here is plain SQL that both understand.
class Dialekt {
public:
    virtual ~Dialekt() = default;
    static const Dialekt& Von(const QSqlDatabase& db);
    static const Dialekt& Von(const QSqlDriver* driver);
    static const Dialekt& Fuer(DbTyp typ);

    virtual DbTyp Typ() const = 0;

    // Opens the database `ort` (SQLite: a file path; PostgreSQL: a connection text) under a new
    // Qt SQL connection name. False with the reason in `error`; nothing is left behind then.
    virtual bool Oeffne(const QString& ort, const QString& name, bool readOnly,
                        QString* error) const = 0;

    // Runs `sql` with the values in place of its placeholders "?", in order. SQLite binds them to
    // a prepared statement; the server receives them as literals its driver escapes, in one
    // round trip instead of three (prepare, execute, deallocate).
    virtual bool Ausfuehren(QSqlQuery& q, const QString& sql, const QVariantList& werte) const = 0;

    // The statement that starts a transaction meant to write.
    virtual QString BeginnSchreiben() const = 0;
    // The statement that starts a transaction writing the connection's temporary tables only;
    // it may create them in a write-protected project too.
    virtual QString BeginnTemporaer() const = 0;
    // Inside such a transaction: the rooms locked against other writers until it ends, in
    // ascending id order so that two writers never wait for each other in a circle.
    virtual bool SperreRaeume(QSqlDatabase& db, QVector<int32_t> raeume,
                              QSqlError* error) const = 0;
    // What AuftragEintragen did.
    struct Auftrag {
        int32_t nummer = 0;
        bool vergeben = false; // a stored booking carries the number: nothing was written
        QVector<int32_t> ids;  // the keys the bookings drew, in their order
    };
    // The end of a new order, inside such a transaction with its rooms locked and tested: the
    // order-number counter locked against other writers, the number drawn (`wunsch`, else the
    // counter's, else -1) and, unless a stored booking carries it: the bookings inserted under
    // it, their keys recorded in the change journal, the counter set to the number + 1 (unless
    // it is the largest there is) and the transaction committed. The server does all of it in
    // one round trip, so that the counter is held no longer than the server needs.
    virtual bool AuftragEintragen(SchreibTransaktion& tx, const QVector<CBelegungRec>& buchungen,
                                  std::optional<int32_t> wunsch, Auftrag& auftrag,
                                  QSqlError* error) const = 0;

    // The connection's temporary tables of the room tests, created when missing and emptied:
    // tovo_termine (nr, raum, von, bis) and tovo_ausser (rec_id). One statement each, sent
    // together on `db` as they are.
    virtual QStringList TermineLeeren(QSqlDatabase& db) const = 0;
    // The rows (nr, raum, von, bis) of one bound JSON text [[raum, von, bis], ...], nr counting
    // from 0, as a subquery to select from.
    virtual QString TermineAusText() const = 0;
    // The distinct ids (id) of one bound JSON text [id, ...], as a subquery.
    virtual QString IdsAusText() const = 0;

    // Gives the connection its own print table: a temporary t_tmp_Druck with the columns of the
    // project's one, made on first use and gone when the connection closes. Its name hides the
    // project's table on this connection, so two users preparing reports at once never see each
    // other's rows, and a write-protected project prints too.
    virtual bool DruckTabelleVorbereiten(QSqlDatabase& db, QSqlError* error) const = 0;
    // The expression that orders the rows of t_tmp_Druck as they were inserted.
    virtual QString DruckFolge() const = 0;

    // The smallest and the largest of a list of values ("a, b, c").
    virtual QString Kleinster(const QString& liste) const = 0;
    virtual QString Groesster(const QString& liste) const = 0;
    // How many of the ascending limits `grenzen` the value `wert` reaches, 0 to their number.
    virtual QString Stufe(const QString& wert, const QVector<int>& grenzen) const = 0;

    // The table `tabelle` as `alias`, joined to the row sources before it by `bedingung` (which
    // refers to them): read for each of their rows through its index, whatever the planner's
    // statistics say. Follows those row sources in a FROM clause.
    virtual QString JeZeile(const QString& tabelle, const QString& alias,
                            const QString& bedingung) const = 0;

    // `ausdruck` as compared and sorted without regard to case.
    virtual QString OhneGrossKlein(const QString& ausdruck) const = 0;

    // The indexes the database has, by name in lower case, each with the mark it was made with
    // (IndexAnlegen); empty where it has none.
    virtual QHash<QString, QString> Indexe(QSqlDatabase& db) const = 0;
    // The statements that make the index `name` over `spalten` ("table (columns)") with the mark
    // IndexMarke(spalten).
    virtual QStringList IndexAnlegen(const QString& name, const QString& spalten) const = 0;
    // The mark of an index made over `spalten` now. An index of the same name with another mark
    // was made from an earlier definition, and is made anew.
    virtual QString IndexMarke(const QString& spalten) const = 0;
    // Planner statistics that fit the data. Never fails: a busy or read-only database is
    // looked after later.
    virtual void StatistikPflegen(QSqlDatabase& db) const = 0;

    // A value that changes whenever this connection or any other commits a change to the data;
    // first < 0 when the engine cannot tell, which counts as changed.
    using Stand = std::pair<qint64, qint64>;
    virtual Stand Datenstand(QSqlDatabase& db) const = 0;

    // What a failed statement of the connection means.
    virtual DbFehlerArt Art(const QSqlDatabase& db, const QSqlError& error) const = 0;
};
