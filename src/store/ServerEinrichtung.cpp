#include "ServerEinrichtung.h"

#include "CRvDb.h"
#include "DatenbankOrt.h"
#include "RvGlobals.h"
#include "SqlConnection.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtEndian>

namespace ServerEinrichtung {

namespace {

// Rows per INSERT: few round trips, statements of moderate size.
constexpr int kBlock = 200;

bool Fehler(QString* error, const QString& text, const QSqlError& sql) {
    const QString treiber = sql.text().trimmed();
    return Fehlschlag(error, treiber.isEmpty() ? text : text + QLatin1Char('\n') + treiber);
}

bool Fehler(QString* error, const QString& text, const QSqlQuery& q) {
    return Fehler(error, text, q.lastError());
}

// A connection closed and removed when the object goes.
struct Verbindungsname {
    explicit Verbindungsname(const char* praefix)
        : name(UniqueConnectionName(QLatin1String(praefix))) {}
    ~Verbindungsname() { CloseSqliteConnection(name); }
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
    QString name;
};

bool OeffneServer(const Verbindungsname& v, const QString& verbindung, const Melde& melde,
                  QString* error) {
    melde(QStringLiteral("Verbindung zum Datenbankserver wird aufgebaut …"));
    QString fehler;
    if (!OeffneDatenbank({DbTyp::PostgreSQL, verbindung}, v.name, false, &fehler))
        return Fehlschlag(error, QStringLiteral("Die Datenbank auf dem Server kann nicht geöffnet "
                                                "werden.\n") +
                                     fehler);
    // Only an empty database: nothing of someone else's is overwritten or mixed in.
    QSqlQuery q(v.db());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE schemaname = "
                               "ANY (current_schemas(false))")) ||
        !q.next())
        return Fehler(error,
                      QStringLiteral("Der Inhalt der Datenbank auf dem Server kann nicht "
                                     "gelesen werden."),
                      q);
    if (q.value(0).toInt() > 0)
        return Fehlschlag(error,
                          QStringLiteral("Die Datenbank auf dem Server ist nicht leer (%1 "
                                         "Tabellen). Bitte geben Sie eine leere Datenbank an.")
                              .arg(q.value(0).toInt()));
    return true;
}

// The statements of the server's schema, in order.
QStringList SchemaAnweisungen() {
    QFile datei(QStringLiteral(":/schema/TovoRaumverw.postgresql.sql"));
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    QStringList zeilen;
    for (const QString& zeile : QString::fromUtf8(datei.readAll()).split(QLatin1Char('\n')))
        if (!zeile.trimmed().startsWith(QLatin1String("--")))
            zeilen << zeile;
    QStringList anweisungen;
    for (const QString& a : zeilen.join(QLatin1Char('\n')).split(QLatin1Char(';')))
        if (!a.trimmed().isEmpty())
            anweisungen << a.trimmed();
    return anweisungen;
}

bool LegeTabellenAn(QSqlDatabase db, const Melde& melde, QString* error) {
    melde(QStringLiteral("Die Tabellen werden angelegt …"));
    const QStringList anweisungen = SchemaAnweisungen();
    if (anweisungen.isEmpty())
        return Fehlschlag(error, QStringLiteral("Das Schema der Datenbank fehlt im Programm."));
    QSqlQuery q(db);
    for (const QString& a : anweisungen)
        if (!q.exec(a))
            return Fehler(error, QStringLiteral("Die Tabellen können nicht angelegt werden."), q);
    return true;
}

