#pragma once

#include "TovoDate.h"

#include <QDialog>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for one date. The opener reads f_datSelect afterwards; 31.12.9999 means cancelled.
class frmDatSelect : public QDialog {
    Q_OBJECT

public:
    explicit frmDatSelect(QWidget* parent = nullptr);

    double f_datSelect = TovoDate::kNoDate;

    QLabel* llHinweis = nullptr; // what the date is for; hidden while empty
    QLineEdit* edReportDatum = nullptr;
    QCalendarWidget* MonthView1 = nullptr;
    QPushButton* pbOK = nullptr;
    QPushButton* pbCancel = nullptr;

    // Field and calendar show `heute` (the constructor passes today).
    void Form_Activate(double heute);
    void SetHinweis(const QString& text);
    void MonthView1_DateClick(const QDate& date);
    void pbOk_Click();
    void pbCancel_Click();
};
