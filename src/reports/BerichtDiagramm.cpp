#include "BerichtDiagramm.h"

#include <QAbstractTextDocumentLayout>
#include <QGraphicsScene>
#include <QHash>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QHorizontalStackedBarSeries>
#include <QtCharts/QLegend>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

const QString kSchema = QStringLiteral("diagramm:");
constexpr int kObjektTyp = QTextFormat::UserObject + 17;
constexpr int kBalkenJeDiagramm = 25; // more rooms continue in the next chart
// Sizes in 1/96 inch, the unit of sizes in HTML.
constexpr int kRahmenHoehe = 92;
constexpr int kBalkenHoehe = 22;

const QColor kBelegung(0x2F, 0x6D, 0xB5);
const QColor kUmbau(0xE8, 0x91, 0x2D);

bool fehler(const QSqlQuery& q, QString* error) {
    if (error)
        *error = q.lastError().text();
    return false;
}

// The placeholders of one chart, split into parts of at most kBalkenJeDiagramm bars.
std::string platzhalter(const QString& name, const BerichtDiagramm& d, BerichtDiagramme& alle) {
    QString html;
    for (qsizetype i = 0, teil = 0; i < d.balken.size(); i += kBalkenJeDiagramm, ++teil) {
        BerichtDiagramm stueck{d.titel, d.balken.mid(i, kBalkenJeDiagramm)};
        const QString schluessel = name + QLatin1Char('/') + QString::number(teil);
        html += QStringLiteral("<p><img src=\"%1%2\" height=\"%3\"></p>\n")
                    .arg(kSchema, schluessel)
                    .arg(kRahmenHoehe + kBalkenHoehe * stueck.balken.size());
        alle.insert(schluessel, stueck);
    }
    return html.toStdString();
}

QFont schrift(int pixel, bool fett = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixel); // pixels scale with the painter, points would follow the device
    f.setBold(fett);
    return f;
}

// Draws the charts where the template placed them.
class DiagrammObjekt : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    DiagrammObjekt(const BerichtDiagramme& diagramme, QObject* parent)
        : QObject(parent), m_diagramme(diagramme) {}

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override {
        const QPaintDevice* geraet = doc->documentLayout()->paintDevice();
        const double dpi = geraet ? geraet->logicalDpiY() : 96.0;
        const double breite = format.hasProperty(QTextFormat::ImageWidth)
                                  ? format.doubleProperty(QTextFormat::ImageWidth) * dpi / 96.0
                                  : doc->textWidth() - 2 * doc->documentMargin();
        return {breite, format.doubleProperty(QTextFormat::ImageHeight) * dpi / 96.0};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const auto it = m_diagramme.constFind(
            format.stringProperty(QTextFormat::ImageName).mid(kSchema.size()));
        if (it != m_diagramme.constEnd())
            BerichtDiagrammAufbau::Zeichnen(*painter, rect, *it);
    }

private:
    const BerichtDiagramme& m_diagramme;
};

} // namespace

