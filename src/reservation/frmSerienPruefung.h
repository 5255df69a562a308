#pragma once

#include "SerienPruefung.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableView;
class SerienPruefungModel;

// "Serienprüfung": every date of a new series with its status and the user's choice per date.
// The opener calls Laden, shows the dialog and reads f_Ergebnis when f_bUebernommen.
class frmSerienPruefung : public QDialog {
    Q_OBJECT
public:
    explicit frmSerienPruefung(QWidget* parent = nullptr);

    // Checks the dates; a progress window appears when that takes more than half a second.
    // False when the database failed (the user was told) or the check was cancelled.
    bool Laden(const SerienPruefung::Anfrage& anfrage);

    SerienPruefung::Ergebnis f_Ergebnis;
    bool f_bUebernommen = false;

    void pbAlleAuslassen_Click();
    void pbAlleVerschieben_Click();
    void pbOk_Click();
    void pbCancel_Click();

    SerienPruefungModel* Model() const { return m_model; }

    QLabel* lbSumme = nullptr;
    QTableView* lvTermine = nullptr;
    QPushButton* pbAlleAuslassen = nullptr;
    QPushButton* pbAlleVerschieben = nullptr;
    QPushButton* pbOk = nullptr;
    QPushButton* pbCancel = nullptr;

private:
    void SummeZeigen();

    SerienPruefungModel* m_model = nullptr;
};
