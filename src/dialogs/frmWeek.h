#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Picks a week, Monday to Sunday. The opener reads f_bOk, f_datVon and f_datBis afterwards.
class frmWeek : public QDialog {
    Q_OBJECT

public:
    explicit frmWeek(QWidget* parent = nullptr);

    double f_datVon = 0;
    double f_datBis = 0;
    bool f_bOk = false;

    QLabel* txWeek = nullptr;
    QPushButton* pbMinus = nullptr;
    QPushButton* pbPlus = nullptr;
    QPushButton* pbOK = nullptr;
    QPushButton* pbCancel = nullptr;

    // The week of `heute` (the constructor passes today).
    void Form_Load(double heute);
    void pbMinus_Click();
    void pbPlus_Click();
    void pbOK_Click();
    void pbCancel_Click();

private:
    void ZeigeWoche();
};
