#include "StreifenLesen.h"

#include "SqlConnection.h"
#include "ZeitPlanLesen.h"

#include <QMetaObject>

StreifenLesen::StreifenLesen(QObject* parent) : QObject(parent) {}

StreifenLesen::~StreifenLesen() {
    Abbrechen();
}

void StreifenLesen::Abbrechen() {
    ++m_auftrag;
    m_laeuft = false;
    if (!m_thread.joinable())
        return;
    m_abbrechen = true;
    m_thread.join();
    m_abbrechen = false;
}

void StreifenLesen::Starte(const DatenbankOrt& ort, int32_t raumartId,
                           const ViewQueries::Zeitfenster& fenster) {
    Abbrechen();
    m_laeuft = true;
    const int auftrag = m_auftrag;
    m_thread = std::thread([this, ort, raumartId, fenster, auftrag] {
        ZeitPlanTerminListe termine;
        QString fehler;
        const QString verbindung = UniqueConnectionName(QStringLiteral("Streifen"));
        if (OeffneDatenbank(ort, verbindung, true, &fehler)) {
            ZeitPlanLesen::ReadTermine(verbindung, raumartId, fenster, termine, &fehler,
                                       [this] { return !m_abbrechen; });
            CloseSqliteConnection(verbindung);
        }
        if (m_abbrechen)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, auftrag, termine = std::move(termine), fehler] {
                if (auftrag != m_auftrag)
                    return;
                m_laeuft = false;
                Q_EMIT Gelesen(termine, fehler);
            },
            Qt::QueuedConnection);
    });
}
