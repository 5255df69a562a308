#include "frmHistorie.h"

#include "ModalDialog.h"
#include "R_Main.h"
#include "TovoDate.h"

#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <iterator>

namespace {

// Equipment by bit, from bit 0 up.
const char* const kAusstattung[] = {
    "Whiteboard", "Projektor", "Laptop",      "Mikrofon",        "Rednerpult",     "Flipchart",
    "Leinwand",   "Netzwerk",  "Audioanlage", "Mediensteuerung", "Grossbildchirm", "Smartboard",
};

QString Zeitpunkt(double datum, double zeit) {
    return TovoDate(TovoDate(datum).datePart().value() + TovoDate(zeit).timePart().value())
        .format(QStringLiteral("dd.MM.yyyy hh:mm"));
}

} // namespace

frmHistorie::frmHistorie(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Historie Raumausstattung"));
    setModal(true);
    resize(900, 320);

    lvHistorie = new QTreeWidget(this);
    lvHistorie->setObjectName(QStringLiteral("lvHistorie"));
    lvHistorie->setRootIsDecorated(false);
    lvHistorie->setUniformRowHeights(true);
    lvHistorie->setAllColumnsShowFocus(true);
    lvHistorie->setHeaderLabels({QStringLiteral("Beginn"), QStringLiteral("Ende"),
                                 QStringLiteral("Besteller"), QStringLiteral("Veranstaltung"),
                                 QStringLiteral("Ausstattung"), QStringLiteral("Sonstiges"),
                                 QStringLiteral("Bemerkung")});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvHistorie);
}

void frmHistorie::Zeige(int32_t raumId, double referenzDatum, QWidget* parent) {
    frmHistorie dlg(parent);
    if (dlg.Fuellen(raumId, referenzDatum))
        ZeigeModal(dlg);
}

bool frmHistorie::Fuellen(int32_t raumId, double referenzDatum) {
    lvHistorie->clear();
    QVector<CBelegungRec> belegungen;
    if (!R_Main::ReadHistorie(raumId, referenzDatum, belegungen))
        return false;
    int nr = 0;
    for (const CBelegungRec& b : belegungen) {
        auto* item = new QTreeWidgetItem(
            lvHistorie, {Zeitpunkt(b.dt_von, b.tm_von), Zeitpunkt(b.dt_bis, b.tm_bis), b.Best,
                         b.Verst, AusstattungText(b.Aust), b.Austbem, b.Bem});
        item->setData(0, Qt::UserRole, QString(QString::number(++nr) + QLatin1Char('$')));
    }
    for (int c = 0; c < lvHistorie->columnCount(); ++c)
        lvHistorie->resizeColumnToContents(c);
    return true;
}

QString frmHistorie::AusstattungText(int32_t aust) {
    QStringList namen;
    for (int bit = 0; bit < int(std::size(kAusstattung)); ++bit)
        if (aust & (1 << bit))
            namen << QString::fromLatin1(kAusstattung[bit]);
    return namen.join(QStringLiteral(", "));
}
