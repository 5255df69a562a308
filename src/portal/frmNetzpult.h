#pragma once

#include "NetzpultAntrag.h"

#include <QDialog>
#include <QVector>
#include <functional>

class CStammdatenDb;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class CNetzpultVerbindung;

// "Daten vom Netzpult": the portal's waiting requests. The user deletes them or takes one over,
// a new request into the reservation form, a change request into its booking.
class frmNetzpult : public QDialog {
    Q_OBJECT
public:
    explicit frmNetzpult(QWidget* parent = nullptr);

    // The control's command: checks the portal kind, renumbers the requests, fills the list and
    // shows the window modally.
    static void Oeffnen(QWidget* parent, CStammdatenDb* stammDb, const QString& client);

    CStammdatenDb* f_StammDb = nullptr; // for the reservation form (not owned)
    QString f_stClient;

    // Fills the list from the portal (the connection is open).
    void FillList(CNetzpultVerbindung& verbindung);
    void Form_Activate();
    void pbAkt_Click();
    void pbDelete_Click();
    void pbWork_Click();
    void pbOK_Click();
    void lvOrders_Click();
    void lvOrders_DblClick();
    void lvOrders_MouseMove(QTreeWidgetItem* item);

    // The request of the selected line; null without a selection.
    const NetzpultAntrag* Markiert() const;

    QTreeWidget* lvOrders = nullptr;
    QLabel* llHinweis = nullptr;
    QPushButton* pbAkt = nullptr;
    QPushButton* pbDelete = nullptr;
    QPushButton* pbWork = nullptr;
    QPushButton* pbOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool DarfBearbeiten() const;
    void ZeileEntfernen(int32_t wunschId);
    // Deletes the request after the question `frage`; true when deleted.
    bool LoeschenNachFrage(const NetzpultAntrag& antrag, const QString& frage);
    // The take-over (frmNetzpultUebernahme.cpp).
    void NeuenAntragUebernehmen(const NetzpultAntrag& antrag);
    void AenderungUebernehmen(const NetzpultAntrag& antrag);

    QVector<NetzpultAntrag> m_antraege; // one per line, in list order
    bool m_aktiviert = false;
};
