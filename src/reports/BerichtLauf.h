#pragma once

#include "BerichtArt.h"

#include <QString>
#include <QStringList>

// Running an overview: the period the user chose, the preparation of the print table that the
// report needs, and the report itself.
struct BerichtZeitraum {
    double von = 0; // period lists and day lists (von = the day)
    double bis = 0;
    int monat = 0; // month lists and usage statistics: 1..12, 0 for the whole year
    int jahr = 0;
    QString info; // period text of a month or year ("März 2026"); empty = made up
};

// The period as the heading of the report shows it ("vom 16.03.2026 bis 22.03.2026",
// "Mittwoch, 11.03.2026", "März 2026").
QString ZeitraumUeberschrift(const BerichtArt& art, const BerichtZeitraum& zeitraum);

// Fills t_tmp_Druck for an overview. False with the reason in `error`.
bool BerichtVorbereiten(const QString& connection, const BerichtArt& art,
                        const BerichtZeitraum& zeitraum, QString* error);

// The command line form: writes the overview NAME of the project in `projektDir` as a PDF.
// The options are those of the host program (--bericht, --von, --bis, --monat, --jahr,
// --datum, --pdf); dates are written dd.mm.yyyy, "heute" is today. Returns 0 on success, else
// an exit code with the German reason in `meldung`.
struct BerichtAuftrag {
    QString projektDir, name, von, bis, monat, jahr, datum, pdf;
};
int BerichtAlsPdf(const BerichtAuftrag& auftrag, QString& meldung);
