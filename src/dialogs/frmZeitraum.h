#pragma once

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Picks a month of a year or a whole year. The opener reads f_bOk, f_iMonat (0 for the whole
// year), f_iJahr and f_stReport ("März 2026" or "2026") afterwards.
class frmZeitraum : public QDialog {
    Q_OBJECT

public:
    explicit frmZeitraum(QWidget* parent = nullptr);

    bool f_bOk = false;
    int f_iMonat = 0;
    int f_iJahr = 0;
    QString f_stReport;

    QRadioButton* Option1[13] = {}; // 0 the whole year, 1 to 12 the months
    QButtonGroup* Option1Group = nullptr;
    QLineEdit* edJahr = nullptr;
    QPushButton* Minus = nullptr;
    QPushButton* Plus = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Abbruch = nullptr;

    // Year and month of `heute` (the constructor passes today).
    void Form_Load(double heute);
    void Minus_Click();
    void Plus_Click();
    void OK_Click();
    void abbruch_Click();

private:
    bool ReadJahr(int& jahr) const;
};
