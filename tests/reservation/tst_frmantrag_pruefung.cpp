// The reservation form's checks: the date check before saving, the set-up and clear-down
// corrections, typed times, the proposals and the conflict test after a change of time.
#include "AntragProjekt.h"

#include <QLabel>

namespace {

// Puts "dd.mm.yyyy hh:mm" (or "" for empty) into a date and a time box.
void setze(TovoTextbox* dt, TovoTextbox* tm, const QString& wert) {
    const QStringList teile = wert.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    dt->setText(teile.value(0));
    tm->setText(teile.value(1));
}

QString lies(const TovoTextbox* dt, const TovoTextbox* tm) {
    return QString(dt->text() + QLatin1Char(' ') + tm->text()).trimmed();
}

const QString kUmbauEndeFrage =
    QStringLiteral("Für den Umbau fehlt das Ende! Auf Terminbeginn setzen und speichern ?");

} // namespace

class TestFrmAntragPruefung : public QObject {
    Q_OBJECT

    // A new reservation in room A on 16.03.2026, opened as the time plan opens it.
    static void neuImRaumA(AntragProjekt& p, frmAntrag& form, double uhr = Uhr(9)) {
        form.NeuerAntragImRaum(p.raumA, Tag(0) + uhr);
        p.oeffne(form);
        p.prompt.clear();
    }

    static void spannenSetzen(frmAntrag& form, const QStringList& werte) {
        setze(form.tfDt_von, form.tfTm_von, werte[0]);
        setze(form.tfDt_bis, form.tfTm_bis, werte[1]);
        for (int i = 0; i < 4; ++i)
            setze(form.tfdt[i], form.tftm[i], werte[i + 2]);
    }
    static QStringList spannen(const frmAntrag& form) {
        QStringList werte{lies(form.tfDt_von, form.tfTm_von), lies(form.tfDt_bis, form.tfTm_bis)};
        for (int i = 0; i < 4; ++i)
            werte << lies(form.tfdt[i], form.tftm[i]);
        return werte;
    }

private Q_SLOTS:
    // Booking, set-up start, set-up end, clear-down start, clear-down end; several rows break
    // more than one rule to show that the first failing check is the one reported.
    void dateCheckStepsInOrder_data() {
        QTest::addColumn<QStringList>("werte");
        QTest::addColumn<QString>("meldung"); // "" = passes
        const QString v = QStringLiteral("16.03.2026 09:00");
        const QString b = QStringLiteral("16.03.2026 11:00");
        auto am = [](const char* zeit) -> QString {
            return QStringLiteral("16.03.2026 ") + QLatin1String(zeit);
        };
        QTest::newRow("1 end date missing")
            << QStringList{v, "", "", am("08:00"), "", ""} << "Anfangs- und Enddatum setzen!";
        QTest::newRow("1 start date missing")
            << QStringList{"", b, "", "", "", ""} << "Anfangs- und Enddatum setzen!";
        QTest::newRow("2 end equals start") << QStringList{v, v, "", am("08:00"), "", ""}
                                            << "Ende Termin muss später sein als Anfang Termin !";
        QTest::newRow("3 set-up end missing, No")
            << QStringList{v, b, am("08:00"), "", am("10:00"), ""} << kUmbauEndeFrage;
        QTest::newRow("4 clear-down start missing, No")
            << QStringList{v, b, "", "", "", am("12:00")}
            << "Für den Rückbau fehlt der Anfang! Auf Terminende setzen und speichern ?";
        QTest::newRow("5 set-up start missing")
            << QStringList{v, b, "", am("08:00"), am("12:00"), ""}
            << "Für den Umbau fehlt der Anfang !";
        QTest::newRow("6 clear-down end missing")
            << QStringList{v, b, am("09:30"), am("08:00"), am("12:00"), ""}
            << "Für den Rückbau fehlt das Ende !";
        QTest::newRow("7 set-up reversed")
            << QStringList{v, b, am("08:30"), am("08:00"), am("12:00"), am("11:30")}
            << "Ende Umbau muss später sein als Anfang Umbau !";
        QTest::newRow("8 clear-down reversed")
            << QStringList{v, b, am("07:00"), am("09:30"), am("12:00"), am("11:30")}
            << "Ende Rückbau muss später sein als Anfang Rückbau !";
        QTest::newRow("9 set-up ends after the start")
            << QStringList{v, b, am("08:00"), am("09:01"), am("10:00"), am("12:00")}
            << "Ende Umbau ist später als Beginn des Termins !";
        QTest::newRow("10 clear-down starts before the end")
            << QStringList{v, b, am("08:00"), am("09:00"), am("10:59"), am("12:00")}
            << "Anfang Rückbau ist früher als Ende des Termins !";
        QTest::newRow("spans touching the booking pass")
            << QStringList{v, b, am("08:00"), am("09:00"), am("11:00"), am("12:00")} << "";
        QTest::newRow("no spans pass") << QStringList{v, b, "", "", "", ""} << "";
        QTest::newRow("over midnight passes")
            << QStringList{"16.03.2026 22:00", "17.03.2026 01:00", "", "", "", ""} << "";
    }
    void dateCheckStepsInOrder() {
        QFETCH(QStringList, werte);
        QFETCH(QString, meldung);
        AntragProjekt p;
        frmAntrag form;
        spannenSetzen(form, werte);
        p.prompt.answer(PromptResult::No);

        QCOMPARE(form.DatumsPruefung(), meldung.isEmpty());
        if (meldung.isEmpty()) {
            QCOMPARE(p.prompt.shown.size(), 0);
        } else {
            QCOMPARE(p.texte(), QStringList{meldung});
            QCOMPARE(p.prompt.last().title, QStringLiteral("Tovo"));
        }
        QCOMPARE(spannen(form), werte); // a failed check changes nothing
        QCOMPARE(p.anzahlBelegungen(), 0);
    }

