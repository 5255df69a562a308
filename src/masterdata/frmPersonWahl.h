#pragma once

#include <QDialog>
#include <cstdint>

class CStammdatenDb;
class QLineEdit;
class QListWidget;
class QPushButton;

// Picks a person of the master data. After OK f_lPersonId holds the person (0 on Cancel).
class frmPersonWahl : public QDialog {
    Q_OBJECT

public:
    explicit frmPersonWahl(CStammdatenDb* db, QWidget* parent = nullptr);

    int32_t f_lPersonId = 0;

    QLineEdit* edSuche = nullptr;
    QListWidget* lbPersonen = nullptr;
    QPushButton* pbOK = nullptr;
    QPushButton* pbCancel = nullptr;

    void edSuche_Change();
    void pbOK_Click();

private:
    CStammdatenDb* m_db;
};
