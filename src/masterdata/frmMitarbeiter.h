#pragma once

#include "Records.h"

#include <QDialog>
#include <memory>

class CStammdatenDb;
class QPushButton;
class QTableWidget;
class TovoTextbox;

// Maintenance of the employees, the contact persons the reservation form offers: the grid
// above, the mask below. A person can be taken over from the master data (f_StammDb).
class frmMitarbeiter : public QDialog {
    Q_OBJECT

public:
    explicit frmMitarbeiter(QWidget* parent = nullptr);

    bool f_bNeu = false; // start with a new employee
    bool f_bChange = false;
    CStammdatenDb* f_StammDb = nullptr;

    QTableWidget* fgAnzeige = nullptr;
    TovoTextbox* edPersNr = nullptr;
    TovoTextbox* edVorname = nullptr;
    TovoTextbox* edName = nullptr;
    TovoTextbox* edAbteilung = nullptr;
    TovoTextbox* edFunktion = nullptr;
    TovoTextbox* edTelefon = nullptr;
    TovoTextbox* edTelefax = nullptr;
    TovoTextbox* edEMail = nullptr;
    TovoTextbox* edFirma = nullptr;
    TovoTextbox* edRaumNr = nullptr;
    TovoTextbox* edKostenstelle = nullptr;
    TovoTextbox* edBemerkung = nullptr;
    TovoTextbox* edAnrede = nullptr;
    QPushButton* pbNeu = nullptr;
    QPushButton* pbSave = nullptr;
    QPushButton* pbDel = nullptr;
    QPushButton* pbGetStamm = nullptr;
    QPushButton* pbEnde = nullptr;

    void Form_Load();
    void Form_Activate();
    void fgAnzeige_Click(int row);
    void pbNeu_Click();
    void pbSave_Click();
    void pbDel_Click();
    void pbGetStamm_Click();

    const CMitarbeiterRec* Aktuell() const { return m_aktuell.get(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void Read2Mask(const CMitarbeiterRec& rec);
    void Write2Rec(CMitarbeiterRec& rec) const;

    std::unique_ptr<CMitarbeiterRec> m_aktuell;
    bool m_aktiviert = false;
};
