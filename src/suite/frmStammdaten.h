#pragma once

#include "StammdatenDb.h"

#include <QDialog>

class QGroupBox;
class QListWidget;
class QPushButton;
class TovoTextbox;

// Maintenance of the master data: companies on the left, the selected company's fields on the
// right and its persons below. Opened modally; f_bChange tells the opener whether anything was
// saved or deleted, so that it reloads its company and person lists.
class frmStammdaten : public QDialog {
    Q_OBJECT
public:
    explicit frmStammdaten(CStammdatenDb* db, QWidget* parent = nullptr);

    bool f_bChange = false;

private:
    void BuildLayout();
    // Reloads the companies and selects the one with the id (none for 0); the company's persons
    // follow, with the person `personId` selected.
    void FillFirmen(int32_t firmaId, int32_t personId = 0);
    void FillPersonen(int32_t personId);
    void ShowFirma(int32_t personId = 0);
    void ShowPerson();
    void UpdateButtons();
    bool DarfSchreiben() const;

    void pbFirmaNeu_Click();
    void pbFirmaSpeichern_Click();
    void pbFirmaLoeschen_Click();
    void pbPersonNeu_Click();
    void pbPersonSpeichern_Click();
    void pbPersonLoeschen_Click();

    CStammdatenDb* m_db;
    int32_t m_lFirmaId = 0; // the company shown; 0 = a new one
    Person m_person;        // the person shown (lId 0 = a new one), keeps the fields not shown

    QListWidget* lbFirmen = nullptr;
    TovoTextbox* edFirmaName = nullptr;
    TovoTextbox* edFirmaStrasse = nullptr;
    TovoTextbox* edFirmaPlz = nullptr;
    TovoTextbox* edFirmaOrt = nullptr;
    QPushButton* pbFirmaNeu = nullptr;
    QPushButton* pbFirmaSpeichern = nullptr;
    QPushButton* pbFirmaLoeschen = nullptr;

    QGroupBox* frPersonen = nullptr;
    QListWidget* lbPersonen = nullptr;
    TovoTextbox* edPersonAnrede = nullptr;
    TovoTextbox* edPersonVorname = nullptr;
    TovoTextbox* edPersonName = nullptr;
    TovoTextbox* edPersonTelefon = nullptr;
    TovoTextbox* edPersonTelefax = nullptr;
    TovoTextbox* edPersonEmail = nullptr;
    TovoTextbox* edPersonKostenstelle = nullptr;
    TovoTextbox* edPersonAbteilung = nullptr;
    TovoTextbox* edPersonFunktion = nullptr;
    TovoTextbox* edPersonBemerkung = nullptr;
    QPushButton* pbPersonNeu = nullptr;
    QPushButton* pbPersonSpeichern = nullptr;
    QPushButton* pbPersonLoeschen = nullptr;

    QPushButton* pbSchliessen = nullptr;
};