    void setUpEndFilledInAndSavedOnYes() {
        AntragProjekt p;
        frmAntrag form;
        neuImRaumA(p, form, Uhr(14));
        form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        form.tfBeteiligtentische->setText(QStringLiteral("4"));
        setze(form.tfdt[0], form.tftm[0], QStringLiteral("16.03.2026 13:00"));

        QVERIFY(form.DatumsPruefung());
        QCOMPARE(lies(form.tfdt[1], form.tftm[1]), QStringLiteral("16.03.2026 14:00"));
        QCOMPARE(p.texte(), (QStringList{kUmbauEndeFrage,
                                         "Die aktuelle Raumreservierung wurde gespeichert!"}));
        QCOMPARE(p.anzahlBelegungen(), 1);
        const CBelegungRec gespeichert = p.lies(form.f_RecBelegung->Rec_ID);
        QCOMPARE(gespeichert.Udt_bis, Tag(0));
        QCOMPARE(gespeichert.Utm_bis, Uhr(14));
    }

    // Booking 16.03.2026 09:00 to 11:00; the four set-up and clear-down moments before and after.
    void setUpCorrections_data() {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QStringList>("meldungen");
        const QString umbau = QStringLiteral("Umbauzeit muß vor Terminende liegen!");
        const QString rueck = QStringLiteral("Rückbauzeit muß nach Terminende liegen!");
        const QString bau = QStringLiteral("Bauanfang muß vor Bauende liegen!");
        QTest::newRow("set-up start on a later day takes the booking's date")
            << QStringList{"17.03.2026 08:00", "16.03.2026 08:30", "", ""}
            << QStringList{"16.03.2026 08:00", "16.03.2026 08:30", "", ""} << QStringList{umbau};
        QTest::newRow("set-up end after the start moves 10 minutes before it")
            << QStringList{"16.03.2026 08:00", "16.03.2026 09:30", "", ""}
            << QStringList{"16.03.2026 08:00", "16.03.2026 08:50", "", ""} << QStringList{umbau};
        QTest::newRow("clear-down start before the end moves 10 minutes after it")
            << QStringList{"", "", "16.03.2026 10:30", "16.03.2026 12:00"}
            << QStringList{"", "", "16.03.2026 11:10", "16.03.2026 12:00"} << QStringList{rueck};
        QTest::newRow("clear-down end on an earlier day takes the booking's date")
            << QStringList{"", "", "16.03.2026 11:30", "15.03.2026 12:00"}
            << QStringList{"", "", "16.03.2026 11:30", "16.03.2026 12:00"} << QStringList{rueck};
        QTest::newRow("reversed set-up ends 10 minutes after its start")
            << QStringList{"16.03.2026 08:30", "16.03.2026 08:00", "", ""}
            << QStringList{"16.03.2026 08:30", "16.03.2026 08:40", "", ""} << QStringList{bau};
        QTest::newRow("reversed clear-down moves across midnight")
            << QStringList{"", "", "16.03.2026 23:55", "16.03.2026 23:00"}
            << QStringList{"", "", "16.03.2026 23:55", "17.03.2026 00:05"} << QStringList{bau};
        QTest::newRow("both ends wrong")
            << QStringList{"16.03.2026 09:30", "16.03.2026 10:00", "", ""}
            << QStringList{"16.03.2026 08:50", "16.03.2026 09:00", "", ""}
            << QStringList{umbau, umbau, bau};
        QTest::newRow("valid spans stay") << QStringList{"16.03.2026 08:00", "16.03.2026 09:00",
                                                         "16.03.2026 11:00", "16.03.2026 12:00"}
                                          << QStringList{"16.03.2026 08:00", "16.03.2026 09:00",
                                                         "16.03.2026 11:00", "16.03.2026 12:00"}
                                          << QStringList{};
        QTest::newRow("empty spans stay")
            << QStringList{"", "", "", ""} << QStringList{"", "", "", ""} << QStringList{};
    }
    void setUpCorrections() {
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, nachher);
        QFETCH(QStringList, meldungen);
        AntragProjekt p;
        frmAntrag form;
        spannenSetzen(form, QStringList{"16.03.2026 09:00", "16.03.2026 11:00"} + vorher);
        form.CheckBau();
        QCOMPARE(spannen(form).mid(2), nachher);
        QCOMPARE(p.texte(), meldungen);
        for (const PromptMessage& m : p.prompt.shown) {
            const bool bau = m.text.startsWith(QLatin1String("Bauanfang"));
            QCOMPARE(m.title, bau ? QStringLiteral("Tovo") : QStringLiteral("Rückbau"));
            QCOMPARE(m.icon, bau ? PromptIcon::None : PromptIcon::Information);
        }
    }

    void typedTimes_data() {
        QTest::addColumn<bool>("ende");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<int>("endTag"); // day of tfDt_bis before the check
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<int>("endTagDanach");
        QTest::newRow("24:15 ends on the next day") << true << "24:15" << 0 << "00:15" << 1;
        QTest::newRow("24:15 already on the next day") << true << "24:15" << 1 << "00:15" << 1;
        QTest::newRow("invalid time is midnight") << true << "25:00" << 0 << "00:00" << 1;
        QTest::newRow("empty time is midnight") << true << "" << 0 << "00:00" << 1;
        QTest::newRow("valid end time stays") << true << "9:30" << 0 << "9:30" << 0;
        QTest::newRow("start 24:00 is midnight") << false << "24:00" << 0 << "00:00" << 0;
        QTest::newRow("start after midnight keeps the end") << false << "0:30" << 0 << "0:30" << 0;
    }
    void typedTimes() {
        QFETCH(bool, ende);
        QFETCH(QString, eingabe);
        QFETCH(int, endTag);
        AntragProjekt p;
        frmAntrag form;
        neuImRaumA(p, form, Uhr(0, 10));
        form.tfTm_von->setText(QStringLiteral("0:10"));
        form.tfTm_bis->setText(QStringLiteral("23:00"));
        form.tfDt_bis->setText(TagText(endTag));
        TovoTextbox* box = ende ? form.tfTm_bis : form.tfTm_von;
        box->setText(eingabe);
        if (ende)
            form.tfTm_bis_LostFocus();
        else
            form.tfTm_von_LostFocus();
        QTEST(box->text(), "zeit");
        QFETCH(int, endTagDanach);
        QCOMPARE(form.tfDt_bis->text(), TagText(endTagDanach));
        QCOMPARE(p.texte(), QStringList());
    }

    void proposalsForSetUpAndClearDown_data() {
        QTest::addColumn<QStringList>("termin");
        QTest::addColumn<QStringList>("vorschlag");
        QTest::newRow("afternoon") << QStringList{"16.03.2026 14:00", "16.03.2026 16:00"}
                                   << QStringList{"16.03.2026 12:30", "16.03.2026 13:30",
                                                  "16.03.2026 16:30", "16.03.2026 17:30"};
        QTest::newRow("around midnight") << QStringList{"17.03.2026 00:30", "17.03.2026 23:45"}
                                         << QStringList{"16.03.2026 23:00", "17.03.2026 00:00",
                                                        "18.03.2026 00:15", "18.03.2026 01:15"};
    }
    void proposalsForSetUpAndClearDown() {
        QFETCH(QStringList, termin);
        AntragProjekt p;
        frmAntrag form;
        neuImRaumA(p, form);
        spannenSetzen(form, termin + QStringList{"", "", "", ""});
        form.pbBauVor_Click(0);
        form.pbBauVor_Click(1);
        QTEST(spannen(form).mid(2), "vorschlag");
        QCOMPARE(form.tfUmbAufwand->Value(), 2.0);
        QVERIFY(form.DatumsPruefung());
        QCOMPARE(p.texte(), QStringList());

        // Resetting empties a span again.
        form.pbSetBack_Click(0);
        QCOMPARE(form.tfdt[0]->text(), QString());
        QCOMPARE(form.tfdt[1]->text(), QString());
        QCOMPARE(form.tftm[0]->text(), QStringLiteral("0"));
        QVERIFY(!form.tfdt[2]->text().isEmpty());
    }

    void conflictAfterTimeChangeSwitchesRoom() {
        AntragProjekt p;
        p.buche(p.satz(p.raumA, 0, Uhr(10), Uhr(12), 501));
        frmAntrag form;
        neuImRaumA(p, form, Uhr(8));
        QCOMPARE(form.lbUsedRoom->text(), QStringLiteral("Raum A"));
        QCOMPARE(form.coFreeRooms->currentText(), QStringLiteral("Raum A"));

        form.tfTm_bis->setText(QStringLiteral("11:00"));
        form.tfTm_bis_LostFocus();
        QCOMPARE(p.prompt.shown.size(), 1);
        QCOMPARE(p.prompt.last().title, QStringLiteral("Terminänderung"));
        QCOMPARE(p.prompt.last().text,
                 QStringLiteral("Es gibt einen Belegungskonflikt bei folgenden Daten:\r\n\r\n"
                                "Raum: 'Raum A' von 16.03.2026, 08:00 bis 16.03.2026, 11:00\r\n\r\n"
                                "Wenn möglich, wurde vom Programm auf einen anderen Raum dieser "
                                "Raumart umgeschaltet."));
        QCOMPARE(form.coFreeRooms->count(), 1);
        QCOMPARE(form.coFreeRooms->currentText(), QStringLiteral("Raum B"));
        QCOMPARE(form.RaumTag(), QString::number(p.raumB));
        QVERIFY(form.lbUsedRoom->isHidden());
        QVERIFY(!form.lbNichtverfuegbar->isHidden());

        // The new room is free: a further change passes quietly.
        form.tfTm_bis->setText(QStringLiteral("11:30"));
        form.tfTm_bis_LostFocus();
        QCOMPARE(p.prompt.shown.size(), 1);
    }

    void ownBookingNeverConflicts() {
        AntragProjekt p;
        auto rec = p.buche(p.satz(p.raumA, 0, Uhr(10), Uhr(12)));
        frmAntrag form;
        form.OeffneBelegung(rec);
        p.oeffne(form);
        form.tfTm_bis->setText(QStringLiteral("12:30"));
        form.tfTm_bis_LostFocus();
        QVERIFY(form.IsFreeRaum());
        QCOMPARE(p.texte(), QStringList());
        QCOMPARE(form.RaumTag(), QString::number(p.raumA));
    }

    void slotWithinToleranceSwitchesRoomBeforeShowing() {
        AntragProjekt p;
        gdToleranz = 15.0 / 1440;
        p.buche(p.satz(p.raumA, 0, Uhr(8), Uhr(9), 501));
        frmAntrag form;
        form.f_StammDb = &p.stamm;
        form.NeuerAntragImRaum(p.raumA, Tag(0) + Uhr(9));
        QCOMPARE(p.prompt.shown.size(), 1);
        QCOMPARE(p.prompt.last().title, QStringLiteral("Terminänderung"));
        QCOMPARE(form.RaumTag(), QString::number(p.raumB));
        QCOMPARE(form.windowTitle(), QStringLiteral("Neuer Antrag"));

        p.oeffne(form);
        QCOMPARE(form.coFreeRooms->currentText(), QStringLiteral("Raum B"));
        QCOMPARE(p.prompt.shown.size(), 1);
    }
};

QTEST_MAIN(TestFrmAntragPruefung)
#include "tst_frmantrag_pruefung.moc"
