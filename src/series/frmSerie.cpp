#include "frmSerie.h"

#include "ErrorGuard.h"
#include "Prompt.h"
#include "SerienBerechnung.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>

frmSerie::frmSerie(QWidget* parent) : QDialog(parent) {
    BuildControls();
    edFreqMonth[0]->setText(QStringLiteral("1"));
    edFreqMonth[1]->setText(QStringLiteral("1"));
    ConnectHandlers();
    // Loading: daily, from today, ten dates.
    obEndeNach->setChecked(true);
    obRule[0]->setChecked(true);
    obRule[2]->setChecked(true);
    obDaily->setChecked(true);
    edBeginn->setText(TovoDate::today().toShortDateText());
    edAnzTerm->setText(QStringLiteral("10"));
}

void frmSerie::ConnectHandlers() {
    auto changed = [this] { SetChanged(); };
    auto onText = [this](QLineEdit* e, std::function<void()> extra = {}) {
        connect(e, &QLineEdit::textChanged, this, [this, extra] {
            if (extra)
                extra();
            SetChanged();
        });
    };
    auto onChoice = [this](QComboBox* c, QRadioButton* rule) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, rule] {
            rule->setChecked(true);
            SetChanged();
        });
    };
    auto onOption = [this](QRadioButton* o, void (frmSerie::*handler)()) {
        connect(o, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };

    onOption(obDaily, &frmSerie::obDaily_Click);
    onOption(obWeekly, &frmSerie::obWeekly_Click);
    onOption(obMonthly, &frmSerie::obMonthly_Click);
    onOption(obYearly, &frmSerie::obYearly_Click);
    for (QRadioButton* o : {obJeden, obJedenArb, obEndeDatum, obEndeNach})
        connect(o, &QRadioButton::toggled, this, changed);
    for (QRadioButton* o : obRule)
        connect(o, &QRadioButton::toggled, this, changed);
    for (QCheckBox* c : cbWeekday)
        connect(c, &QCheckBox::toggled, this, changed);

    onText(edBeginn);
    onText(edEnde);
    onText(edAnzTerm);
    onText(edFreqWeek);
    onText(edFreqTag, [this] { obJeden->setChecked(true); });
    onText(edDay, [this] { obRule[0]->setChecked(true); });
    onText(edFreqMonth[0], [this] { obRule[0]->setChecked(true); });
    onText(edFreqMonth[1], [this] { obRule[1]->setChecked(true); });
    onText(edDayYear, [this] { obRule[2]->setChecked(true); });
    // Typing an end date or a number of dates chooses how the series ends.
    connect(edEnde, &QLineEdit::textEdited, this, [this] { obEndeDatum->setChecked(true); });
    connect(edAnzTerm, &QLineEdit::textEdited, this, [this] { obEndeNach->setChecked(true); });

    onChoice(coAnz, obRule[1]);
    onChoice(coDayArt, obRule[1]);
    onChoice(coMonth[0], obRule[2]);
    onChoice(coAnzYear, obRule[3]);
    onChoice(coDayArtYear, obRule[3]);
    onChoice(coMonth[1], obRule[3]);

    connect(coBeginnZeit, &QComboBox::currentIndexChanged, this, &frmSerie::coBeginnZeit_Click);
    connect(coEndeZeit, &QComboBox::currentIndexChanged, this, &frmSerie::coEndeZeit_Click);
    connect(edTimeBeginn, &QLineEdit::textChanged, this, &frmSerie::edTimeBeginn_Change);
    connect(edTimeEnde, &QLineEdit::textChanged, this, &frmSerie::edTimeEnde_Change);

    edBeginn->installEventFilter(this);
    edEnde->installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        connect(pbDatum[i], &QPushButton::clicked, this, [this, i] { pbDatum_Click(i); });
    connect(MonthView1, &QCalendarWidget::clicked, this, &frmSerie::MonthView1_DateClick);
    connect(pbOk, &QPushButton::clicked, this, &frmSerie::pbOk_Click);
    connect(pbPruefen, &QPushButton::clicked, this, &frmSerie::pbPruefen_Click);
    connect(pbCancel, &QPushButton::clicked, this, &frmSerie::pbCancel_Click);
    connect(trStatus, &QTimer::timeout, this, &frmSerie::trStatus_Timer);
}

void frmSerie::Vorbelegen(const QString& stTimeBeginn, const QString& stTimeEnde,
                          const QString& stBeginn) {
    edTimeBeginn->setText(stTimeBeginn);
    edTimeEnde->setText(stTimeEnde);
    TovoDate d;
    if (TovoDate::parse(stBeginn, d) && !d.isNoDate())
        edBeginn->setText(d.toShortDateText());
}

