#pragma once

// How records and rows meet: one reader and one writer for all tables, driven by the records'
// visitFields(). Used by CRvDb and by the booking write path.
#include "Currency.h"
#include "Records.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <limits>
#include <optional>
#include <vector>

namespace ZeilenAbbildung {

inline bool readInt(const QVariant& v, qint64 min, qint64 max, qint64& out) {
    bool ok = false;
    out = v.toLongLong(&ok);
    return ok && out >= min && out <= max;
}

inline bool readValue(const QVariant& v, int32_t& out, NullRule rule) {
    if (v.isNull()) {
        out = 0;
        return rule != NullRule::NotNull;
    }
    qint64 n = 0;
    if (!readInt(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), n))
        return false;
    out = static_cast<int32_t>(n);
    return true;
}

inline bool readValue(const QVariant& v, int16_t& out, NullRule rule) {
    if (v.isNull()) {
        out = 0;
        return rule != NullRule::NotNull;
    }
    qint64 n = 0;
    if (!readInt(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), n))
        return false;
    out = static_cast<int16_t>(n);
    return true;
}

inline bool readValue(const QVariant& v, bool& out, NullRule rule) {
    if (v.isNull()) {
        out = false;
        return rule != NullRule::NotNull;
    }
    qint64 n = 0;
    if (!readInt(v, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(), n))
        return false;
    out = n != 0;
    return true;
}

inline bool readValue(const QVariant& v, double& out, NullRule rule) {
    if (v.isNull()) {
        out = 0.0;
        return rule != NullRule::NotNull;
    }
    bool ok = false;
    out = v.toDouble(&ok);
    return ok;
}

inline bool readValue(const QVariant& v, DateField out, NullRule rule) {
    if (v.isNull()) {
        switch (rule) {
        case NullRule::NotNull:
            return false;
        case NullRule::NoDate:
            out.value = TovoDate::kNoDate;
            return true;
        case NullRule::ZeroDate:
        case NullRule::Empty:
            out.value = TovoDate::kNullDate;
            return true;
        }
        return false;
    }
    bool ok = false;
    out.value = v.toDouble(&ok);
    // A day number outside the calendar would overflow every date routine: it names no date.
    if (ok && !TovoDate::inCalendar(out.value))
        out.value = TovoDate::kNoDate;
    return ok;
}

inline bool readValue(const QVariant& v, Currency& out, NullRule rule) {
    if (v.isNull()) {
        out = Currency();
        return rule != NullRule::NotNull;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    out = Currency::fromDouble(d);
    return ok;
}

// Null means the value is absent, whatever the rule.
inline bool readValue(const QVariant& v, std::optional<double>& out, NullRule) {
    if (v.isNull())
        out.reset();
    else
        out = v.toDouble();
    return true;
}

inline bool readValue(const QVariant& v, QString& out, NullRule rule) {
    if (v.isNull()) {
        out.clear();
        return rule != NullRule::NotNull;
    }
    out = v.toString();
    return true;
}

// The driver binds a null QString as NULL; text columns get "" instead.
inline QVariant dbValue(const QString& s) {
    return s.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(OhneEinzelneSurrogate(s));
}
inline QVariant dbValue(int32_t n) {
    return QVariant(static_cast<int>(n));
}
inline QVariant dbValue(int16_t n) {
    return QVariant(static_cast<int>(n));
}
inline QVariant dbValue(bool b) {
    return QVariant(b ? -1 : 0);
}
inline QVariant dbValue(double d) {
    return QVariant(d);
}
inline QVariant dbValue(DateField d) {
    return QVariant(d.value);
}
inline QVariant dbValue(Currency c) {
    return QVariant(c.toDouble());
}

inline bool isKey(const char* name, const char* key) {
    return qstrcmp(name, key) == 0;
}

// Which columns a RowReader expects.
enum class Spalten {
    Alle,     // every column of the record, each null checked against its rule
    Gewaehlte // only those the query selects; the other fields keep their values, and a null or
              // unreadable value reads as 0, "" or 30.12.1899, as these reads have always taken
              // old rows
};

// Reads rows of a query into records. The column indexes are looked up once per query (by name,
// regardless of case: the server reports names in lower case).
template <class Rec> class RowReader {
public:
    explicit RowReader(const QSqlRecord& columns, Spalten spalten = Spalten::Alle)
        : m_alle(spalten == Spalten::Alle) {
        Rec probe;
        probe.visitFields([&](const char* name, auto&&, NullRule) {
            m_index.push_back(columns.indexOf(QLatin1String(name)));
        });
    }

    bool read(const QSqlQuery& q, Rec& rec) const {
        bool ok = true;
        size_t i = 0;
        rec.visitFields([&](const char*, auto&& field, NullRule rule) {
            const int col = m_index[i++];
            if (!m_alle) {
                if (col >= 0 && !readValue(q.value(col), field, NullRule::Empty))
                    readValue(QVariant(), field, NullRule::Empty);
            } else if (ok) {
                ok = col >= 0 && readValue(q.value(col), field, rule);
            }
        });
        return ok;
    }

private:
    std::vector<int> m_index;
    bool m_alle;
};

// The values of every column except the key, in visit order.
template <class Rec> QVariantList fieldValues(Rec& rec) {
    QVariantList werte;
    rec.visitFields([&](const char* name, auto&& field, NullRule) {
        if (!isKey(name, Rec::kKey))
            werte << dbValue(field);
    });
    return werte;
}

// Binds every column except the key, in visit order.
template <class Rec> void bindFields(QSqlQuery& q, Rec& rec) {
    for (const QVariant& v : fieldValues(rec))
        q.addBindValue(v);
}

// Appends every row of the executed query `q`, a query of chosen columns, to `out`; false with
// the reason in `error` when reading fails.
template <class Rec> bool readSelected(QSqlQuery& q, QVector<Rec>& out, QString* error) {
    const RowReader<Rec> reader(q.record(), Spalten::Gewaehlte);
    Rec rec;
    while (q.next()) {
        reader.read(q, rec);
        out.append(rec);
    }
    return !HasSqlError(q) || SqlFehler(q, error);
}

template <class Rec> QStringList dataColumns() {
    QStringList cols;
    Rec probe;
    probe.visitFields([&](const char* name, auto&&, NullRule) {
        if (!isKey(name, Rec::kKey))
            cols << QLatin1String(name);
    });
    return cols;
}

template <class Rec> const QString& insertSql() {
    static const QString sql = [] {
        const QStringList cols = dataColumns<Rec>();
        QStringList marks;
        for (qsizetype i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(QLatin1String(Rec::kTable), cols.join(QLatin1String(", ")),
                 marks.join(QLatin1String(", ")));
    }();
    return sql;
}

template <class Rec> const QString& updateSql() {
    static const QString sql = [] {
        const QString sets =
            dataColumns<Rec>().join(QLatin1String(" = ?, ")) + QStringLiteral(" = ?");
        return QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
            .arg(QLatin1String(Rec::kTable), sets, QLatin1String(Rec::kKey));
    }();
    return sql;
}

template <class Rec> QString byKeySql(const char* verb) {
    return QStringLiteral("%1 FROM %2 WHERE %3 = ?")
        .arg(QLatin1String(verb), QLatin1String(Rec::kTable), QLatin1String(Rec::kKey));
}

} // namespace ZeilenAbbildung
