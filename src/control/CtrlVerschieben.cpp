// Bookings changed in the plan: dragged to another room or time, deleted from the plan, and the
// moves undone again. Every change goes through the write path.
#include "TovoRaumverwCtrl.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "TovoRecht.h"
#include "TovoZeitPlan.h"

#include <QAction>
#include <QCoreApplication>

namespace SP = SchreibPfad;

namespace {
constexpr int kMeldungDauerMs = 8000;
// Moves remembered for "Rückgängig".
constexpr int kRueckgaengigTiefe = 20;

bool nurLesen() {
    return goRecht && goRecht->Zugriff() == QLatin1String("L");
}

QString Zeitraum(const CBelegungRec& b) {
    const TovoDate von(b.dt_von), bis(b.dt_bis);
    const QString vonZeit = TovoDate(b.tm_von).format(QStringLiteral("HH:mm"));
    const QString bisZeit = TovoDate(b.tm_bis).format(QStringLiteral("HH:mm"));
    if (von.datePart() == bis.datePart())
        return QStringLiteral("am ") + von.toShortDateText() + QStringLiteral(" von ") + vonZeit +
               QStringLiteral(" bis ") + bisZeit;
    return QStringLiteral("vom ") + von.toShortDateText() + QLatin1Char(' ') + vonZeit +
           QStringLiteral(" bis ") + bis.toShortDateText() + QLatin1Char(' ') + bisZeit;
}

CAnzeigeRec Raum(int32_t raumId) {
    CAnzeigeRec raum;
    raum.az_ID = raumId;
    if (gRvDb)
        gRvDb->Readrb_AnzeigeRec(&raum);
    return raum;
}
} // namespace

void TovoRaumverwCtrl::ConnectVerschiebenHandlers() {
    connect(TovoZeitPlan1, &TovoZeitPlan::MoveAntrag, this,
            [this](int32_t id, const QString& raum) { TovoZeitPlan_MoveAntrag(id, raum); });
    connect(TovoZeitPlan1, &TovoZeitPlan::VerschiebeAntrag, this,
            [this](int32_t id, int32_t raum, double beginn, double ende) {
                TovoZeitPlan_VerschiebeAntrag(id, raum, beginn, ende);
            });
    connect(TovoZeitPlan1, &TovoZeitPlan::LoescheAntrag, this,
            [this](int32_t id) { TovoZeitPlan_LoescheAntrag(id); });
    QAction* rueckgaengig = mnuBearbeiten.value(2);
    rueckgaengig->setShortcut(QKeySequence::Undo);
    rueckgaengig->setEnabled(false);
    // The shortcut works in the control also where the host shows no menu.
    addAction(rueckgaengig);
    connect(rueckgaengig, &QAction::triggered, this, [this] { Rueckgaengig(); });
}

void TovoRaumverwCtrl::TovoZeitPlan_MoveAntrag(int32_t lId, const QString& raumId) {
    bool ok = false;
    const int32_t raum = raumId.toInt(&ok);
    CBelegungRec rec;
    rec.Rec_ID = lId;
    if (ok && gRvDb && gRvDb->Readfm_belegungRec(&rec)) {
        const SP::Verlegung lage = SP::LageVon(rec);
        // The plan moved the booking's bar itself; its set-up and clear-down bars follow on a
        // rebuild, as does a refused move.
        const bool mitBau = !IsNoDate(rec.Udt_von) || !IsNoDate(rec.Rdt_von);
        if (Verlege(lId, raum, lage.beginn, lage.ende) && !mitBau)
            return;
    }
    // Also unchanged: a refused move puts the dragged bar back.
    AenderungenZeigen(true);
}

void TovoRaumverwCtrl::TovoZeitPlan_VerschiebeAntrag(int32_t lId, int32_t raumId, double beginn,
                                                     double ende) {
    Verlege(lId, raumId, beginn, ende);
    AenderungenZeigen(true);
}

