#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
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

    // Runs `sql` with the values in place of its placeholders "?"; null with the reason in
    // `error` when the statement fails.
    static std::unique_ptr<ZeilenStrom> Oeffne(QSqlDatabase db, const QString& sql,
                                               const QVariantList& werte, QString* error,
                                               Plan plan = Plan::Einmal);

    // The next row; false at the end and after an error (see Fehler).
    virtual bool Naechste() = 0;
    virtual bool Leer(int spalte) const = 0;
    virtual double Zahl(int spalte) const = 0;
    virtual int32_t Ganzzahl(int spalte) const = 0;
    virtual QString Text(int spalte) const = 0;
    // True when reading failed, with the reason in `error`.
    virtual bool Fehler(QString* error) const = 0;
};
