#include "ViewQueries.h"

#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "SqlConnection.h"
#include "ZeilenAbbildung.h"
#include "ZeilenStrom.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <cmath>

namespace ViewQueries {
QString BalkenSql(const Dialekt& dialekt, bool eineRaumart, bool begrenzt) {
    const QString cols = QStringLiteral(
        "b.Rec_ID, b.rb_id, b.Best, b.Verst, b.STEMAIL, b.dt_von, b.tm_von, b.dt_bis, b.tm_bis, "
        "b.Udt_von, b.Utm_von, b.Udt_bis, b.Utm_bis, b.Rdt_von, b.Rtm_von, b.Rdt_bis, b.Rtm_bis");
    // The bars of a booking lie within the days of its whole span, and a bar [start, end)
    // reaches into the days [A, B) only if its start day <= B and its end day >= A - 1 (the
    // time of day is below 1): the bookings whose span touches the days A - 1 to B.
    const QString quelle = begrenzt
                               ? QStringLiteral(" CROSS JOIN ") +
                                     BelegungsZeitraum::Quelle(dialekt, QStringLiteral("a.az_ID"))
                               : QStringLiteral(" INNER JOIN T_fm_belegung b ON a.az_ID = b.rb_id");
    // Unordered: ForEachBalken orders the rows, which spares SQLite sorting whole rows.
    return QStringLiteral("SELECT ") + cols + QStringLiteral(" FROM T_rb_Anzeige a") + quelle +
           QStringLiteral(" WHERE b.bArchiviert = 0") +
           (eineRaumart ? QStringLiteral(" AND a.lRaumartId = ?") : QString());
}

bool ForEachBalken(const QString& connection, int32_t raumartId,
                   const std::function<bool(const BelegungBalken&)>& callback, QString* error,
                   const Zeitfenster& fenster, const std::function<bool()>& weiter) {
    QSqlDatabase db = Verbindung(connection);
    const auto r = ZeilenStrom::Oeffne(
        db, QStringLiteral("SELECT az_ID FROM T_rb_Anzeige ORDER BY Kurzbez, az_ID"), {}, error);
    if (!r)
        return false;
    QHash<int32_t, int> rang;
    while (r->Naechste())
        rang.insert(r->Ganzzahl(0), static_cast<int>(rang.size()));
    if (r->Fehler(error))
        return false;

    QVariantList binds;
    if (fenster.begrenzt())
        binds << std::floor(fenster.von) - 1 << std::ceil(fenster.bis) << std::ceil(fenster.bis);
    if (raumartId != 0)
        binds << raumartId;
    const auto z = ZeilenStrom::Oeffne(
        db, BalkenSql(Dialekt::Von(db), raumartId != 0, fenster.begrenzt()), binds, error);
    if (!z)
        return false;
    const auto datum = [&z](int spalte) {
        const double d = z->Leer(spalte) ? TovoDate::kNoDate : z->Zahl(spalte);
        return TovoDate::inCalendar(d) ? d : TovoDate::kNoDate;
    };
    BelegungBalken b;
    for (qsizetype n = 1; z->Naechste(); ++n) {
        b.Rec_ID = z->Ganzzahl(0);
        b.rb_id = z->Ganzzahl(1);
        b.rang = rang.value(b.rb_id);
        b.Best = z->Text(2);
        b.Verst = z->Text(3);
        b.STEMAIL = z->Text(4);
        b.dt_von = z->Zahl(5);
        b.tm_von = z->Zahl(6);
        b.dt_bis = z->Zahl(7);
        b.tm_bis = z->Zahl(8);
        b.Udt_von = datum(9);
        b.Utm_von = datum(10);
        b.Udt_bis = datum(11);
        b.Utm_bis = datum(12);
        b.Rdt_von = datum(13);
        b.Rtm_von = datum(14);
        b.Rdt_bis = datum(15);
        b.Rtm_bis = datum(16);
        if (!callback(b) || (weiter && n % 512 == 0 && !weiter()))
            return true;
    }
    return !z->Fehler(error);
}

bool ReadBelegungenAmTag(const QString& connection, int32_t raumId, double tag,
                         QVector<CBelegungRec>& out, QString* error) {
    out.clear();
    QSqlQuery q(Verbindung(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q,
                   QStringLiteral("SELECT Rec_ID, lAuftrNr, rb_id, dt_von, tm_von, dt_bis, tm_bis, "
                                  "Best, Tel, Fax, Inst, KST, Pers, Verst, bEMail FROM ") +
                       BelegungsZeitraum::Quelle(Dialekt::Von(q.driver()), QStringLiteral("?")) +
                       QStringLiteral(" WHERE dt_bis >= ? AND dt_von <= ? AND bArchiviert = 0 "
                                      "ORDER BY tm_von, Rec_ID"),
                   {raumId, tag, tag, tag, tag, tag}))
        return SqlFehler(q, error);
    return ZeilenAbbildung::readSelected(q, out, error);
}

} // namespace ViewQueries
