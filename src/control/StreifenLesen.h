#pragma once

#include "DatenbankOrt.h"
#include "ViewQueries.h"
#include "ZeitPlanData.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <thread>

// Reads the bars of the overview strip in a thread of its own, on a connection of its own, so
// that the main plan is painted first and input never waits for the strip. A new request
// replaces one still running, whose result is dropped.
class StreifenLesen : public QObject {
    Q_OBJECT
public:
    explicit StreifenLesen(QObject* parent = nullptr);
    ~StreifenLesen() override;

    void Starte(const DatenbankOrt& ort, int32_t raumartId,
                const ViewQueries::Zeitfenster& fenster);
    // Stops a running read and waits for its thread; nothing is delivered for it.
    void Abbrechen();
    bool Laeuft() const { return m_laeuft; }

Q_SIGNALS:
    // The bars read, or the driver's text in `fehler`.
    void Gelesen(const ZeitPlanTerminListe& termine, const QString& fehler);

private:
    std::thread m_thread;
    std::atomic<bool> m_abbrechen{false};
    int m_auftrag = 0; // the request whose result counts
    bool m_laeuft = false;
};