std::optional<TovoDate> frmSerie::StartDate() const {
    TovoDate d;
    if (TovoDate::parse(edBeginn->text(), d) && !d.isNoDate())
        return d.datePart();
    return std::nullopt;
}

SerienEingabe frmSerie::Eingabe() const {
    auto item = [](const QComboBox* c) { return c->currentIndex() + 1; };
    SerienEingabe in;
    in.stBeginn = edBeginn->text();
    in.stEnde = edEnde->text();
    in.stAnzTerm = edAnzTerm->text();
    in.bEndeNach = !obEndeDatum->isChecked();
    in.stTimeBeginn = edTimeBeginn->text();
    in.stTimeEnde = edTimeEnde->text();
    using M = SerienEingabe::Muster;
    in.muster = obWeekly->isChecked()    ? M::Woechentlich
                : obMonthly->isChecked() ? M::Monatlich
                : obYearly->isChecked()  ? M::Jaehrlich
                                         : M::Taeglich;
    in.bJedenArb = obJedenArb->isChecked();
    in.stFreqTag = edFreqTag->text();
    in.stFreqWeek = edFreqWeek->text();
    for (int i = 0; i < 7; ++i)
        in.bWeekday[i] = cbWeekday[i]->isChecked();
    in.bMonatAmTag = obRule[0]->isChecked();
    in.bJahrAmTag = obRule[2]->isChecked();
    in.stDay = edDay->text();
    in.stFreqMonth = {edFreqMonth[0]->text(), edFreqMonth[1]->text()};
    in.iAnz = item(coAnz);
    in.iDayArt = item(coDayArt);
    in.stDayYear = edDayYear->text();
    in.iMonth = {item(coMonth[0]), item(coMonth[1])};
    in.iAnzYear = item(coAnzYear);
    in.iDayArtYear = item(coDayArtYear);
    return in;
}

bool frmSerie::FillRecord(bool bAlleMeldungen) {
    return RunGuarded<bool>(QStringLiteral("frmSerie.FillRecord"), false, [&] {
        CSerienFkt rule;
        SerienAblehnung ablehnung;
        const bool ok = ::FillRecord(Eingabe(), rule, f_stSerieBem, ablehnung);
        rule.SetFeiertageAuslassen(cbFeiertage->isChecked());
        f_Serie = rule;
        if (ok || !(bAlleMeldungen || ablehnung.bImmerMelden))
            return ok;
        MsgBox(ablehnung.stMeldung, PromptButtons::Ok, PromptIcon::Information,
               QStringLiteral("Achtung"));
        QWidget* feld = findChild<QWidget*>(ablehnung.stFeld);
        if (auto* e = qobject_cast<QLineEdit*>(feld); e && !ablehnung.stKorrektur.isNull())
            e->setText(ablehnung.stKorrektur);
        if (feld)
            feld->setFocus();
        return false;
    });
}

bool frmSerie::CalcTermin(bool bAlleMeldungen) {
    return RunGuarded<bool>(QStringLiteral("frmSerie.CalcTermin"), false, [&] {
        if (!FillRecord(bAlleMeldungen))
            return false;
        CSerienFkt& rule = *f_Serie;
        if (obEndeNach->isChecked()) {
            const QString text = edAnzTerm->text().trimmed();
            const int n = text.isEmpty() ? 1 : text.toInt();
            const TovoDate last = R_Main::NthTermin(rule, n);
            edEnde->setText(last.toShortDateText());
            rule.SetdatEnde(last);
            rule.SetAnzTermin(n);
        } else {
            const int n = R_Main::AnzahlTermine(rule);
            edAnzTerm->setText(QString::number(n));
            rule.SetAnzTermin(n);
        }
        return true;
    });
}

void frmSerie::Form_Activate() {
    m_bActivated = true;
    if (const auto start = StartDate())
        cbWeekday[start->weekdayMondayFirst() - 1]->setChecked(true);
    {
        QScopedValueRollback<bool> busy(m_bInCalc, true);
        CalcTermin();
    }
    f_bChanged = false;
    trStatus->start();
}

void frmSerie::showEvent(QShowEvent* event) {
    pbPruefen->setVisible(static_cast<bool>(f_TerminePruefen));
    QDialog::showEvent(event);
    if (!m_bActivated)
        Form_Activate();
}

void frmSerie::trStatus_Timer() {
    // A message box of the recalculation lets the timer tick again meanwhile.
    if (!f_bChanged || m_bInCalc)
        return;
    {
        QScopedValueRollback<bool> busy(m_bInCalc, true);
        CalcTermin();
    }
    f_bChanged = false;
}

