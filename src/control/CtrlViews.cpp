// The three views: graphical, graphical with room information, and the table of one day.
#include "TovoRaumverwCtrl.h"

#include "ErrorGuard.h"
#include "RaumAusstattung.h"
#include "ReservationQueries.h"
#include "RvGlobals.h"
#include "SqlConnection.h"
#include "StreifenLesen.h"
#include "TovoDate.h"
#include "TovoZeitPlan.h"
#include "ViewQueries.h"
#include "ZeitPlanLesen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

namespace {
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Header of the table view; the blanks give the relative column widths.
const char* const kGridHeader =
    "<Raum                        |Auftr.Nr|Von Zeit |Bis Zeit  |Besteller                      "
    "|Telefon       |Fax             |Firma                  |KST   |>Pers|Veranstaltung     "
    "|E-Mail";

QString raumInfo(const CAnzeigeRec& r) {
    QStringList parts;
    if (!r.RaumNr.isEmpty())
        parts << r.RaumNr;
    if (r.IANZAHLPERS > 0)
        parts << QStringLiteral("%1 Pers.").arg(r.IANZAHLPERS);
    if (!r.stAusstattung.isEmpty())
        parts << RaumAusstattung::Kurz(r.stAusstattung);
    return parts.join(QStringLiteral(" · "));
}

bool GleicheRaeume(const ZeitPlanRaumListe& a, const ZeitPlanRaumListe& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.lId == y.lId && x.stName == y.stName && x.stZusatz == y.stZusatz &&
               x.stInfo == y.stInfo && x.stTip == y.stTip;
    });
}
} // namespace

int32_t TovoRaumverwCtrl::SelectedRaumartId() const {
    const int i = coRaumart->currentIndex();
    return i < 0 ? 0 : coRaumart->itemData(i, Qt::UserRole).toInt();
}

int TovoRaumverwCtrl::AktuelleAnsicht() const {
    if (mnuAnsicht.value(15)->isChecked())
        return 2;
    if (mnuAnsicht.value(20)->isChecked())
        return 1;
    return 0;
}

void TovoRaumverwCtrl::coRaumart_Click() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.coRaumart_Click"), [&] {
        if (coRaumart->currentIndex() < 0)
            return;
        ChangeAnsicht(AktuelleAnsicht());
    });
}

void TovoRaumverwCtrl::ChangeAnsicht(int iAnsicht) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.ChangeAnsicht"), [&] {
        switch (iAnsicht) {
        case 0:
            for (TovoZeitPlan* p : {TovoZeitPlan1, TovoZeitPlan2}) {
                p->SetZeilenart(2);
                p->SetBreiteErsteSpalte(2400);
            }
            SetVisuality(true);
            SetzeAnsichtNeu();
            break;
        case 1: {
            SetVisuality(false);
            VInScroll->setEnabled(false);
            TovoDate tag;
            if (!TovoDate::parse(edAktDatum->text(), tag))
                tag = TovoDate::today();
            FillGrid(tag.sqlDateText());
            break;
        }
        case 2:
            for (TovoZeitPlan* p : {TovoZeitPlan1, TovoZeitPlan2}) {
                p->SetBreiteErsteSpalte(3500);
                p->SetZeilenart(3);
            }
            SetVisuality(true);
            SetzeAnsichtNeu();
            break;
        default:
            break;
        }
    });
}

void TovoRaumverwCtrl::SetVisuality(bool bGrafisch) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.SetVisuality"), [&] {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 ZeitPic, btZeit[0], btZeit[1], btZeit[2], btZeit[3], llVon, llBis, llBisText,
                 frZeitraum, edStartDatum, edEndDatum, pbDatum[1]})
            w->setVisible(bGrafisch);
        for (QWidget* w :
             std::initializer_list<QWidget*>{fgMain, btDatL, btDatR, edAktDatum, pbDatum[0]})
            w->setVisible(!bGrafisch);
    });
}

