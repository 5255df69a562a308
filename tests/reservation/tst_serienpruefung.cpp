// The check of a new series before saving: statuses and choices per date, and the saving of
// exactly the chosen dates, all or nothing.
#include "AntragProjekt.h"
#include "SerienPruefung.h"
#include "SerienPruefungModel.h"
#include "SerienSpeichern.h"
#include "TovoTools.h"
#include "frmSerienPruefung.h"

#include <QLabel>
#include <QLineEdit>

using SerienPruefung::Wahl;

namespace {
// The Mondays 16.03., 23.03., 30.03. and 06.04.2026 (Easter Monday), 10:00 to 12:00.
const QVector<int> kTage = {0, 7, 14, 21};
} // namespace

class TestSerienPruefung : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    int32_t raumC = 0;

    SerienPruefung::Ergebnis pruefe() {
        SerienPruefung::Anfrage a;
        for (int t : kTage)
            a.termine.append(TovoDate(Tag(t)));
        a.zeitVon = Uhr(10);
        a.zeitBis = Uhr(12);
        a.raumId = p->raumA;
        a.raumartId = p->typ;
        a.land = QStringLiteral("NW");
        SerienPruefung::Ergebnis e;
        QString error;
        if (!SerienPruefung::Pruefen(a, e, {}, &error))
            qWarning() << error;
        return e;
    }
    int zaehler() { return p->wert(QStringLiteral("SELECT lNextNr FROM T_NextNr")).toInt(); }

