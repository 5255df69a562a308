#pragma once

#include <QDialog>
#include <cstdint>

class CGebDb;
class QLabel;
class QPushButton;
class QTreeWidget;
class TovoTextbox;

// The building structure edited: sites, buildings on a site, floors in a building and rooms on a
// floor, each with its part of the room number and a designation, written to the building
// database that the room picker (frmGebStruSel) reads. "Neu" prepares an entry below the
// selected one (or its ancestor of the right level), "Speichern" writes it; deleting takes
// everything below along. Read-only rights show the structure only.
class frmGebStruktur : public QDialog {
    Q_OBJECT

public:
    explicit frmGebStruktur(CGebDb* geb, QWidget* parent = nullptr);

    bool f_bChange = false; // something was written

    QTreeWidget* tvGebstru = nullptr;
    QLabel* llEintrag = nullptr; // what the fields below show: the entry or the new one
    TovoTextbox* edNr = nullptr;
    TovoTextbox* edBez = nullptr;
    QPushButton* pbNeu[5] = {}; // by level 1..4: site, building, floor, room
    QPushButton* pbSpeichern = nullptr;
    QPushButton* pbLoeschen = nullptr;
    QPushButton* pbEnde = nullptr;

    void tvGebstru_NodeClick();
    void pbNeu_Click(int ebene);
    void pbSpeichern_Click();
    void pbLoeschen_Click();
    bool WaehleKnoten(int32_t id);

private:
    void Fuelle(int32_t waehlen);
    int32_t Knoten() const; // the selected node, 0 = none
    int32_t Eltern() const; // the selected node's parent, 0 = none or a site
    // The selected node or its ancestor on `ebene`; 0 when there is none.
    int32_t Vorfahr(int ebene) const;
    // The number a new entry below `eltern` gets: one more than the highest of its siblings.
    QString NaechsteNr(int32_t eltern) const;
    void Knoepfe();

    CGebDb* m_geb;
    int m_neuEbene = 0; // level of the entry being added; 0 = the fields edit the selected one
    int32_t m_neuEltern = 0;
};
