#include "Bericht.h"

#include "BerichtDaten.h"
#include "ModalDialog.h"
#include "ProgrammOrt.h"
#include "RvGlobals.h"
#include "TovoDate.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScreen>
#include <QTextDocument>
#include <algorithm>

namespace {

QString lesen(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QPageLayout seitenLayout(bool quer) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       quer ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(15, 12, 15, 10), QPageLayout::Millimeter);
}

// Set without shaping, so that no ligature stands for its letters: copying or searching
// "Briefing" in the PDF finds "f" and "i", not the single glyph "ﬁ".
QFont Schrift(int punkte) {
    QFont f(QStringLiteral("DejaVu Sans"), punkte);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

} // namespace

bool Bericht::LadeVorlage(const QString& name, QString& text, QString& datei) {
    const QString dateiName = name + QStringLiteral(".html");
    QStringList orte;
    if (!gstReportDir.isEmpty())
        orte << QFileInfo(gstReportDir + dateiName).absoluteFilePath();
    orte << ProgrammOrt::DatenVerzeichnis() + QStringLiteral("Berichte/") + dateiName;
    orte << QStringLiteral(":/tovo/berichte/") + dateiName;
    for (const QString& ort : orte) {
        if (!QFileInfo::exists(ort))
            continue;
        text = lesen(ort);
        datei = ort;
        return true;
    }
    return false;
}

bool Bericht::Erstellen(const QString& connection, const BerichtArt& art, QString* error,
                        const QString& zeitraum) {
    QString vorlage;
    if (!LadeVorlage(art.name, vorlage, m_vorlage)) {
        if (error)
            *error = QStringLiteral("Zum Bericht „%1“ gibt es keine Vorlage.").arg(art.name);
        return false;
    }
    kainjow::mustache::data daten;
    QString fehler;
    if (!BerichtDaten::Read(connection, art, daten, &fehler) ||
        !BerichtDiagrammAufbau::Read(connection, art, m_diagramme, daten, &fehler)) {
        if (error)
            *error = QStringLiteral("Die Druckdaten können nicht gelesen werden.\n") + fehler;
        return false;
    }
    if (!zeitraum.isEmpty())
        daten.set("Zeitraum", zeitraum.toStdString());
    if (!BerichtDaten::Rendern(vorlage, m_vorlage, daten, m_html, error))
        return false;
    m_titel = art.titel;
    m_quer = art.quer;
    return true;
}

bool Bericht::Zeichnen(QPagedPaintDevice* device, const Fortschritt& fortschritt) const {
    QPainter p(device);
    if (!p.isActive())
        return true;
    const QRectF flaeche(QPointF(0, 0),
                         device->pageLayout().paintRectPixels(device->logicalDpiX()).size());
    const double mm = device->logicalDpiY() / 25.4;
    const double fuss = 9 * mm; // room for the footer at the foot of each page
    const QSizeF seite(flaeche.width(), flaeche.height() - fuss);

    QTextDocument doc;
    // Device and page size first: the text is then laid out once, as it is read.
    doc.documentLayout()->setPaintDevice(device);
    doc.setDefaultFont(Schrift(9));
    doc.setDocumentMargin(0);
    doc.setPageSize(seite);
    doc.setHtml(m_html);
    BerichtDiagrammAufbau::Einsetzen(doc, m_diagramme);

    const QFont fussSchrift = Schrift(7);
    const QString links = m_titel + QStringLiteral("  ·  Gedruckt am ") +
                          TovoDate::now().format(QStringLiteral("dd.mm.yyyy hh:nn"));
    const int seiten = doc.pageCount();
    const auto weiter = [&](int seite) { return !fortschritt || fortschritt(seite, seiten); };
    if (!weiter(0))
        return false;
    for (int i = 0; i < seiten; ++i) {
        if (i > 0)
            device->newPage();
        p.save();
        p.translate(0, -i * seite.height());
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(0, i * seite.height(), seite.width(), seite.height());
        ctx.palette.setColor(QPalette::Text, Qt::black);
        p.setClipRect(ctx.clip);
        doc.documentLayout()->draw(&p, ctx);
        p.restore();

        const double y = flaeche.height() - fuss + 3 * mm;
        p.setPen(QPen(Qt::gray, 0.2 * mm));
        p.drawLine(QPointF(0, y), QPointF(flaeche.width(), y));
        p.setPen(Qt::black);
        p.setFont(fussSchrift);
        const QRectF zeile(0, y + 1 * mm, flaeche.width(), fuss - 4 * mm);
        p.drawText(zeile, Qt::AlignLeft | Qt::AlignVCenter, links);
        p.drawText(zeile, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Seite %1 von %2").arg(i + 1).arg(seiten));
        if (!weiter(i + 1))
            return false;
    }
    return true;
}

bool Bericht::SchreibePdf(const QString& datei, QString* error,
                          const Fortschritt& fortschritt) const {
    QSaveFile f(datei);
    const auto fehler = [&](const QString& grund) {
        if (error)
            *error = QStringLiteral("Die PDF-Datei „%1“ kann nicht geschrieben werden: %2")
                         .arg(QDir::toNativeSeparators(datei), grund);
        return false;
    };
    if (!f.open(QIODevice::WriteOnly))
        return fehler(f.errorString());
    bool fertig = false;
    {
        QPdfWriter writer(&f);
        writer.setTitle(m_titel);
        writer.setCreator(QStringLiteral("Tovo Raumverwaltung"));
        writer.setResolution(300);
        writer.setPageLayout(seitenLayout(m_quer));
        fertig = Zeichnen(&writer, fortschritt);
    }
    if (!fertig) {
        f.cancelWriting();
        return fehler(QStringLiteral("Der Bericht wurde abgebrochen."));
    }
    return f.commit() || fehler(f.errorString());
}

void Bericht::Vorschau(QWidget* parent) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(seitenLayout(m_quer));
    printer.setDocName(m_titel);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("BerichtVorschau"));
    dialog.setWindowTitle(QStringLiteral("Druckvorschau – ") + m_titel);
    // As large as a page reads well, but within the screen with its title and task bars.
    const QScreen* schirm =
        parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect platz = schirm ? schirm->availableGeometry() : QRect(0, 0, 1366, 768);
    constexpr int kTitelleiste = 32;
    dialog.resize(std::min(1100, platz.width() - 16),
                  std::min(760, platz.height() - kTitelleiste - 16));
    dialog.move(platz.x() + (platz.width() - dialog.width()) / 2,
                platz.y() + std::max(0, (platz.height() - dialog.height() - kTitelleiste) / 2));
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &dialog](QPrinter* drucker) {
            QProgressDialog fortschritt(QStringLiteral("Der Bericht wird gesetzt …"),
                                        QStringLiteral("Abbrechen"), 0, 0, &dialog);
            fortschritt.setWindowTitle(m_titel);
            fortschritt.setWindowModality(Qt::WindowModal);
            fortschritt.setMinimumDuration(500);
            const bool fertig = Zeichnen(drucker, [&](int seite, int seiten) {
                fortschritt.setMaximum(seiten);
                fortschritt.setValue(seite);
                fortschritt.setLabelText(QStringLiteral("Seite %1 von %2").arg(seite).arg(seiten));
                return !fortschritt.wasCanceled();
            });
            if (!fertig)
                QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
        });
    ZeigeModal(dialog);
}
