#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <utility>

// What the store says in SQLite's own words: planner statistics, query plans, statement
// recording and the change counter. Everything else of the store is plain SQL.
namespace SqlitePlaner {

// Sets up a new connection: SQLite 3.40 can answer wrongly when it puts a Bloom filter on an
// index on expressions, as the index of the periods is, so the planner may not.
void VerbindungEinrichten(QSqlDatabase db);

// Planner statistics that fit the data: gathered (from a sample of each index, so quickly at
// any size) for the tables whose indexes have none and for those whose rows have grown or
// shrunk by half or more since they were gathered. Never fails: a busy or read-only database
// is looked after on a later call.
void StatistikPflegen(QSqlDatabase db);

// The steps of the plan of `sql` (its placeholders left unbound) as the planner reports them,
// one line each; empty when it cannot be prepared.
QStringList Abfrageplan(QSqlDatabase db, const QString& sql);
// True when every step of the plan that reads table `alias` searches an index with a range
// bounded on both sides, and no Bloom filter is put on it.
bool LiestNurBereiche(const QStringList& plan, const QString& alias);

// Records the text of every statement the connection runs while the object lives.
class Mitschnitt {
public:
    explicit Mitschnitt(QSqlDatabase db);
    ~Mitschnitt();
    Mitschnitt(const Mitschnitt&) = delete;
    Mitschnitt& operator=(const Mitschnitt&) = delete;
    const QStringList& Anweisungen() const { return m_anweisungen; }

private:
    static int Aufzeichnen(unsigned art, void* selbst, void* anweisung, void*);
    void* m_verbindung = nullptr;
    QStringList m_anweisungen;
};

// A value that changes whenever this connection or any other commits a change to the data.
using Stand = std::pair<qint64, qint64>;
Stand Datenstand(QSqlDatabase db);

} // namespace SqlitePlaner