namespace BerichtDiagrammAufbau {

bool Read(const QString& connection, const BerichtArt& art, BerichtDiagramme& diagramme,
          kainjow::mustache::data& daten, QString* error) {
    diagramme.clear();
    if (art.familie != BerichtFamilie::Auslastung)
        return true;
    const QString ohneArt = QStringLiteral("(ohne Raumart)");
    QSqlQuery q(QSqlDatabase::database(connection, true));
    q.setForwardOnly(true);
    // The statistics count rooms by their short name; so do the room types.
    if (!q.exec(QStringLiteral("SELECT a.Kurzbez, r.stRaumArt FROM T_rb_Anzeige a LEFT JOIN "
                               "T_Raumart r ON r.lId = a.lRaumartId ORDER BY a.az_ID")))
        return fehler(q, error);
    QHash<QString, QString> artDesRaums;
    QHash<QString, int> raeumeDerArt;
    while (q.next()) {
        const QString raum = q.value(0).toString();
        if (artDesRaums.contains(raum))
            continue;
        const QString typ = q.value(1).toString().isEmpty() ? ohneArt : q.value(1).toString();
        artDesRaums.insert(raum, typ);
        ++raeumeDerArt[typ];
    }
    if (!q.exec(QStringLiteral("SELECT Kurzbez, Miete, Umbau FROM t_tmp_Druck")))
        return fehler(q, error);
    BerichtDiagramm raeume{QStringLiteral("Auslastung je Raum"), {}};
    QHash<QString, DiagrammBalken> arten;
    while (q.next()) {
        const DiagrammBalken b{q.value(0).toString(), q.value(1).toDouble(), q.value(2).toDouble()};
        raeume.balken.append(b);
        DiagrammBalken& a = arten[artDesRaums.value(b.name, ohneArt)];
        a.belegung += b.belegung;
        a.umbau += b.umbau;
    }
    BerichtDiagramm typen{QStringLiteral("Auslastung je Raumart (Durchschnitt aller Räume)"), {}};
    for (auto it = arten.cbegin(); it != arten.cend(); ++it) {
        const int anzahl = std::max(1, raeumeDerArt.value(it.key()));
        typen.balken.append({it.key(), it->belegung / anzahl, it->umbau / anzahl});
    }
    // In the order of the table: by name, letter case aside.
    for (BerichtDiagramm* d : {&raeume, &typen})
        std::stable_sort(d->balken.begin(), d->balken.end(), [](const auto& a, const auto& b) {
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        });
    daten.set("DiagrammRaeume", platzhalter(QStringLiteral("Raeume"), raeume, diagramme));
    daten.set("DiagrammRaumarten", platzhalter(QStringLiteral("Raumarten"), typen, diagramme));
    return true;
}

void Einsetzen(QTextDocument& doc, const BerichtDiagramme& diagramme) {
    if (diagramme.isEmpty())
        return;
    doc.documentLayout()->registerHandler(kObjektTyp, new DiagrammObjekt(diagramme, &doc));
    // One edit for all charts, so that the text after them is laid out again only once.
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment teil = it.fragment();
            QTextCharFormat format = teil.charFormat();
            if (!format.isImageFormat() || !format.toImageFormat().name().startsWith(kSchema))
                continue;
            format.setObjectType(kObjektTyp);
            c.setPosition(teil.position());
            c.setPosition(teil.position() + teil.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(format);
        }
    }
    c.endEditBlock();
}

void Zeichnen(QPainter& painter, const QRectF& ziel, const BerichtDiagramm& d) {
    const double dpi = painter.device() ? painter.device()->logicalDpiX() : 96.0;
    const QRectF flaeche(QPointF(0, 0), ziel.size() * (96.0 / dpi));

    QGraphicsScene scene;
    auto* chart = new QChart;
    scene.addItem(chart);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundVisible(false);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setTitle(d.titel);
    chart->setTitleFont(schrift(13, true));

    auto* belegung = new QBarSet(QStringLiteral("Belegung"));
    auto* umbau = new QBarSet(QStringLiteral("Umbau/Rückbau"));
    QStringList namen;
    double hoechstens = 0;
    // Horizontal bars run from the bottom up; the first room belongs on top, as in the table.
    for (auto it = d.balken.crbegin(); it != d.balken.crend(); ++it) {
        const DiagrammBalken& b = *it;
        *belegung << b.belegung;
        *umbau << b.umbau;
        namen << b.name;
        hoechstens = std::max(hoechstens, b.belegung + b.umbau);
    }
    for (auto [set, farbe] : {std::pair{belegung, kBelegung}, std::pair{umbau, kUmbau}}) {
        set->setColor(farbe);
        set->setBorderColor(farbe);
    }
    auto* serie = new QHorizontalStackedBarSeries;
    serie->append({belegung, umbau});
    serie->setBarWidth(0.7);
    chart->addSeries(serie);

    auto* raeume = new QBarCategoryAxis;
    raeume->append(namen);
    raeume->setTruncateLabels(false);
    raeume->setLabelsFont(schrift(11));
    auto* anteil = new QValueAxis;
    // A scale to the largest bar in round steps, so that low shares still show.
    double schritt = 1;
    for (const double s : {1.0, 2.0, 5.0, 10.0, 20.0, 25.0, 50.0})
        if (hoechstens <= s * 10) {
            schritt = s;
            break;
        }
    if (hoechstens > 500)
        schritt = std::ceil(hoechstens / 1000) * 100;
    const int schritte = std::max(1, static_cast<int>(std::ceil(hoechstens / schritt - 1e-9)));
    anteil->setRange(0, schritte * schritt);
    anteil->setTickCount(schritte + 1);
    anteil->setLabelFormat(QStringLiteral("%.0f %%"));
    anteil->setLabelsFont(schrift(10));
    chart->addAxis(raeume, Qt::AlignLeft);
    chart->addAxis(anteil, Qt::AlignBottom);
    serie->attachAxis(raeume);
    serie->attachAxis(anteil);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(schrift(11));

    chart->setGeometry(flaeche);
    scene.setSceneRect(flaeche);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, ziel, flaeche, Qt::IgnoreAspectRatio);
    painter.restore();
}

} // namespace BerichtDiagrammAufbau

#include "BerichtDiagramm.moc"