void frmSerie::pbPruefen_Click() {
    if (m_bInCalc || !f_TerminePruefen)
        return;
    {
        QScopedValueRollback<bool> busy(m_bInCalc, true);
        if (!CalcTermin(true))
            return;
    }
    f_TerminePruefen(*this);
}

void frmSerie::pbOk_Click() {
    if (m_bInCalc)
        return;
    QScopedValueRollback<bool> busy(m_bInCalc, true);
    // Recalculated once more, so that a change of the last half second is not lost.
    if (!CalcTermin(true))
        return;
    trStatus->stop();
    accept();
}

void frmSerie::pbCancel_Click() {
    reject();
}

void frmSerie::reject() {
    trStatus->stop();
    MonthView1->hide();
    f_Serie.reset();
    f_stSerieBem.clear();
    QDialog::reject();
}

void frmSerie::pbDatum_Click(int index) {
    if (MonthView1->isVisible() && m_iCalendarTag == index) {
        MonthView1->hide();
        return;
    }
    m_iCalendarTag = index;
    TovoDate d;
    if (TovoDate::parse((index > 0 ? edEnde : edBeginn)->text(), d) && !d.isNoDate())
        MonthView1->setSelectedDate(d.toQDate());
    QPushButton* b = pbDatum[std::clamp(index, 0, 1)];
    MonthView1->move(b->mapToGlobal(QPoint(0, b->height())));
    MonthView1->show();
}

void frmSerie::MonthView1_DateClick(const QDate& date) {
    const QString text = TovoDate::fromDate(date).toShortDateText();
    if (m_iCalendarTag > 0) {
        edEnde->setText(text);
        obEndeDatum->setChecked(true);
    } else {
        edBeginn->setText(text);
    }
    MonthView1->hide();
    SetChanged();
}

void frmSerie::ShowFrame(QGroupBox* frame) {
    for (QGroupBox* f : {frDaily, frWeekly, frMonthly, frYearly})
        f->setVisible(f == frame);
    SetChanged();
}

void frmSerie::obDaily_Click() {
    ShowFrame(frDaily);
    obJeden->setChecked(true);
    edFreqTag->setText(QStringLiteral("1"));
}

void frmSerie::obWeekly_Click() {
    ShowFrame(frWeekly);
    edFreqWeek->setText(QStringLiteral("1"));
}

void frmSerie::obMonthly_Click() {
    ShowFrame(frMonthly);
    if (const auto start = StartDate())
        edDay->setText(QString::number(start->day()));
    obRule[0]->setChecked(true);
}

void frmSerie::obYearly_Click() {
    ShowFrame(frYearly);
    // The start date's day in the current month.
    if (const auto start = StartDate())
        edDayYear->setText(QString::number(start->day()));
    coMonth[0]->setCurrentIndex(TovoDate::today().month() - 1);
    obRule[2]->setChecked(true);
}

namespace {

// A full hour typed as "13:00" or "8:00": its hour, else -1.
int fullHour(const QString& text) {
    static const QRegularExpression rx(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    const auto m = rx.match(text);
    if (!m.hasMatch() || m.captured(2).toInt() != 0)
        return -1;
    const int h = m.captured(1).toInt();
    return h < 24 ? h : -1;
}

} // namespace

void frmSerie::coBeginnZeit_Click() {
    if (!f_bNoTimeEvent && coBeginnZeit->currentIndex() >= 0)
        edTimeBeginn->setText(coBeginnZeit->currentText());
}

void frmSerie::coEndeZeit_Click() {
    if (!f_bNoTimeEvent && coEndeZeit->currentIndex() >= 0)
        edTimeEnde->setText(coEndeZeit->currentText());
}

void frmSerie::edTimeBeginn_Change() {
    if (const int h = fullHour(edTimeBeginn->text()); h >= 0) {
        QScopedValueRollback<bool> guard(f_bNoTimeEvent, true);
        coBeginnZeit->setCurrentIndex(h);
    }
}

void frmSerie::edTimeEnde_Change() {
    if (const int h = fullHour(edTimeEnde->text()); h >= 0) {
        QScopedValueRollback<bool> guard(f_bNoTimeEvent, true);
        coEndeZeit->setCurrentIndex(h);
    }
}

void frmSerie::edDatum_GotFocus() {
    trStatus->stop();
}

void frmSerie::edDatum_LostFocus() {
    if (m_bActivated)
        trStatus->start();
}

bool frmSerie::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edBeginn || watched == edEnde) {
        if (event->type() == QEvent::FocusIn)
            edDatum_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            edDatum_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}
