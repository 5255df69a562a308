#pragma once

#include "MailText.h"

#include <QDialog>

class QLineEdit;
class QTreeWidget;

// "Adresse suchen": picks an e-mail address among the employees and master-data persons. The
// opener fills the list (Setze) and shows the dialog; after OK f_stAdresse holds the address.
class frmAdressen : public QDialog {
    Q_OBJECT
public:
    explicit frmAdressen(QWidget* parent = nullptr);

    // The entries, and the text that filters them at first (the orderer's name, say).
    void Setze(const QVector<MailText::AdressEintrag>& buch, const QString& suche);
    // Shows the entries whose name or address contains the text, and selects the first.
    void Filtern(const QString& text);
    // Takes the selected entry and closes; nothing happens without one.
    void pbOk_Click();

    QString f_stAdresse; // the chosen address; empty = none

    QLineEdit* edSuche = nullptr;
    QTreeWidget* lvAdressen = nullptr;
};