bool TovoRaumverwCtrl::Verlege(int32_t lId, int32_t raumId, double beginn, double ende) {
    return RunGuarded<bool>(QStringLiteral("TovoRaumverwCtrl.TovoZeitPlan_MoveAntrag"), false, [&] {
        CBelegungRec rec;
        rec.Rec_ID = lId;
        if (nurLesen() || !gRvDb || !gRvDb->Readfm_belegungRec(&rec))
            return false;
        const CAnzeigeRec alt = Raum(rec.rb_id), neu = Raum(raumId);
        if (raumId != rec.rb_id && alt.lRaumartId != neu.lRaumartId &&
            MsgBox(QStringLiteral("Der Raum '") + neu.Kurzbez +
                       QStringLiteral("' gehört zu einer anderen Raumart als '") + alt.Kurzbez +
                       QStringLiteral("'. Soll die Reservierung trotzdem dorthin verschoben "
                                      "werden?"),
                   PromptButtons::YesNo, PromptIcon::Question,
                   QStringLiteral("Verschieben")) != PromptResult::Yes)
            return false;

        QVector<SP::Verlegung> ziel{{lId, raumId, beginn, ende}};
        CBelegungRecColl auftrag;
        if (rec.lAuftrNr > 0 && !gRvDb->ReadAuftrag2Coll(rec.lAuftrNr, &auftrag))
            RaiseError(gRvDb->LastError());
        if (auftrag.Count() >= 2) {
            PromptMessage frage{QStringLiteral("Verschieben"),
                                QStringLiteral("Der Termin gehört zu einer Serie. Soll nur dieser "
                                               "Termin oder die ganze Serie verschoben werden?"),
                                PromptIcon::Question,
                                PromptButtons::YesNoCancel,
                                QString(),
                                {QStringLiteral("Nur diesen &Termin"),
                                 QStringLiteral("Ganze &Serie"), QStringLiteral("&Abbrechen")}};
            const PromptResult antwort = Prompt().show(frage);
            if (antwort == PromptResult::Cancel)
                return false;
            if (antwort == PromptResult::No) {
                // Every date by the same shift; into the new room only when the room changed.
                const SP::Verlegung vorher = SP::LageVon(rec);
                ziel.clear();
                for (const CBelegungRec* b : auftrag) {
                    SP::Verlegung v = SP::LageVon(*b);
                    v.raumId = raumId != rec.rb_id ? raumId : b->rb_id;
                    v.beginn += beginn - vorher.beginn;
                    v.ende += ende - vorher.ende;
                    ziel.append(v);
                }
            }
        }

        QVector<CBelegungRec> vorher;
        SP::Ergebnis ergebnis;
        if (!R_Main::VerlegeBelegungen(ziel, false, &vorher, &ergebnis)) {
            if (ergebnis.status == SP::Status::Konflikt)
                MeldeBelegungImWeg(ergebnis);
            return false;
        }
        QVector<SP::Verlegung> zurueck;
        for (const CBelegungRec& b : vorher)
            zurueck.append(SP::LageVon(b));
        m_rueckgaengig.append(zurueck);
        if (m_rueckgaengig.size() > kRueckgaengigTiefe)
            m_rueckgaengig.removeFirst();
        mnuBearbeiten.value(2)->setEnabled(true);
        QCoreApplication::processEvents();
        Q_EMIT Statusmeldung(QStringLiteral("Verschoben. Rückgängig mit Strg+Z."), kMeldungDauerMs);
        return true;
    });
}

void TovoRaumverwCtrl::Rueckgaengig() {
    if (m_rueckgaengig.isEmpty() || nurLesen())
        return;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.Rueckgaengig"), [&] {
        SP::Ergebnis ergebnis;
        // Done, or impossible for good (a booking deleted meanwhile): forgotten. A taken place
        // or a busy database keep it for another try.
        if (R_Main::VerlegeBelegungen(m_rueckgaengig.last(), true, nullptr, &ergebnis) ||
            ergebnis.status == SP::Status::Fehler)
            m_rueckgaengig.removeLast();
    });
    mnuBearbeiten.value(2)->setEnabled(KannRueckgaengig());
    AenderungenZeigen(true);
}

void TovoRaumverwCtrl::TovoZeitPlan_LoescheAntrag(int32_t lId) {
    if (nurLesen())
        return;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.TovoZeitPlan_LoescheAntrag"), [&] {
        if (MsgBox(QStringLiteral("Wollen Sie diese Reservierung wirklich löschen ?"),
                   PromptButtons::YesNo, PromptIcon::None,
                   QStringLiteral("Achtung !")) == PromptResult::Yes)
            R_Main::LoescheBelegung(lId);
    });
    AenderungenZeigen(true);
}

void TovoRaumverwCtrl::MeldeBelegungImWeg(const SP::Ergebnis& e) {
    const CBelegungRec& andere = e.imWeg;
    QString text = QStringLiteral("Nicht verschoben: Raum '") + e.raumName +
                   QStringLiteral("' ist ") + Zeitraum(andere) + QStringLiteral(" belegt");
    if (!andere.Best.trimmed().isEmpty())
        text += QStringLiteral(" durch ") + andere.Best.trimmed();
    if (andere.lAuftrNr > 0)
        text += QStringLiteral(" (Auftrag ") + QString::number(andere.lAuftrNr) + QLatin1Char(')');
    Q_EMIT Statusmeldung(text + QLatin1Char('.'), kMeldungDauerMs);
}
