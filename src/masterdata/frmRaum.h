#pragma once

#include "RecColl.h"
#include "Records.h"

#include <QDialog>
#include <QMap>
#include <memory>

class CGebDb;
class QAction;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTableWidget;
class QToolBar;
class TovoTextbox;

// Maintenance of the bookable rooms: every room in the grid, one in the mask below it. The
// opener hands in the building structure (f_GebStru) and its long number format, and reads
// f_bChange afterwards to know whether the view must be rebuilt.
class frmRaum : public QDialog {
    Q_OBJECT

public:
    explicit frmRaum(QWidget* parent = nullptr);

    bool f_bChange = false;
    bool f_bNeu = false; // start with a new room
    CGebDb* f_GebStru = nullptr;
    QString f_stRaumNrFormat = QStringLiteral("S.G.BE.R");

    QToolBar* MainToolbar = nullptr;
    QMap<QString, QAction*> MainToolbarButtons; // New, Save, Delete
    QTableWidget* fgAnzeige = nullptr;
    TovoTextbox* edName = nullptr;
    TovoTextbox* edRaumNr = nullptr;
    QPushButton* pbGebStru = nullptr;
    QComboBox* coRaumart = nullptr;
    QCheckBox* cbAusstattung[12] = {}; // in the order of the equipment letters WPCMRFLNASGB
    QComboBox* coStuhlanordnung = nullptr;
    TovoTextbox* edAnzahlPers = nullptr;
    TovoTextbox* edMaxAnzahlPTische = nullptr;
    TovoTextbox* edFestAnzahlPTische = nullptr;
    QPushButton* pbEnde = nullptr;

    void Form_Load();
    void Form_Activate();
    void MainToolbar_ButtonClick(const QString& key);
    void fgAnzeige_Click(int row);
    void OnButtonNew();
    // False when the room could not be saved; the mask then keeps what was entered.
    bool OnButtonSave();
    void OnButtonDelete();
    void pbGebStru_Click();
    void pbEnde_Click();

    const CAnzeigeRec* Aktuell() const { return m_aktuell.get(); }
    int32_t GebraumId() const { return m_lGebraumId; }
    bool Geaendert() const { return m_bGeaendert; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void BuildLayout();
    void FuelleGrid();
    void ZeigeRaum(int32_t id);
    void MaskeFuellen(const CAnzeigeRec& raum, bool neu);
    void MaskeGeaendert();
    void SetzeGeaendert(bool geaendert);
    QString RaumartName(int32_t id) const;
    bool Ungespeichert();

    std::unique_ptr<CAnzeigeRec> m_aktuell;
    CAnzeigeRecColl m_raeume;
    CRaumartRecColl m_raumarten;
    int32_t m_lGebraumId = 0;
    int32_t m_letzteId = 0; // the room shown last
    bool m_bGeaendert = false;
    bool m_laden = false; // the mask is being filled by the program
    bool m_aktiviert = false;
};