// Opens the database as the program will, which gives it its indexes and statistics, and
// checks its structure; then points the project at it.
bool Abschliessen(const QString& projektDir, const QString& verbindung, const Melde& melde,
                  QString* error) {
    melde(QStringLiteral("Die Indexe werden angelegt …"));
    CRvDb rv;
    rv.SetDatenbankOrt({DbTyp::PostgreSQL, verbindung});
    rv.SetOpenReadOnly(false);
    if (!rv.OpenDb() || !rv.IsValidDb())
        return Fehlschlag(error, rv.LastError());
    rv.CloseDb();
    if (!SchreibeServerOrt(projektDir, verbindung))
        return Fehlschlag(error, QStringLiteral("Die Datei %1 kann nicht geschrieben werden.")
                                     .arg(projektDir + kIniFileName));
    melde(QStringLiteral("Das Projekt verwendet jetzt die Datenbank auf dem Server (Abschnitt "
                         "[Datenbank] in %1).")
              .arg(kIniFileName));
    return true;
}

// Row count and an order-independent checksum of the columns of a table, each value read as
// the server's column type stores it.
struct Pruefung {
    qint64 zeilen = 0;
    quint64 summe = 0;
    bool operator==(const Pruefung& o) const { return zeilen == o.zeilen && summe == o.summe; }
};

bool Pruefe(QSqlDatabase db, const QString& tabelle, const QStringList& spalten,
            const QVector<QMetaType>& typen, Pruefung& p, QString* error) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2").arg(spalten.join(QLatin1Char(',')), tabelle)))
        return Fehler(error,
                      QStringLiteral("Die Tabelle %1 kann nicht gelesen werden.").arg(tabelle), q);
    p = {};
    QByteArray zeile;
    while (q.next()) {
        zeile.clear();
        for (int i = 0; i < spalten.size(); ++i) {
            const QVariant v = q.value(i);
            if (v.isNull())
                zeile += '\x01';
            else if (typen[i].id() == QMetaType::Double)
                zeile += QByteArray::number(v.toDouble(), 'g', 17);
            else if (typen[i].id() == QMetaType::QString)
                zeile += OhneEinzelneSurrogate(v.toString()).toUtf8();
            else
                zeile += QByteArray::number(v.toLongLong());
            zeile += '\x02';
        }
        const QByteArray h = QCryptographicHash::hash(zeile, QCryptographicHash::Sha256);
        p.summe += qFromLittleEndian<quint64>(h.constData());
        ++p.zeilen;
    }
    if (HasSqlError(q))
        return Fehler(error,
                      QStringLiteral("Die Tabelle %1 kann nicht gelesen werden.").arg(tabelle), q);
    return true;
}

// Copies one table: the columns both sides have, keys included.
bool Kopiere(QSqlDatabase quelle, QSqlDatabase ziel, const QString& tabelle,
             const QStringList& spalten, const Melde& melde, QString* error) {
    QSqlQuery lesen(quelle);
    lesen.setForwardOnly(true);
    if (!lesen.exec(
            QStringLiteral("SELECT %1 FROM %2").arg(spalten.join(QLatin1Char(',')), tabelle)))
        return Fehler(
            error, QStringLiteral("Die Tabelle %1 kann nicht gelesen werden.").arg(tabelle), lesen);
    const QString kopf =
        QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(tabelle, spalten.join(QLatin1Char(',')));
    QStringList platz;
    for (int i = 0; i < spalten.size(); ++i)
        platz << QStringLiteral("?");
    const QString eineZeile = QLatin1Char('(') + platz.join(QLatin1Char(',')) + QLatin1Char(')');

    QSqlQuery block(ziel);
    bool blockBereit = false;
    QVariantList werte;
    qint64 kopiert = 0;
    const auto schreibe = [&](int zeilen) {
        QSqlQuery einzeln(ziel);
        QSqlQuery* q = &block;
        if (zeilen == kBlock && !blockBereit) {
            QStringList alle;
            for (int i = 0; i < kBlock; ++i)
                alle << eineZeile;
            blockBereit = block.prepare(kopf + alle.join(QLatin1Char(',')));
        } else if (zeilen != kBlock) {
            QStringList alle;
            for (int i = 0; i < zeilen; ++i)
                alle << eineZeile;
            einzeln.prepare(kopf + alle.join(QLatin1Char(',')));
            q = &einzeln;
        }
        for (const QVariant& v : werte)
            q->addBindValue(v.typeId() == QMetaType::QString
                                ? QVariant(OhneEinzelneSurrogate(v.toString()))
                                : v);
        werte.clear();
        if (!q->exec())
            return Fehler(error,
                          QStringLiteral("Die Zeilen der Tabelle %1 können nicht "
                                         "übertragen werden.")
                              .arg(tabelle),
                          *q);
        kopiert += zeilen;
        if (kopiert % 20000 < zeilen)
            melde(QStringLiteral("  %1: %2 Zeilen …").arg(tabelle).arg(kopiert));
        return true;
    };
    int imBlock = 0;
    while (lesen.next()) {
        for (int i = 0; i < spalten.size(); ++i)
            werte << lesen.value(i);
        if (++imBlock == kBlock) {
            if (!schreibe(kBlock))
                return false;
            imBlock = 0;
        }
    }
    if (HasSqlError(lesen))
        return Fehler(
            error, QStringLiteral("Die Tabelle %1 kann nicht gelesen werden.").arg(tabelle), lesen);
    return imBlock == 0 || schreibe(imBlock);
}

