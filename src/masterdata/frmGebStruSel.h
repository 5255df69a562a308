#pragma once

#include <QDialog>
#include <cstdint>

class CGebDb;
class QLabel;
class QPushButton;
class QTreeWidget;

// Picks a room from the building structure: a tree of sites, buildings, floors and rooms. OK
// is possible only on a room. After OK f_lRaumId holds the room and f_stRaumNr its number in
// the long format; both stay empty on Cancel.
class frmGebStruSel : public QDialog {
    Q_OBJECT

public:
    frmGebStruSel(CGebDb* gebStru, const QString& stFormat, QWidget* parent = nullptr);

    int32_t f_lRaumId = 0;
    QString f_stRaumNr;

    QTreeWidget* tvGebstru = nullptr;
    QLabel* llHinweis = nullptr;
    QPushButton* pbOK = nullptr;
    QPushButton* pbCancel = nullptr;

    void tvGebstru_NodeClick();
    void pbOK_Click();
    void pbCancel_Click();
    // Selects the node of the id (for tests and to show the room already chosen).
    bool WaehleKnoten(int32_t id);

private:
    void Fuelle();
    int32_t GewaehlterRaum() const;

    CGebDb* m_geb;
    QString m_format;
};
