// Moving through time: day buttons of the table, periods and steps of the time plans, the
// calendar, scrolling, and the toolbar's view commands.
#include "TovoRaumverwCtrl.h"

#include "DatumsFeld.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "TovoDate.h"
#include "TovoZeitPlan.h"

#include <QAction>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <cmath>

namespace {
constexpr double kDreizehnUhr = 13.0 / 24.0;
constexpr int32_t kZeitraumVonIndex[4] = {1, 2, 3, 7};

bool hatKeineStunde(double d) {
    return TovoDate(d).hour() == 0;
}
} // namespace

void TovoRaumverwCtrl::ConnectHandlers() {
    connect(coRaumart, &QComboBox::activated, this, [this] { coRaumart_Click(); });
    connect(btDatL, &QPushButton::clicked, this, [this] { btDatL_Click(); });
    connect(btDatR, &QPushButton::clicked, this, [this] { btDatR_Click(); });
    // A typed date counts when the user confirms it with Enter or leaves the field.
    connect(edAktDatum, &QLineEdit::editingFinished, this, [this] { edAktDatum_Change(); });
    connect(edStartDatum, &QLineEdit::editingFinished, this, [this] { edStartDatum_Change(); });
    connect(opZeitraumGroup, &QButtonGroup::idClicked, this,
            [this](int id) { opZeitraum_Click(id); });
    for (int i = 0; i < 4; ++i)
        connect(btZeit[i], &QPushButton::clicked, this, [this, i] { btZeit_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(pbDatum[i], &QToolButton::clicked, this, [this, i] { pbDatum_Click(i); });
    connect(mvDatum, &QCalendarWidget::clicked, this, [this](QDate d) { mvDatum_DateClick(d); });
    connect(mvDatum, &QCalendarWidget::activated, this, [this](QDate d) { mvDatum_DateClick(d); });
    connect(VInScroll, &QScrollBar::valueChanged, this, [this] { VInScroll_Change(); });
    TovoZeitPlan1->SetVScrollBar(VInScroll);
    connect(TovoZeitPlan1, &TovoZeitPlan::SichtGeaendert, this, [this] { LadeZeitfenster(); });
    connect(TovoZeitPlan1, &TovoZeitPlan::Gezeichnet, this, [this] { StarteStreifen(); });
    connect(TovoZeitPlan1, &TovoZeitPlan::ResizeControl, this,
            [this] { TovoZeitPlan_ResizeControl(); });
    connect(TovoZeitPlan1, &TovoZeitPlan::ChangeAnzeige, this,
            [this](double d, int32_t z) { TovoZeitPlan_ChangeAnzeige(TovoZeitPlan1, d, z); });
    // A day picked in the overview strip moves the main plan, which the overview then follows.
    connect(TovoZeitPlan2, &TovoZeitPlan::ChangeAnzeige, this,
            [this](double d, int32_t z) { TovoZeitPlan_ChangeAnzeige(TovoZeitPlan1, d, z); });
    connect(fgMain->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { fgMain_HeaderClick(c); });

    for (const QString& key : MainToolbarButtons.keys())
        connect(MainToolbarButtons.value(key), &QAction::triggered, this,
                [this, key] { MainToolbar_ButtonClick(key); });
    for (const QString& key : AnzeigeButtonMenus.keys())
        connect(AnzeigeButtonMenus.value(key), &QAction::triggered, this,
                [this, key] { MainToolbar_ButtonMenuClick(key); });
    for (int index : {10, 15, 20})
        connect(mnuAnsicht.value(index), &QAction::triggered, this,
                [this, index] { mnuAnsicht_Click(index); });
    connect(mnuAnsicht.value(30), &QAction::triggered, this, [this] { mnuKonflikte_Click(); });
    connect(TovoZeitPlan1, &TovoZeitPlan::RadBlaettern, this,
            [this](int richtung) { btZeit_Click(richtung < 0 ? 1 : 2); });
    connect(TovoZeitPlan1, &TovoZeitPlan::SeiteBlaettern, this,
            [this](int richtung) { btZeit_Click(richtung < 0 ? 0 : 3); });
    // Enter in the table opens the booking of the row, as a double click does.
    fgMain->installEventFilter(this);
    connect(mnuBearbeiten.value(70), &QAction::triggered, this,
            [this] { mnuBearbeiten_Click(70); });
    ConnectAntragHandlers();
    ConnectReportHandlers();
}

bool TovoRaumverwCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fgMain && event->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(event)->key();
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            fgMain_DblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString TovoRaumverwCtrl::WeekdayMonthText(double date) {
    const TovoDate d(date);
    return TovoDate::weekdayName(d.weekdayMondayFirst()) + QLatin1Char('(') +
           TovoDate::monthName(d.month()) + QLatin1Char(')');
}

void TovoRaumverwCtrl::FillDateFields() {
    const QString fmt = DateFieldFormat(true);
    edStartDatum->setText(TovoDate(TovoZeitPlan1->DatumVon()).format(fmt));
    edEndDatum->setText(TovoDate(TovoZeitPlan1->DatumBis()).format(fmt));
    llVon->setText(WeekdayMonthText(TovoZeitPlan1->DatumVon()));
    llBis->setText(WeekdayMonthText(TovoZeitPlan1->DatumBis()));
}

void TovoRaumverwCtrl::ZeigeTag(double tag) {
    // The graphical views start at the day (the day view shows it around 13:00); the table
    // shows the day, and the plans stand with their middle on it.
    const TovoDate d(std::floor(tag));
    const bool tabelle = AktuelleAnsicht() == 1;
    double a = d.value() + kDreizehnUhr;
    if (!tabelle && miZeitbereich == 2)
        a = d.value() + 3;
    else if (!tabelle && miZeitbereich == 3)
        a = d.value() + 15;
    else if (!tabelle && miZeitbereich == 7)
        a = d.addMonths(6).value();
    for (TovoZeitPlan* p : {TovoZeitPlan1, TovoZeitPlan2}) {
        p->SetAnzeigedatum(a);
        p->Zeichnen();
    }
    FillDateFields();
    edAktDatum->setText(d.format(DateFieldFormat(true)));
    if (tabelle && coRaumart->currentIndex() >= 0)
        FillGrid(d.sqlDateText());
}

void TovoRaumverwCtrl::DatumEingegeben(QLineEdit* feld, const QString& name) {
    double tag = 0;
    if (DatumsFeld::Read(feld, tag)) {
        ZeigeTag(tag);
        return;
    }
    // The plan stays where it was, and the field shows its date again: the text the program put
    // there, before the user typed.
    const QString text = feld->text().trimmed();
    while (feld->isUndoAvailable())
        feld->undo();
    MsgBox(name + QStringLiteral(": ") +
               (text.isEmpty() ? QStringLiteral("Ein leeres Feld") : text) +
               QStringLiteral(" ist kein gültiges Datum."),
           PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("Datum"));
}

double TovoRaumverwCtrl::AngezeigterTag() const {
    TovoDate tag;
    if (AktuelleAnsicht() == 1 && TovoDate::parse(edAktDatum->text(), tag))
        return std::floor(tag.value());
    // The cursor's day, else today when it is shown, else the first day shown.
    const double von = TovoZeitPlan1->DatumVon(), bis = TovoZeitPlan1->DatumBis();
    const double kursor = TovoZeitPlan1->KursorZeit();
    if (TovoZeitPlan1->KursorZeile() >= 0 && kursor >= von && kursor <= bis)
        return std::floor(kursor);
    const double heute = TovoDate::today().value();
    return heute >= std::floor(von) && heute <= bis ? heute : std::floor(von);
}

// ---- table view ----

void TovoRaumverwCtrl::btDatL_Click() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.btDatL_Click"), [&] {
        TovoDate d;
        if (!TovoDate::parse(edAktDatum->text(), d) || d.value() >= TovoDate::kNoDate)
            return;
        ZeigeTag(d.datePart().addDays(-1).value());
    });
}