// The keys the file handed out: new rows on the server continue above them, also above keys
// of rows deleted at the end. Nothing to do for a table without a key of its own.
bool SetzeSchluessel(QSqlDatabase quelle, QSqlDatabase ziel, const QString& tabelle,
                     const QString& schluessel, QString* error) {
    QSqlQuery folge(ziel);
    if (!ExecBound(folge, QStringLiteral("SELECT pg_get_serial_sequence(?, ?)"),
                   {tabelle.toLower(), schluessel.toLower()}) ||
        !folge.next() || folge.value(0).isNull())
        return true;
    qint64 hoechster = 0;
    QSqlQuery q(quelle);
    if (ExecBound(q, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {tabelle}) &&
        q.next())
        hoechster = q.value(0).toLongLong();
    QSqlQuery s(ziel);
    if (!ExecBound(s,
                   QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), GREATEST(?, "
                                  "COALESCE(MAX(%1), 0), 1), GREATEST(?, COALESCE(MAX(%1), 0)) > "
                                  "0) FROM %2")
                       .arg(schluessel, tabelle),
                   {tabelle.toLower(), schluessel.toLower(), hoechster, hoechster}))
        return Fehler(error,
                      QStringLiteral("Der Schlüsselzähler der Tabelle %1 kann nicht gesetzt "
                                     "werden.")
                          .arg(tabelle),
                      s);
    return true;
}

} // namespace

bool Einrichten(const QString& projektDir, const QString& verbindung, const Melde& melde,
                QString* error) {
    {
        Verbindungsname server("einrichten");
        if (!OeffneServer(server, verbindung, melde, error))
            return false;
        const QString meldung = QStringLiteral("Die Tabellen können nicht angelegt werden.");
        SchreibTransaktion tx(server.db());
        if (!tx.offen())
            return Fehler(error, meldung, tx.fehler());
        if (!LegeTabellenAn(server.db(), melde, error))
            return false;
        if (!tx.commit())
            return Fehler(error, meldung, tx.fehler());
    }
    return Abschliessen(projektDir, verbindung, melde, error);
}

