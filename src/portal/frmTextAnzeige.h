#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// A read-only window for a text file, with a print button.
class frmTextAnzeige : public QDialog {
    Q_OBJECT
public:
    frmTextAnzeige(const QString& titel, const QString& text, QWidget* parent = nullptr);

    void pbDrucken_Click();

    QPlainTextEdit* edText = nullptr;
    QPushButton* pbDrucken = nullptr;
    QPushButton* pbSchliessen = nullptr;
};