void TovoRaumverwCtrl::btDatR_Click() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.btDatR_Click"), [&] {
        TovoDate d;
        if (!TovoDate::parse(edAktDatum->text(), d) || d.value() >= TovoDate::kNoDate)
            return;
        ZeigeTag(d.datePart().addDays(1).value());
    });
}

void TovoRaumverwCtrl::edAktDatum_Change() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.edAktDatum_Change"),
               [&] { DatumEingegeben(edAktDatum, QStringLiteral("Tag")); });
}

// ---- graphical views ----

void TovoRaumverwCtrl::edStartDatum_Change() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.edStartDatum_Change"),
               [&] { DatumEingegeben(edStartDatum, QStringLiteral("Anzeige ab")); });
}

void TovoRaumverwCtrl::opZeitraum_Click(int index) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.opZeitraum_Click"), [&] {
        if (index < 0 || index > 3)
            return;
        miZeitbereich = kZeitraumVonIndex[index];
        for (TovoZeitPlan* p : {TovoZeitPlan1, TovoZeitPlan2})
            p->SetZeitraum(miZeitbereich);
        if (index == 0) {
            for (TovoZeitPlan* p : {TovoZeitPlan1, TovoZeitPlan2})
                if (hatKeineStunde(p->Anzeigedatum()))
                    p->SetAnzeigedatum(p->Anzeigedatum() + kDreizehnUhr);
            edAktDatum->setText(
                TovoDate(TovoZeitPlan1->Anzeigedatum()).datePart().format(DateFieldFormat(true)));
        } else {
            const double tag = std::floor(TovoZeitPlan1->Anzeigedatum());
            TovoZeitPlan1->SetAnzeigedatum(tag);
            TovoZeitPlan2->SetAnzeigedatum(tag);
        }
        TovoZeitPlan1->Zeichnen();
        TovoZeitPlan2->Zeichnen();
        FillDateFields();
    });
}

