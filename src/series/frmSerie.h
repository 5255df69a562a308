#pragma once

#include "CSerienFkt.h"
#include "SerienEingabe.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// "Terminserie": the modal dialog in which the user defines a series. The opener pre-fills it
// (Vorbelegen), runs exec() and reads f_Serie and f_stSerieBem afterwards: a filled rule and its
// description after OK, none and "" after cancel. While the user edits, the status timer keeps
// the end date (end after a number of dates) or the number of dates (end at a date) up to date.
// Controls and handlers are public so that the dialog can be driven without showing it.
class frmSerie : public QDialog {
    Q_OBJECT

public:
    explicit frmSerie(QWidget* parent = nullptr);

    // The reservation's start time, end time and start date as texts; an empty start date keeps
    // today.
    void Vorbelegen(const QString& stTimeBeginn, const QString& stTimeEnde,
                    const QString& stBeginn);

    // Results.
    std::optional<CSerienFkt> f_Serie;
    QString f_stSerieBem;

    // What "Termine prüfen…" does with the rule of the fields; set by the opener, which knows
    // the room. The button is shown only while it is set.
    std::function<void(frmSerie&)> f_TerminePruefen;
    void pbPruefen_Click();

    // State: something changed since the last recalculation; the time lists are being moved.
    bool f_bChanged = false;
    bool f_bNoTimeEvent = false;

    // The fields as they stand.
    SerienEingabe Eingabe() const;
    // Builds the rule and the description from the fields. An end before the start is always
    // reported and corrected; other refusals are reported only with bAlleMeldungen.
    bool FillRecord(bool bAlleMeldungen = true);
    // FillRecord, then the end date (end after a number of dates) or the number of dates (end at
    // a date) into its field and into the rule. False when there is no valid rule.
    bool CalcTermin(bool bAlleMeldungen = false);

    // Handlers.
    void Form_Activate();
    void trStatus_Timer();
    void pbOk_Click();
    void pbCancel_Click();
    void pbDatum_Click(int index);
    void MonthView1_DateClick(const QDate& date);
    void obDaily_Click();
    void obWeekly_Click();
    void obMonthly_Click();
    void obYearly_Click();
    void coBeginnZeit_Click();
    void coEndeZeit_Click();
    void edTimeBeginn_Change();
    void edTimeEnde_Change();
    void edDatum_GotFocus();
    void edDatum_LostFocus();

    void reject() override;

    // Controls. Arrays are named name_index (obRule_0).
    QLineEdit* edBeginn = nullptr;
    QLineEdit* edEnde = nullptr;
    QLineEdit* edAnzTerm = nullptr;
    QRadioButton* obEndeDatum = nullptr;
    QRadioButton* obEndeNach = nullptr;
    QLineEdit* edTimeBeginn = nullptr;
    QLineEdit* edTimeEnde = nullptr;
    QComboBox* coBeginnZeit = nullptr;
    QComboBox* coEndeZeit = nullptr;
    std::array<QPushButton*, 2> pbDatum{}; // 0 start, 1 end
    QCalendarWidget* MonthView1 = nullptr;

    QRadioButton* obDaily = nullptr;
    QRadioButton* obWeekly = nullptr;
    QRadioButton* obMonthly = nullptr;
    QRadioButton* obYearly = nullptr;
    QGroupBox* frDaily = nullptr;
    QGroupBox* frWeekly = nullptr;
    QGroupBox* frMonthly = nullptr;
    QGroupBox* frYearly = nullptr;

    QRadioButton* obJeden = nullptr;
    QLineEdit* edFreqTag = nullptr;
    QRadioButton* obJedenArb = nullptr;
    QLineEdit* edFreqWeek = nullptr;
    std::array<QCheckBox*, 7> cbWeekday{}; // Monday ... Sunday
    std::array<QRadioButton*, 4> obRule{};
    QLineEdit* edDay = nullptr;
    std::array<QLineEdit*, 2> edFreqMonth{};
    QComboBox* coAnz = nullptr;
    QComboBox* coDayArt = nullptr;
    QLineEdit* edDayYear = nullptr;
    std::array<QComboBox*, 2> coMonth{};
    QComboBox* coAnzYear = nullptr;
    QComboBox* coDayArtYear = nullptr;

    QCheckBox* cbFeiertage = nullptr;
    QPushButton* pbPruefen = nullptr; // shown while f_TerminePruefen is set
    QPushButton* pbOk = nullptr;
    QPushButton* pbCancel = nullptr;
    QTimer* trStatus = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    void ShowFrame(QGroupBox* frame);
    void SetChanged() { f_bChanged = true; }
    // The start date of edBeginn, or none.
    std::optional<TovoDate> StartDate() const;

    bool m_bActivated = false;
    bool m_bInCalc = false;
    int m_iCalendarTag = 0;
};