void TovoRaumverwCtrl::SetzeAnsichtNeu() {
    // A rebuild lets the window paint between bookings; a second request meanwhile runs after it.
    if (m_rebuilding) {
        m_rebuildAgain = true;
        return;
    }
    m_rebuilding = true;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.SetzeAnsichtNeu"), [&] {
        WaitCursor wait;
        const int32_t raumartId = SelectedRaumartId();
        const bool alle = raumartId == 0;

        // All types: grouped by type, each name led by the type's first letters.
        using Folge = ReservationQueries::RaumAuswahl::Folge;
        QVector<CAnzeigeRec> zeilen;
        QString error;
        if (!ReservationQueries::ReadRaeume(
                gDb, {.raumartId = raumartId, .folge = alle ? Folge::ArtUndName : Folge::Name},
                zeilen, &error))
            RaiseError(error);
        ZeitPlanRaumListe raeume;
        raeume.reserve(zeilen.size());
        for (const CAnzeigeRec& raum : zeilen) {
            const QString art = alle ? raum.RArt : QString();
            ZeitPlanRaum r;
            r.lId = raum.az_ID;
            r.stName = alle ? art.left(2) + QLatin1Char(':') + raum.Kurzbez : raum.Kurzbez;
            r.stZusatz = raum.RaumNr;
            r.stInfo = raumInfo(raum);
            r.stTip = RaumAusstattung::Tip(raum, art);
            raeume.append(r);
        }

        if (edStartDatum->text().trimmed().isEmpty()) {
            TovoZeitPlan1->SetDatumVon(TovoDate::today());
            TovoZeitPlan2->SetAnzeigedatum(TovoZeitPlan1->Anzeigedatum());
        }
        // The main plan first: only the bookings around the shown period are read; moving
        // beyond them reads more (LadeZeitfenster).
        m_fensterRaumart = raumartId;
        ReadHauptplan(raeume);

        // The overview keeps its own start and months; its display date marks what the main
        // plan shows. Its bars follow when read; until then it keeps those it had for the same
        // rooms.
        const TovoDate heute = TovoDate::today();
        const double monatsErster = TovoDate::fromParts(heute.year(), heute.month(), 1);
        TovoZeitPlan2->Bereich(monatsErster, 6);
        TovoZeitPlan2->SetDatumVon(monatsErster);
        if (!GleicheRaeume(TovoZeitPlan2->Raeume(), raeume))
            TovoZeitPlan2->Laden(raeume, {}, nullptr);
        ReadStreifen();
        FillDateFields();
        TovoZeitPlan_ResizeControl();
    });
    m_rebuilding = false;
    if (m_rebuildAgain) {
        m_rebuildAgain = false;
        SetzeAnsichtNeu();
    }
}

namespace {
// The state of the data as the direct connection sees it.
Dialekt::Stand Datenstand() {
    QSqlDatabase db = Verbindung(gDb);
    return Dialekt::Von(db).Datenstand(db);
}
} // namespace

void TovoRaumverwCtrl::ReadHauptplan(const ZeitPlanRaumListe& raeume) {
    WaitCursor wait;
    m_gelesen = Datenstand();
    const ViewQueries::Zeitfenster fenster =
        ZeitPlanLesen::FensterFuer(TovoZeitPlan1->DatumVon(), TovoZeitPlan1->DatumBis());
    ZeitPlanTerminListe termine;
    QString error;
    // A year's plan reads three years: keep the window painting meanwhile.
    const auto zwischendurch = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    };
    if (!ZeitPlanLesen::ReadTermine(gDb, m_fensterRaumart, fenster, termine, &error, zwischendurch))
        RaiseError(error);
    m_fenster = fenster;
    TovoZeitPlan1->Laden(raeume, termine, nullptr);
}

void TovoRaumverwCtrl::ReadStreifen() {
    m_streifenFaellig = true;
    if (TovoZeitPlan1->isVisible()) {
        TovoZeitPlan1->update();
        // A window that is not painted (minimised, say) still gets its strip.
        QTimer::singleShot(250, this, [this] { StarteStreifen(); });
    } else {
        QMetaObject::invokeMethod(this, &TovoRaumverwCtrl::StarteStreifen, Qt::QueuedConnection);
    }
}