void TovoRaumverwCtrl::btZeit_Click(int index) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.btZeit_Click"), [&] {
        static constexpr int kSchritt[4] = {1, 2, 3, 4};
        if (index < 0 || index > 3)
            return;
        for (TovoZeitPlan* p : {TovoZeitPlan1, TovoZeitPlan2}) {
            if (index == 1 || index == 2)
                p->SetBlockschritt(false);
            p->Blaettern(kSchritt[index]);
            p->Zeichnen();
        }
        FillDateFields();
        edAktDatum->setText(
            TovoDate(TovoZeitPlan1->Anzeigedatum()).datePart().format(DateFieldFormat(true)));
    });
}

// ---- calendar ----

void TovoRaumverwCtrl::pbDatum_Click(int index) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.pbDatum_Click"), [&] {
        QLineEdit* feld = index == 0 ? edAktDatum : edStartDatum;
        mvDatum->setProperty("tag", QString::number(index));
        TovoDate d;
        if (!TovoDate::parse(feld->text(), d) || d.isNoDate())
            d = TovoDate::today();
        mvDatum->setSelectedDate(d.toQDate());
        mvDatum->adjustSize();
        mvDatum->move(feld->mapToGlobal(QPoint(0, feld->height())));
        mvDatum->show();
        mvDatum->setFocus();
    });
}

void TovoRaumverwCtrl::mvDatum_DateClick(const QDate& date) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mvDatum_DateClick"), [&] {
        mvDatum->hide();
        ZeigeTag(TovoDate::fromDate(date).value());
    });
}

// ---- scrolling ----

void TovoRaumverwCtrl::VInScroll_Change() {
    RunGuarded(QStringLiteral("TovoOvTerminPlanCtrl.VInScroll_Change"),
               [&] { TovoZeitPlan1->SetZeilenOffset(VInScroll->value()); });
}

void TovoRaumverwCtrl::TovoZeitPlan_ResizeControl() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.TovoZeitPlan_ResizeControl"), [&] {
        const int ueberhang = TovoZeitPlan1->InhaltHoehe() - TovoZeitPlan1->height();
        VInScroll->setEnabled(ueberhang > 0);
        VInScroll->setRange(0, std::max(0, ueberhang));
        VInScroll->setSingleStep(TovoZeitPlan1->ZeilenHoehe());
        VInScroll->setPageStep(std::max(1, TovoZeitPlan1->height() - 40));
    });
}

void TovoRaumverwCtrl::TovoZeitPlan_ChangeAnzeige(TovoZeitPlan* source, double datum,
                                                  int32_t zeitbereich) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.TovoZeitPlan_ChangeAnzeige"), [&] {
        const int option = zeitbereich == 1 ? 0 : zeitbereich == 2 ? 1 : zeitbereich == 3 ? 2 : -1;
        if (option >= 0) {
            opZeitraum[option]->setChecked(true);
            opZeitraum_Click(option);
        }
        source->SetAnzeigedatum(datum);
        source->Zeichnen();
        FillDateFields();
        if (source == TovoZeitPlan1)
            TovoZeitPlan_ChangeAnzeige(TovoZeitPlan2, datum, zeitbereich);
    });
}

