#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <cstdint>
#include <memory>

// The rows of one query, read forward value by value. For the thousands of rows a plan shows:
// QtSql first copies every value of a row into a QVariant, which costs more than the database's
// own reading, so on SQLite and on the server the stream reads straight from their libraries.
class ZeilenStrom {
public:
    virtual ~ZeilenStrom() = default;

    // How often the connection runs the statement.
    enum class Plan {
        Einmal,
        // Again and again (the tests of the write path): the server plans it once per
        // connection and then only receives the values.
        Behalten
    };

    // A statement of a batch: its text with placeholders "?", its values, how often it runs.
    struct Anweisung {
        QString sql;
        QVariantList werte;
        Plan plan = Plan::Einmal;
    };
    // Runs `sql` with the values in place of its placeholders "?"; null with the reason in
    // `error` when the statement fails.
    static std::unique_ptr<ZeilenStrom> Oeffne(QSqlDatabase db, const QString& sql,
                                               const QVariantList& werte, QString* error,
                                               Plan plan = Plan::Einmal);

    // The same after the statements `vorher`, run in turn; the server receives them with the
    // query in one round trip.
    static std::unique_ptr<ZeilenStrom> Oeffne(QSqlDatabase db, const QVector<Anweisung>& vorher,
                                               const QString& sql, const QVariantList& werte,
                                               QString* error, Plan plan = Plan::Einmal);
    // Server connections only: the statements sent in one round trip and run in turn until one
    // fails, each with its own snapshot of the data. The rows are those of statement number
    // `zeilenVon`; null with the first failure in `error`, with the server's error code.
    static std::unique_ptr<ZeilenStrom> Stapel(QSqlDatabase db,
                                               const QVector<Anweisung>& anweisungen,
                                               qsizetype zeilenVon, QSqlError* error);

    // The next row; false at the end and after an error (see Fehler).
    virtual bool Naechste() = 0;
    virtual bool Leer(int spalte) const = 0;
    virtual double Zahl(int spalte) const = 0;
    virtual int32_t Ganzzahl(int spalte) const = 0;
    virtual QString Text(int spalte) const = 0;
    // True when reading failed, with the reason in `error`.
    virtual bool Fehler(QString* error) const = 0;
};
