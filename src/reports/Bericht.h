#pragma once

#include "BerichtArt.h"
#include "BerichtDiagramm.h"

#include <QString>
#include <functional>

class QDialog;
class QPagedPaintDevice;
class QWidget;

// A report made from the print table and its template, ready to be paged onto PDF, printer or
// preview. The template "NAME.html" is looked up in the project's report directory
// (gstReportDir) first, then in the folder "Berichte" of the program's files (ProgrammOrt), and
// else the copy built into the program is used.
class Bericht {
public:
    // Reads t_tmp_Druck on `connection` and renders the template of `art`; `zeitraum` is the
    // period the heading shows (empty: the period text of the rows). False with a German
    // message in `error` when the template is faulty or the table cannot be read.
    bool Erstellen(const QString& connection, const BerichtArt& art, QString* error,
                   const QString& zeitraum = QString());

    const QString& Html() const { return m_html; }
    const QString& Titel() const { return m_titel; }
    // The template file that was used (a path, or ":/..." for the built-in one).
    const QString& Vorlage() const { return m_vorlage; }
    bool Quer() const { return m_quer; }

    // Told the pages drawn so far and the number of pages after each page (0 before the first,
    // when the layout is done); returning false stops the drawing.
    using Fortschritt = std::function<bool(int seite, int seiten)>;

    // Lays the report out on the device's pages with the footer (title, print date, page n of
    // m), in the device's page layout (SchreibePdf and Vorschau set A4 portrait or landscape).
    // False when `fortschritt` stopped it.
    bool Zeichnen(QPagedPaintDevice* device, const Fortschritt& fortschritt = {}) const;
    // Writes a PDF file; false with a German message when the file cannot be written or the
    // writing was stopped. The file appears complete or not at all: it is written beside the
    // target and renamed when done, so a file of the same name stays as it was until then.
    bool SchreibePdf(const QString& datei, QString* error,
                     const Fortschritt& fortschritt = {}) const;
    // The print preview, from which the user prints or saves a PDF. Drawing the pages of a long
    // report shows its progress with "Abbrechen", which closes the preview.
    void Vorschau(QWidget* parent) const;

    // The template text of a report name and where it came from.
    static bool LadeVorlage(const QString& name, QString& text, QString& datei);

private:
    QString m_html;
    QString m_titel;
    QString m_vorlage;
    BerichtDiagramme m_diagramme;
    bool m_quer = false;
};
