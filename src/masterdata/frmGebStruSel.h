#pragma once

#include "GebDb.h"

#include <QDialog>
#include <QVector>
#include <cstdint>

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

    // The tree of the building structure as the picker and the editor show it; every item holds
    // its node's id, level, number part and designation under these roles.
    static constexpr int kRolleId = Qt::UserRole;
    static constexpr int kRolleEbene = Qt::UserRole + 1;
    static constexpr int kRolleNr = Qt::UserRole + 2;
    static constexpr int kRolleBez = Qt::UserRole + 3;
    static void BaumFuellen(QTreeWidget* baum, const QVector<GebNode>& alle);

private:
    void Fuelle();
    int32_t GewaehlterRaum() const;

    CGebDb* m_geb;
    QString m_format;
};
