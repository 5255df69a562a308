#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// Picks a from-to range of days. The opener reads f_bOk, f_datVon and f_datBis afterwards.
class frmVonBis : public QDialog {
    Q_OBJECT

public:
    explicit frmVonBis(QWidget* parent = nullptr);

    bool f_bOk = false;
    double f_datVon = 0;
    double f_datBis = 0;

    QLineEdit* edVonDatum = nullptr;
    QLineEdit* edBisDatum = nullptr;
    QPushButton* pbVonDatum = nullptr;
    QPushButton* pbBisDatum = nullptr;
    QPushButton* pbOK = nullptr;
    QPushButton* pbCancel = nullptr;

    // Proposes the month of `heute` (the constructor passes today).
    void Form_Load(double heute);
    void edVonDatum_Change();
    void edBisDatum_Change();
    void pbVonDatum_Click();
    void pbBisDatum_Click();
    void pbOk_Click();
    void pbCancel_Click();

private:
    void WaehleDatum(QLineEdit* feld, QPushButton* knopf);
    void PruefeOK();
};
