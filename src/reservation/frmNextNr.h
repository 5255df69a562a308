#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QPushButton;

// The small modal dialog for an order number: when the counter hits a number already in use, and
// for setting the counter. The opener puts the proposed number into edOrderNr and reads
// lOrderNr afterwards.
class frmNextNr : public QDialog {
    Q_OBJECT

public:
    explicit frmNextNr(QWidget* parent = nullptr);

    int32_t lOrderNr = -1; // the confirmed number; -1 when cancelled

    QLineEdit* edOrderNr = nullptr;
    QPushButton* pbOK = nullptr;
    QPushButton* pbCancel = nullptr;

    // Handlers; the widgets call them, tests may too.
    void edOrderNr_GotFocus();
    void edOrderNr_Change();
    void pbOK_Click();
    void pbCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The field lost the focus only because its window did (a message box, another program):
    // getting it back then is no new visit of the field.
    bool m_nurFensterWechsel = false;
};
