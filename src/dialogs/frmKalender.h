#pragma once

#include <QDialog>

class QCalendarWidget;

// A bare calendar: the opener may preset f_datKalender; a click on a day stores it there and
// closes the dialog.
class frmKalender : public QDialog {
    Q_OBJECT

public:
    explicit frmKalender(QWidget* parent = nullptr);

    double f_datKalender = 0;

    QCalendarWidget* Kalender = nullptr;

    // The window takes the calendar's size and the calendar shows f_datKalender.
    void Form_Activate();
    void Kalender_DateClick(const QDate& date);

protected:
    void showEvent(QShowEvent* event) override;
};
