#pragma once

#include "BerichtArt.h"

#include <QMap>
#include <QString>
#include <QVector>
#include <kainjow/mustache.hpp>

class QPainter;
class QRectF;
class QTextDocument;

// Bar charts in reports. The usage statistics offer two: "DiagrammRaeume" (booking and set-up
// shares per room, the rows of the table) and "DiagrammRaumarten" (the average share per room
// of each room type, rooms without bookings included). A template places one with the tag
// {{{DiagrammRaeume}}}; the tag becomes one or more <img src="diagramm:..."> placeholders that
// the page layout replaces by the chart, drawn as vector graphics on PDF, printer and preview.
struct DiagrammBalken {
    QString name;
    double belegung = 0; // per cent
    double umbau = 0;    // per cent, set-up and clear-down
};

struct BerichtDiagramm {
    QString titel;
    QVector<DiagrammBalken> balken;
};

using BerichtDiagramme = QMap<QString, BerichtDiagramm>; // by the placeholder's name

namespace BerichtDiagrammAufbau {

// Reads the charts of a report from the print table and puts their tags into `daten`. Reports
// without charts get none; false with the reason when the tables cannot be read.
bool Read(const QString& connection, const BerichtArt& art, BerichtDiagramme& diagramme,
          kainjow::mustache::data& daten, QString* error);

// Makes the placeholders of a document whose HTML is set draw the charts. The charts must live
// as long as the document is drawn.
void Einsetzen(QTextDocument& doc, const BerichtDiagramme& diagramme);

// Draws one chart into `ziel` (device coordinates of the painter).
void Zeichnen(QPainter& painter, const QRectF& ziel, const BerichtDiagramm& diagramm);

} // namespace BerichtDiagrammAufbau
