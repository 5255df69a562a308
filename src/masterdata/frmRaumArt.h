#pragma once

#include "RecColl.h"
#include "Records.h"

#include <QDialog>
#include <memory>

class QListWidget;
class QPushButton;
class TovoTextbox;

// Maintenance of the room types: the list on the left, the name below it. f_bChange tells the
// opener that something was saved or deleted.
class frmRaumArt : public QDialog {
    Q_OBJECT

public:
    explicit frmRaumArt(QWidget* parent = nullptr);

    bool f_bChange = false;

    QListWidget* lbRaumArt = nullptr;
    TovoTextbox* edRaumArt = nullptr;
    QPushButton* pbNeu = nullptr;
    QPushButton* pbSave = nullptr;
    QPushButton* pbDel = nullptr;
    QPushButton* pbEnde = nullptr;

    void Form_Load();
    void Form_Activate();
    void lbRaumArt_Click();
    void pbNeu_Click();
    void pbSave_Click();
    void pbDel_Click();

    // The room type shown; none while a new one is entered.
    const CRaumartRec* Aktuell() const { return m_aktuell.get(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<CRaumartRec> m_aktuell;
    CRaumartRecColl m_alle;
    bool m_aktiviert = false;
};