// ---- toolbar and view menu ----

void TovoRaumverwCtrl::MainToolbar_ButtonClick(const QString& key) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.MainToolbar_ButtonClick"), [&] {
        if (key == QLatin1String("Anzeige")) {
            const int ansicht = AktuelleAnsicht();
            if (ansicht == 0) {
                MainToolbar_ButtonMenuClick(QStringLiteral("GrafInfo"));
            } else if (ansicht == 2) {
                TovoZeitPlan1->SetZeilenart(3);
                TovoZeitPlan2->SetZeilenart(3);
                MainToolbar_ButtonMenuClick(QStringLiteral("Tab"));
            } else {
                MainToolbar_ButtonMenuClick(QStringLiteral("Graf"));
            }
        } else if (key == QLatin1String("Aktuell")) {
            const TovoDate heute = TovoDate::today();
            if (fgMain->isVisible() || AktuelleAnsicht() == 1) {
                edAktDatum->setText(heute.format(DateFieldFormat(false)));
                TovoZeitPlan1->SetAnzeigedatum(heute);
                TovoZeitPlan2->SetAnzeigedatum(heute);
                FillGrid(heute.sqlDateText());
            } else {
                TovoZeitPlan1->SetAnzeigedatum(heute);
                TovoZeitPlan2->SetAnzeigedatum(heute);
                if (miZeitbereich == 1)
                    TovoZeitPlan1->SetAnzeigedatum(heute.value() + kDreizehnUhr);
                TovoZeitPlan1->Zeichnen();
                TovoZeitPlan2->Zeichnen();
                FillDateFields();
            }
        } else if (key == QLatin1String("Standard")) {
            TovoDate d(TovoZeitPlan1->Anzeigedatum());
            switch (miZeitbereich) {
            case 1:
                d = d.addHours(13 - d.hour());
                break;
            case 2:
                d = d.addDays(5 - d.weekdaySundayFirst());
                break;
            case 3:
                d = d.addDays(16 - d.day());
                break;
            case 7:
                d = d.addMonths(7 - d.month());
                break;
            default:
                break;
            }
            TovoZeitPlan1->SetAnzeigedatum(d);
            TovoZeitPlan2->SetAnzeigedatum(d);
            if (miZeitbereich == 1 && hatKeineStunde(d))
                TovoZeitPlan1->SetAnzeigedatum(d.value() + kDreizehnUhr);
            TovoZeitPlan1->Zeichnen();
            TovoZeitPlan2->Zeichnen();
            FillDateFields();
        } else if (key == QLatin1String("New")) {
            NeuerAntrag();
        } else if (key == QLatin1String("Intranet")) {
            UpdateNetzpult();
        }
    });
}

void TovoRaumverwCtrl::MainToolbar_ButtonMenuClick(const QString& key) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.MainToolbar_ButtonMenuClick"), [&] {
        if (key == QLatin1String("Graf"))
            mnuAnsicht_Click(10);
        else if (key == QLatin1String("GrafInfo"))
            mnuAnsicht_Click(15);
        else if (key == QLatin1String("Tab"))
            mnuAnsicht_Click(20);
    });
}

void TovoRaumverwCtrl::mnuAnsicht_Click(int index) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuAnsicht_Click"), [&] {
        int ansicht;
        QString key;
        switch (index) {
        case 10:
            ansicht = 0;
            key = QStringLiteral("Graf");
            break;
        case 15:
            ansicht = 2;
            key = QStringLiteral("GrafInfo");
            break;
        case 20:
            ansicht = 1;
            key = QStringLiteral("Tab");
            break;
        default:
            return;
        }
        for (int i : {10, 15, 20})
            mnuAnsicht.value(i)->setChecked(i == index);
        for (const QString& k : AnzeigeButtonMenus.keys())
            AnzeigeButtonMenus.value(k)->setChecked(k == key);
        ChangeAnsicht(ansicht);
    });
}