private Q_SLOTS:
    // Room A taken on 23.03. (B too) and on 30.03.; room C free throughout.
    void init() {
        p = std::make_unique<AntragProjekt>();
        raumC =
            p->raum(QStringLiteral("Raum C"), QStringLiteral("W"), QStringLiteral("K"), 20, 4, 0);
        CBelegungRec b = p->satz(p->raumA, Tag(7, 10), Tag(7, 12), 1234);
        b.Best = QStringLiteral("Müller");
        p->buche(b);
        p->buche(p->raumB, Tag(7, 11), Tag(7, 13), 1235);
        b = p->satz(p->raumA, Tag(14, 9), Tag(14, 10.5), 1236);
        b.Best = QStringLiteral("Schulz");
        p->buche(b);
        // Bookings of other days are no obstacle.
        p->buche(raumC, Tag(6, 10), Tag(6, 12));
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    void statuses() {
        SerienPruefung::Ergebnis e = pruefe();
        SerienPruefungModel m(e);
        QCOMPARE(m.rowCount(), kTage.size());
        const auto spalte = [&](int s) {
            QStringList out;
            for (int zeile = 0; zeile < m.rowCount(); ++zeile)
                out << m.index(zeile, s).data().toString();
            return out;
        };
        QCOMPARE(spalte(SerienPruefungModel::Datum),
                 (QStringList{TagText(0), TagText(7), TagText(14), TagText(21)}));
        QCOMPARE(spalte(SerienPruefungModel::Wochentag), QStringList(4, "Montag"));
        QCOMPARE(spalte(SerienPruefungModel::Zeit), QStringList(4, "10:00–12:00"));
        QCOMPARE(spalte(SerienPruefungModel::Status),
                 (QStringList{"frei", "belegt durch Auftrag 1234 (Müller, 10:00–12:00)",
                              "belegt durch Auftrag 1236 (Schulz, 09:00–10:30)",
                              "Feiertag (Ostermontag)"}));
        QCOMPARE(spalte(SerienPruefungModel::FreieRaeume),
                 (QStringList{"", "Raum C", "Raum B, Raum C", ""}));
        QCOMPARE(spalte(SerienPruefungModel::Auswahl),
                 (QStringList{"behalten", "auslassen", "auslassen", "behalten"}));
    }

    // A choice on the 23.03. (taken; only C free) or on the 16.03. (free).
    void choices_data() {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<int>("wert"); // as the choice column is edited; -2 = B, -3 = C
        QTest::addColumn<bool>("moeglich");
        QTest::addColumn<QString>("raum");
        QTest::addColumn<QString>("wahl");
        const auto row = [](const char* name, int zeile, int wert, bool moeglich, const char* raum,
                            const char* wahl) {
            QTest::newRow(name) << zeile << wert << moeglich << QString(raum) << QString(wahl);
        };
        row("keep a taken date", 1, SerienPruefungModel::kBehalten, false, "Raum A", "auslassen");
        row("move to a taken room", 1, -2, false, "Raum A", "auslassen");
        row("move to a free room", 1, -3, true, "Raum C", "nach Raum C");
        row("leave out a free date", 0, SerienPruefungModel::kAuslassen, true, "Raum A",
            "auslassen");
    }
    void choices() {
        QFETCH(int, zeile);
        QFETCH(int, wert);
        SerienPruefung::Ergebnis e = pruefe();
        SerienPruefungModel m(e);
        if (wert == -2)
            wert = p->raumB;
        if (wert == -3)
            wert = raumC;
        const QModelIndex i = m.index(zeile, SerienPruefungModel::Auswahl);
        QTEST(m.setData(i, wert), "moeglich");
        QTEST(m.index(zeile, SerienPruefungModel::Raum).data().toString(), "raum");
        QTEST(i.data().toString(), "wahl");
    }

    void allAtOnce() {
        SerienPruefung::Ergebnis e = pruefe();
        SerienPruefung::AlleVerschieben(e);
        QVector<int32_t> raeume;
        for (const R_Main::SerienTermin& t : SerienPruefung::Auswahl(e))
            raeume << t.raumId;
        QCOMPARE(raeume, (QVector<int32_t>{p->raumA, raumC, p->raumB, p->raumA}));
        QVERIFY(SerienPruefung::OhneText(e).isEmpty());
        SerienPruefung::AlleBelegtenAuslassen(e);
        QCOMPARE(SerienPruefung::OhneText(e), QStringLiteral("ohne 23.03.2026, 30.03.2026"));
        QCOMPARE(SerienPruefung::Auswahl(e).size(), 2);
    }

    // On the form: the conflict message offers the overview; 23.03. goes to C, 30.03. and the
    // holiday are left out; the save writes exactly the other two under one number.
    void formSavesTheChoice() {
        frmAntrag form;
        p->neu(form, p->raumA, Tag(0, 10), QStringLiteral("12:00"));
        p->modal.einmal([&](frmSerienPruefung& dlg) {
            auto* m = dlg.Model();
            m->setData(m->index(1, SerienPruefungModel::Auswahl), raumC);
            m->setData(m->index(3, SerienPruefungModel::Auswahl), SerienPruefungModel::kAuslassen);
            dlg.pbOk_Click();
        });
        p->prompt.answer(PromptResult::Zusatz);
        p->wochenserie(form, 4);
        QCOMPARE(p->modal.gezeigt, (QStringList{"frmSerie", "frmSerienPruefung"}));
        QCOMPARE(p->prompt.shown.first().zusatzKnopf, QStringLiteral("Termine prüfen…"));
        QCOMPARE(form.lbUsedRoom->text(), QStringLiteral("Raum A"));
        QCOMPARE(form.edSerie->text(),
                 QStringLiteral("Alle 1 Wochen, am Montag, ohne 30.03.2026, 06.04.2026"));

        const int vorher = zaehler();
        p->prompt.clear();
        form.pbSave_Click();
        QCOMPARE(p->prompt.texte().last(),
                 QStringLiteral("Die aktuelle Raumreservierung wurde gespeichert!"));
        CBelegungRecColl auftrag;
        QVERIFY(p->db.ReadAuftrag2Coll(vorher, &auftrag));
        QVector<QPair<double, int>> gespeichert;
        for (const CBelegungRec* b : auftrag) {
            gespeichert.append({b->dt_von, b->rb_id});
            QVERIFY(b->stSerieBem.endsWith(QStringLiteral("ohne 30.03.2026, 06.04.2026")));
        }
        QCOMPARE(gespeichert, (QVector<QPair<double, int>>{{Tag(0), p->raumA}, {Tag(7), raumC}}));
        QCOMPARE(zaehler(), vorher + 1);

        // Saved again (a changed remark), each booking keeps its room.
        QCOMPARE(form.lbUsedRoom->text(), frmAntrag::kMehrere);
        form.tfBem->setText(QStringLiteral("mit Beamer"));
        form.pbSave_Click();
        QCOMPARE(p->wert(QStringLiteral("SELECT rb_id FROM T_fm_belegung WHERE lAuftrNr = ? AND "
                                        "Bem = 'mit Beamer' AND dt_von = ?"),
                         {vorher, Tag(7)})
                     .toInt(),
                 raumC);
    }

    // "Feiertage auslassen" in room C (free on all four Mondays): Easter Monday is not booked
    // and the description says so.
    void holidaysLeftOut() {
        QVERIFY(CTovoTools::Instance().WriteIniValue(p->dir.filePath(kIniFileName),
                                                     QStringLiteral("Feiertage"),
                                                     QStringLiteral("Land"), QStringLiteral("NW")));
        frmAntrag form;
        p->neu(form, raumC, Tag(0, 10), QStringLiteral("12:00"));
        p->wochenserie(form, 4, true);
        QCOMPARE(form.edSerie->text(), QStringLiteral("Alle 1 Wochen, am Montag, ohne 06.04.2026"));
        const int nr = zaehler();
        form.pbSave_Click();
        QCOMPARE(p->wert(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung WHERE lAuftrNr = ? "
                                        "AND rb_id = ? AND dt_von < ?"),
                         {nr, raumC, Tag(21)})
                     .toInt(),
                 3);
        QCOMPARE(p->anzahlBelegungen(), 4 + 3);
    }

    // Another user books room C on 23.03. meanwhile: nothing of the series is written.
    void saveIsAllOrNothing() {
        CBelegungRec vorlage = p->satz(p->raumA, Tag(0, 10), Tag(0, 12));
        const QVector<R_Main::SerienTermin> termine = {
            {TovoDate(Tag(0)), p->raumA}, {TovoDate(Tag(7)), raumC}, {TovoDate(Tag(21)), p->raumA}};
        p->buche(raumC, Tag(7, 11), Tag(7, 11.5), 77);
        const int zeilen = p->anzahlBelegungen();
        const int nr = zaehler();
        QVERIFY(!R_Main::SaveJour(termine, vorlage, gRvDb, R_Main::gNextNrDialog));
        QVERIFY(p->texte().last().contains(QStringLiteral("23.03.2026")));
        QCOMPARE(p->anzahlBelegungen(), zeilen);
        QCOMPARE(zaehler(), nr);
    }
};

QTEST_MAIN(TestSerienPruefung)
#include "tst_serienpruefung.moc"
