// The reservation on the form as an iCalendar file.
#include "frmAntrag.h"

#include "ErrorGuard.h"
#include "ICalExport.h"
#include "ModalDialog.h"
#include "Prompt.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSaveFile>

bool frmAntrag::GespeicherteBuchungen(QVector<CBelegungRec>& buchungen, QString& grund) const {
    if (f_BelegListe && f_BelegListe->Count() > 0)
        return ICalExport::ReadGespeichert(f_BelegListe->Item(1)->lAuftrNr, 0, buchungen, &grund);
    return ICalExport::ReadGespeichert(0, f_RecBelegung ? f_RecBelegung->Rec_ID : 0, buchungen,
                                       &grund);
}

bool frmAntrag::ICalText(QString& text, QString& grund) const {
    QVector<CBelegungRec> buchungen;
    if (!GespeicherteBuchungen(buchungen, grund))
        return false;
    text = ICalExport::IcsText(buchungen, ICalExport::ProjektRaeume(), m_SerieGespeichert.get());
    return true;
}

void frmAntrag::pbICal_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbICal_Click"), [&] {
        QString text;
        QString grund;
        if (!ICalText(text, grund)) {
            MsgBox(grund, PromptButtons::Ok, PromptIcon::Information,
                   QStringLiteral("Als iCalendar speichern"));
            return;
        }
        const int32_t nr = f_BelegListe ? f_BelegListe->Item(1)->lAuftrNr : f_RecBelegung->lAuftrNr;
        const QString vorschlag =
            QDir::home().filePath(QStringLiteral("Reservierung %1.ics").arg(nr));
        QFileDialog wahl(this, QStringLiteral("Als iCalendar speichern"), vorschlag,
                         QStringLiteral("iCalendar-Dateien (*.ics)"));
        wahl.setAcceptMode(QFileDialog::AcceptSave);
        if (ZeigeModal(wahl) != QDialog::Accepted || wahl.selectedFiles().isEmpty())
            return;
        QString datei = wahl.selectedFiles().constFirst();
        if (!datei.endsWith(QStringLiteral(".ics"), Qt::CaseInsensitive))
            datei += QStringLiteral(".ics");
        QSaveFile f(datei);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit())
            RaiseError(QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.")
                           .arg(QDir::toNativeSeparators(datei)) +
                       QLatin1Char('\n') + f.errorString());
    });
}