bool Uebertragen(const QString& projektDir, const QString& verbindung, const Melde& melde,
                 QString* error) {
    DatenbankOrt bisher;
    if (!ReadDatenbankOrt(projektDir, bisher, error))
        return false;
    if (bisher.aufServer())
        return Fehlschlag(error,
                          QStringLiteral("Die Datenbank des Projekts liegt bereits auf einem "
                                         "Server (Abschnitt [Datenbank] in %1).")
                              .arg(kIniFileName));
    if (!QFileInfo(bisher.ort).isFile())
        return Fehlschlag(
            error,
            QStringLiteral("Im Projektverzeichnis gibt es keine Datei %1.").arg(kDbFileName));
    {
        // The file is read as the program reads it, and only read.
        melde(QStringLiteral("Die Datei %1 wird geöffnet …").arg(kDbFileName));
        CRvDb rv;
        rv.SetDbPath(bisher.ort);
        rv.SetOpenReadOnly(true);
        if (!rv.OpenDb() || !rv.IsValidDb())
            return Fehlschlag(error, rv.LastError());
        QSqlDatabase quelle = QSqlDatabase::database(rv.ConnectionName(), false);

        Verbindungsname server("uebertragen");
        if (!OeffneServer(server, verbindung, melde, error))
            return false;
        QSqlDatabase ziel = server.db();
        SchreibTransaktion tx(ziel);
        if (!tx.offen())
            return Fehler(error, QStringLiteral("Die Übertragung kann nicht beginnen."),
                          tx.fehler());
        if (!LegeTabellenAn(ziel, melde, error))
            return false;

        const QStringList quellTabellen = quelle.tables();
        for (const QString& tabelle : ziel.tables()) {
            // The report table only ever holds one report's rows for the moment.
            if (tabelle.compare(QLatin1String("t_tmp_Druck"), Qt::CaseInsensitive) == 0)
                continue;
            QString name;
            for (const QString& t : quellTabellen)
                if (t.compare(tabelle, Qt::CaseInsensitive) == 0)
                    name = t;
            QSqlQuery leer(ziel);
            leer.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(tabelle));
            const QSqlRecord zielSpalten = leer.record();
            if (name.isEmpty()) {
                melde(QStringLiteral("%1: fehlt in der Datei, bleibt leer").arg(tabelle));
                continue;
            }
            QSqlQuery probe(quelle);
            probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(name));
            const QSqlRecord quellSpalten = probe.record();
            QStringList spalten;
            QVector<QMetaType> typen;
            for (int i = 0; i < quellSpalten.count(); ++i) {
                const int z = zielSpalten.indexOf(quellSpalten.fieldName(i));
                if (z < 0)
                    continue;
                spalten << quellSpalten.fieldName(i);
                typen << zielSpalten.field(z).metaType();
            }
            melde(QStringLiteral("%1 wird übertragen …").arg(name));
            // The template's counter row goes; the file's rows come instead.
            QSqlQuery leeren(ziel);
            if (!leeren.exec(QStringLiteral("DELETE FROM %1").arg(name)))
                return Fehler(
                    error, QStringLiteral("Die Tabelle %1 kann nicht übertragen werden.").arg(name),
                    leeren);
            if (!Kopiere(quelle, ziel, name, spalten, melde, error) ||
                !SetzeSchluessel(quelle, ziel, name, zielSpalten.fieldName(0), error))
                return false;
            Pruefung vorher, nachher;
            if (!Pruefe(quelle, name, spalten, typen, vorher, error) ||
                !Pruefe(ziel, name, spalten, typen, nachher, error))
                return false;
            if (!(vorher == nachher))
                return Fehlschlag(error, QStringLiteral("Die Tabelle %1 kam nicht gleich an (%2 "
                                                        "Zeilen in der Datei, %3 auf dem Server). "
                                                        "Es wurde nichts übertragen.")
                                             .arg(name)
                                             .arg(vorher.zeilen)
                                             .arg(nachher.zeilen));
            melde(QStringLiteral("%1: %2, Prüfsumme stimmt überein")
                      .arg(name, nachher.zeilen == 1
                                     ? QStringLiteral("1 Zeile")
                                     : QStringLiteral("%1 Zeilen").arg(nachher.zeilen)));
        }
        if (!tx.commit())
            return Fehler(error, QStringLiteral("Die Übertragung kann nicht abgeschlossen werden."),
                          tx.fehler());
    }
    return Abschliessen(projektDir, verbindung, melde, error);
}

} // namespace ServerEinrichtung