void TovoRaumverwCtrl::StarteStreifen() {
    if (!m_streifenFaellig || gDb.isEmpty())
        return;
    m_streifenFaellig = false;
    if (!m_streifen) {
        m_streifen = new StreifenLesen(this);
        connect(m_streifen, &StreifenLesen::Gelesen, this,
                [this](const ZeitPlanTerminListe& termine, const QString& fehler) {
                    RunGuarded(QStringLiteral("TovoRaumverwCtrl.ReadStreifen"), [&] {
                        if (!fehler.isEmpty())
                            RaiseError(fehler);
                        TovoZeitPlan2->Laden(TovoZeitPlan1->Raeume(), termine, nullptr);
                        TovoZeitPlan2->Zeichnen();
                    });
                });
    }
    m_streifen->Starte(gDbOrt, m_fensterRaumart,
                       {TovoZeitPlan2->DatumVon(), TovoZeitPlan2->DatumBis() + 1});
}

bool TovoRaumverwCtrl::StreifenLaedt() const {
    return m_streifenFaellig || (m_streifen && m_streifen->Laeuft());
}

void TovoRaumverwCtrl::LadeZeitfenster() {
    // A rebuild reads for itself; the table view rebuilds when the plan shows again.
    if (m_rebuilding || !m_fenster.begrenzt() || AktuelleAnsicht() == 1)
        return;
    if (ZeitPlanLesen::Deckt(m_fenster, TovoZeitPlan1->DatumVon(), TovoZeitPlan1->DatumBis()))
        return;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.LadeZeitfenster"),
               [&] { ReadHauptplan(TovoZeitPlan1->Raeume()); });
}

void TovoRaumverwCtrl::AenderungenZeigen(bool auchUnveraendert) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.AenderungenZeigen"), [&] {
        if (gDb.isEmpty() || m_rebuilding ||
            (!auchUnveraendert && m_gelesen.first >= 0 && Datenstand() == m_gelesen))
            return;
        if (AktuelleAnsicht() == 1 || !m_fenster.begrenzt()) {
            coRaumart_Click();
            return;
        }
        ReadHauptplan(TovoZeitPlan1->Raeume());
        ReadStreifen();
    });
}

void TovoRaumverwCtrl::FillGrid(const QString& datum) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.FillGrid"), [&] {
        fgMain->setSortingEnabled(false);
        fgMain->setRowCount(0);
        if (fgMain->columnCount() == 0) {
            const QStringList cols = QString::fromUtf8(kGridHeader).split(QLatin1Char('|'));
            fgMain->setColumnCount(static_cast<int>(cols.size()));
            QStringList titles;
            for (int c = 0; c < cols.size(); ++c) {
                QString t = cols[c];
                const bool rechts = t.startsWith(QLatin1Char('>'));
                if (t.startsWith(QLatin1Char('<')) || rechts)
                    t.remove(0, 1);
                fgMain->setColumnWidth(c, std::max(40, static_cast<int>(t.size()) * 7));
                titles << t.trimmed();
            }
            fgMain->setHorizontalHeaderLabels(titles);
            fgMain->horizontalHeader()->setStretchLastSection(true);
        }

        // The day comes as m/d/yyyy.
        const QStringList teile = datum.split(QLatin1Char('/'));
        if (teile.size() != 3)
            return;
        const double tag =
            TovoDate::fromParts(teile[2].toInt(), teile[0].toInt(), teile[1].toInt());

        QVector<CAnzeigeRec> raeume;
        QString error;
        if (!ReservationQueries::ReadRaeume(gDb, {.raumartId = SelectedRaumartId()}, raeume,
                                            &error))
            RaiseError(error);
        auto cell = [&](int row, int col, const QString& text,
                        Qt::Alignment align = Qt::AlignLeft) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(align | Qt::AlignVCenter);
            fgMain->setItem(row, col, item);
            return item;
        };
        QVector<CBelegungRec> belegungen;
        for (const CAnzeigeRec& raum : raeume) {
            const QString raumText =
                raum.Kurzbez + QStringLiteral(" (") + raum.RaumNr + QLatin1Char(')');
            if (!ViewQueries::ReadBelegungenAmTag(gDb, raum.az_ID, tag, belegungen, &error))
                RaiseError(error);
            if (belegungen.isEmpty()) {
                const int row = fgMain->rowCount();
                fgMain->insertRow(row);
                cell(row, 0, raumText);
                continue;
            }
            for (const CBelegungRec& b : belegungen) {
                const int row = fgMain->rowCount();
                fgMain->insertRow(row);
                cell(row, 0, raumText)->setData(Qt::UserRole, b.Rec_ID);
                cell(row, 1, QString::number(b.lAuftrNr), Qt::AlignRight);
                cell(row, 2, TovoDate(b.tm_von).format(QStringLiteral("hh:mm")));
                cell(row, 3, TovoDate(b.tm_bis).format(QStringLiteral("hh:mm")));
                cell(row, 4, b.Best);
                cell(row, 5, b.Tel);
                cell(row, 6, b.Fax);
                cell(row, 7, b.Inst);
                cell(row, 8, b.KST);
                cell(row, 9, b.Pers, Qt::AlignRight);
                cell(row, 10, b.Verst);
                cell(row, 11, b.bEMail ? QStringLiteral("Ja") : QStringLiteral("Nein"));
            }
        }
        if (fgMain->rowCount() > 0) {
            fgMain->resizeColumnToContents(0);
            fgMain->setCurrentCell(0, 0);
            fgMain->selectRow(0);
        }
    });
}

int TovoRaumverwCtrl::fgMain_Compare(const QString& cell1, const QString& cell2) {
    int result = 0;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.fgMain_Compare"), [&] {
        TovoDate a, b;
        const double ta = TovoDate::parse(cell1, a) ? a.timePart().value() : 0.0;
        const double tb = TovoDate::parse(cell2, b) ? b.timePart().value() : 0.0;
        result = ta < tb ? -1 : ta > tb ? 1 : 0;
    });
    return result;
}

void TovoRaumverwCtrl::fgMain_HeaderClick(int column) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.fgMain_MouseUp"), [&] {
        if (column < 0 || column >= fgMain->columnCount())
            return;
        SortGrid(column);
        if (fgMain->rowCount() > 0) {
            fgMain->setCurrentCell(0, 1);
            fgMain->selectRow(0);
        }
    });
}

void TovoRaumverwCtrl::SortGrid(int column) {
    // Rows are taken out whole, sorted stably, and put back.
    const int rows = fgMain->rowCount(), cols = fgMain->columnCount();
    std::vector<std::vector<QTableWidgetItem*>> data(rows,
                                                     std::vector<QTableWidgetItem*>(cols, nullptr));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            data[r][c] = fgMain->takeItem(r, c);
    auto text = [&](const std::vector<QTableWidgetItem*>& row) {
        return row[column] ? row[column]->text() : QString();
    };
    if (column == 2 || column == 3) {
        WaitCursor wait;
        std::stable_sort(data.begin(), data.end(), [&](const auto& a, const auto& b) {
            return fgMain_Compare(text(a), text(b)) < 0;
        });
    } else {
        // Generic ascending: numbers as numbers, everything else as text.
        std::stable_sort(data.begin(), data.end(), [&](const auto& a, const auto& b) {
            const QString ta = text(a), tb = text(b);
            bool na = false, nb = false;
            const double da = ta.toDouble(&na), db = tb.toDouble(&nb);
            if (na && nb)
                return da < db;
            if (na != nb)
                return na;
            return QString::localeAwareCompare(ta, tb) < 0;
        });
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (data[r][c])
                fgMain->setItem(r, c, data[r][c]);
}
