// The time plan: its geometry (spans of the periods, steps, rows) and the widget under the mouse
// and the keyboard (open, book a free slot, drag in rooms and time, the cell cursor, scroll,
// overview); and the overlapping bookings of a period, the booking that stops a move, and the
// outline and tool tip of a clashing bar.
#include "TovoDate.h"
#include "TovoZeitPlan.h"
#include "ZeitPlanGeometry.h"
#include "ZeitPlanKonflikte.h"

#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

namespace {
double D(int y, int m, int d, int h = 0, int mi = 0) {
    return TovoDate::fromParts(y, m, d, h, mi).value();
}
QString T(double v) {
    return TovoDate(v).format("dd.MM.yyyy hh:mm");
}
// Monday 16.03.2026 plus n days, at hour h.
double Z(int n, double h) {
    return TovoDate::fromParts(2026, 3, 16 + n).value() + h / 24.0;
}
ZeitPlanTermin Balken(int64_t id, int64_t raum, double von, double bis,
                      int64_t farbe = kFarbeBelegung) {
    ZeitPlanTermin t;
    t.lId = id;
    t.lStammId = raum;
    t.stName = QStringLiteral("Besteller %1").arg(id);
    t.lFarbe = farbe;
    t.DtVon = von;
    t.DtBis = bis;
    return t;
}
QStringList Namen(const QVector<ZeitPlanKonflikte::Paar>& paare) {
    QStringList out;
    for (const auto& p : paare)
        out << QStringLiteral("%1-%2").arg(p.erste.lId).arg(p.zweite.lId);
    return out;
}
// Room 1 on Monday: 1 from 9 to 12, 2 from 10 to 11 and 3 from 11:30 to 13 overlap; 4 starts
// when 3 ends. Room 2 holds 5 at the same time as 1, and 6 on Wednesday, whose set-up bar
// reaches back into the time of 7.
// A pair is named by the booking that starts first.
ZeitPlanTerminListe Plan() {
    return {Balken(1, 1, Z(0, 9), Z(0, 12)),
            Balken(2, 1, Z(0, 10), Z(0, 11)),
            Balken(3, 1, Z(0, 11.5), Z(0, 13)),
            Balken(4, 1, Z(0, 13), Z(0, 14)),
            Balken(5, 2, Z(0, 9), Z(0, 12)),
            Balken(7, 2, Z(2, 8), Z(2, 9)),
            Balken(6, 2, Z(2, 8.5), Z(2, 9.5), kFarbeUmbau),
            Balken(6, 2, Z(2, 9.5), Z(2, 12))};
}
} // namespace

class TestZeitPlan : public QObject {
    Q_OBJECT

    TovoZeitPlan* plan = nullptr;

    QStringList m_log;
    // What the plan asks for, in order: the signal's name and its arguments, times as text.
    template <class... A> void Mitschreiben(void (TovoZeitPlan::*signal)(A...), const char* name) {
        connect(plan, signal, this, [this, name](A... a) {
            const auto text = [](auto v) {
                if constexpr (std::is_same_v<decltype(v), double>)
                    return T(v);
                else
                    return QVariant(v).toString();
            };
            m_log << (QStringList{name} << ... << text(a)).join(QLatin1Char(' '));
        });
    }
    const QStringList& Protokoll() {
        m_log.clear();
        Mitschreiben(&TovoZeitPlan::MoveAntrag, "Move");
        Mitschreiben(&TovoZeitPlan::VerschiebeAntrag, "Verschiebe");
        Mitschreiben(&TovoZeitPlan::SelectAntrag, "Select");
        Mitschreiben(&TovoZeitPlan::LoescheAntrag, "Loesche");
        Mitschreiben(&TovoZeitPlan::FreeSelected, "Free");
        Mitschreiben(&TovoZeitPlan::RadBlaettern, "Rad");
        Mitschreiben(&TovoZeitPlan::SeiteBlaettern, "Seite");
        return m_log;
    }

    // Booking 501 in room A on Tuesday 9:00-15:00, with a set-up from 7:00.
    void load(TovoZeitPlan& p) {
        p.Laden(
            {{11, "Raum A", "1.1", {}, {}},
             {12, "Raum B", "1.2", {}, {}},
             {13, "Raum C", "1.3", {}, {}}},
            {Balken(501, 11, Z(1, 9), Z(1, 15)), Balken(501, 11, Z(1, 7), Z(1, 9), kFarbeUmbau)});
    }

private Q_SLOTS:
    void init() {
        plan = new TovoZeitPlan;
        plan->resize(160 + 700, 40 + 3 * 22); // week: 100 px a day
        plan->SetZeitraum(TovoZeitPlan::Woche);
        plan->SetDatumVon(D(2026, 3, 16));
        load(*plan);
        plan->show();
        QVERIFY(QTest::qWaitForWindowExposed(plan));
    }
    void cleanup() { delete plan; }

    void spans_data() {
        QTest::addColumn<int>("zeitraum");
        QTest::addColumn<double>("anzeige");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        const auto row = [](const char* name, int zeitraum, double anzeige, const char* von,
                            const char* bis) {
            QTest::newRow(name) << zeitraum << anzeige << QString(von) << QString(bis);
        };
        // Thursday in the middle shows Monday to Sunday; the 16th shows the whole month.
        row("week, Thursday", 2, D(2026, 3, 19, 13), "16.03.2026 00:00", "23.03.2026 00:00");
        row("month, 16th", 3, D(2026, 3, 16), "01.03.2026 00:00", "01.04.2026 00:00");
        row("year, July", 7, D(2026, 7, 15), "01.01.2026 00:00", "01.01.2027 00:00");
        row("day, 13:00", 1, D(2026, 3, 14, 13), "14.03.2026 06:00", "14.03.2026 20:00");
    }
    void spans() {
        QFETCH(int, zeitraum);
        QFETCH(double, anzeige);
        QFETCH(QString, von);
        const auto span = ZeitPlanGeometry::SpanFor(zeitraum, anzeige);
        QCOMPARE(T(span.start), von);
        QTEST(T(span.end), "bis");
        // Setting the start again gives a display date with the same span.
        const auto again = ZeitPlanGeometry::SpanFor(
            zeitraum, ZeitPlanGeometry::AnzeigedatumFor(zeitraum, span.start));
        QCOMPARE(T(again.start), von);
    }

    void steps_data() {
        QTest::addColumn<int>("zeitraum");
        QTest::addColumn<int>("schritt");
        QTest::addColumn<bool>("block");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("week far back") << 2 << 1 << false << "07.03.2026 13:00";
        QTest::newRow("week one day") << 2 << 3 << false << "15.03.2026 13:00";
        QTest::newRow("day one hour back") << 1 << 2 << false << "14.03.2026 12:00";
        QTest::newRow("day far forward") << 1 << 4 << false << "15.03.2026 13:00";
        QTest::newRow("month far forward") << 3 << 4 << false << "14.04.2026 13:00";
        QTest::newRow("month one week") << 3 << 3 << false << "21.03.2026 13:00";
        QTest::newRow("year one month back") << 7 << 2 << false << "14.02.2026 13:00";
        QTest::newRow("year far back") << 7 << 1 << false << "14.03.2025 13:00";
        QTest::newRow("week block step") << 2 << 3 << true << "17.03.2026 13:00";
    }
    void steps() {
        QFETCH(int, zeitraum);
        QFETCH(int, schritt);
        QFETCH(bool, block);
        QTEST(T(ZeitPlanGeometry::Blaettern(zeitraum, D(2026, 3, 14, 13), schritt, block)),
              "erwartet");
    }

    void wheel_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<int>("art");
        QTest::addColumn<int>("schritte");
        using R = ZeitPlanGeometry::Rad;
        const auto row = [](const char* name, int dx, int dy, bool shift, bool ctrl, R::Art art,
                            int schritte) {
            QTest::newRow(name) << dx << dy << shift << ctrl << int(art) << schritte;
        };
        row("wheel down scrolls rooms down", 0, -240, false, false, R::Zeilen, 2);
        row("wheel up scrolls rooms up", 0, 120, false, false, R::Zeilen, -1);
        row("shift turned horizontal by the system", -120, 0, true, false, R::Zeitraum, 1);
        row("horizontal wheel right goes on", -120, 0, false, false, R::Zeitraum, 1);
        row("less than a notch does nothing", 0, 60, true, true, R::Nichts, 0);
    }
    void wheel() {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(bool, shift);
        QFETCH(bool, ctrl);
        const auto rad = ZeitPlanGeometry::RadWirkung(dx, dy, shift, ctrl);
        QTEST(int(rad.art), "art");
        QTEST(rad.schritte, "schritte");
    }

    void wheelOverThePlan() {
        plan->resize(860, 40 + 22); // room for one row
        QSignalSpy blaettern(plan, &TovoZeitPlan::RadBlaettern);
        auto drehe = [&](QPoint winkel, Qt::KeyboardModifiers mods) {
            QWheelEvent e(QPointF(300, 50), plan->mapToGlobal(QPointF(300, 50)), {}, winkel,
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(plan, &e);
        };
        QCOMPARE(plan->InhaltHoehe(), 40 + 3 * 22);
        drehe({0, -120}, Qt::NoModifier);
        QCOMPARE(plan->ZeilenOffset(), 2 * 22);        // three rows asked, two there to scroll
        QCOMPARE(plan->RaumRowAt(QPoint(300, 41)), 2); // under the fixed header
        drehe({0, 120}, Qt::ShiftModifier);
        QCOMPARE(blaettern.size(), 1);
        QCOMPARE(blaettern.at(0).at(0).toInt(), -1);
        drehe({0, 120}, Qt::ControlModifier);
        QCOMPARE(plan->ZeilenHoehe(), 26);
    }

    // A double click on a bar (the set-up bar belongs to the booking) opens it; on a free slot it
    // books the whole hour; in the header or the room column it does nothing.
    void doubleClick_data() {
        QTest::addColumn<int>("balken"); // the bar's index, or -1 for the point
        QTest::addColumn<QPoint>("punkt");
        QTest::addColumn<QString>("log");
        // Wednesday 18.03. at 14:30.
        const int x = 160 + 2 * 100 + static_cast<int>(14.5 / 24 * 100);
        QTest::newRow("bar") << 0 << QPoint() << QString("Select 501");
        QTest::newRow("set-up bar") << 1 << QPoint() << QString("Select 501");
        QTest::newRow("free slot in room B")
            << -1 << QPoint(x, 40 + 22 + 10) << QString("Free 18.03.2026 14:00 12");
        QTest::newRow("header") << -1 << QPoint(x, 10) << QString();
        QTest::newRow("room column") << -1 << QPoint(50, 40 + 10) << QString();
    }
    void doubleClick() {
        QFETCH(int, balken);
        QFETCH(QPoint, punkt);
        const QStringList& log = Protokoll();
        QTest::mouseDClick(plan, Qt::LeftButton, {},
                           balken < 0 ? punkt : plan->TerminRect(balken).center());
        QTEST(log.join('|'), "log");
    }

    // Week view, 100 pixels a day, booking 501 in room A (row 0) on Tuesday 9:00-15:00.
    void dragging_data() {
        QTest::addColumn<bool>("ende"); // pressed on the bar's right edge
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("zeile");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("log"); // requests separated by "|"
        const auto row = [](const char* name, bool ende, int dx, int zeile, bool shift,
                            const char* log) {
            QTest::newRow(name) << ende << dx << zeile << shift << QString(log);
        };
        const char* tagSpaeter = "Verschiebe 501 11 18.03.2026 09:00 18.03.2026 15:00";
        row("to room C", false, 0, 2, false, "Move 501 13");
        row("back into its row", false, 0, 0, false, "");
        row("a day later", false, 100, 0, false, tagSpaeter);
        row("later and down, with Shift in its room", false, 100, 1, true, tagSpaeter);
        row("end two hours later, on the hour", true, 9, 1, false,
            "Verschiebe 501 11 17.03.2026 09:00 17.03.2026 17:00");
        row("end before the start keeps a quarter of an hour", true, -100, 0, false,
            "Verschiebe 501 11 17.03.2026 09:00 17.03.2026 09:15");
        row("read only: nothing, neither the drag nor a free slot", false, 0, 1, false, "");
    }
    void dragging() {
        QFETCH(bool, ende);
        QFETCH(int, dx);
        QFETCH(int, zeile);
        QFETCH(bool, shift);
        const bool nurLesen = QByteArray(QTest::currentDataTag()).startsWith("read only");
        plan->SetNurLesen(nurLesen);
        const QStringList& log = Protokoll();
        const QRect bar = plan->TerminRect(0);
        const QPoint start(ende ? bar.right() - 1 : bar.center().x(), bar.center().y());
        const QPoint ziel(start.x() + dx, 40 + zeile * 22 + 11);
        const auto mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::mousePress(plan, Qt::LeftButton, mods, start);
        for (const QPoint& pos : {QPoint(start.x(), start.y() + 12), ziel}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(pos), plan->mapToGlobal(QPointF(pos)),
                             Qt::NoButton, Qt::LeftButton, mods);
            QApplication::sendEvent(plan, &move);
        }
        QTest::mouseRelease(plan, Qt::LeftButton, mods, ziel);
        if (nurLesen)
            QTest::mouseDClick(plan, Qt::LeftButton, {}, ziel);
        QTEST(log.join('|'), "log");
    }

    // The cell cursor from room A, Tuesday 8:00 (in the set-up before booking 501).
    void keyboard_data() {
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<bool>("nurLesen");
        QTest::addColumn<QString>("log"); // requests separated by "|"
        const auto row = [](const char* name, const char* tasten, bool nurLesen, const char* log) {
            QTest::newRow(name) << QString(tasten) << nurLesen << QString(log);
        };
        row("Enter on a booking opens it", "Right Return", false, "Select 501");
        row("Enter on a free slot books it", "Down Return", false, "Free 17.03.2026 08:00 12");
        row("Ctrl+Left is a day", "Ctrl+Left Return", false, "Free 16.03.2026 08:00 11");
        row("Delete", "Delete", false, "Loesche 501");
        row("read only opens but neither books nor deletes", "Down Return Up Delete Return", true,
            "Select 501");
        row("up at the top stays", "Up Return", false, "Select 501");
        row("past the start the period follows", "Ctrl+Left Ctrl+Left", false, "Rad -1");
        row("Page Down is a period", "PgDown", false, "Seite 1");
        // The menu key opens the cell's menu; its first entry opens the booking.
        row("menu key", "Right Menu", false, "Select 501");
    }
    void keyboard() {
        QFETCH(QString, tasten);
        QFETCH(bool, nurLesen);
        plan->SetNurLesen(nurLesen);
        const QStringList& log = Protokoll();
        plan->SetzeKursor(0, D(2026, 3, 17, 8, 30));
        const QMap<QString, Qt::Key> namen{{"Left", Qt::Key_Left},      {"Right", Qt::Key_Right},
                                           {"Up", Qt::Key_Up},          {"Down", Qt::Key_Down},
                                           {"Return", Qt::Key_Return},  {"Delete", Qt::Key_Delete},
                                           {"PgDown", Qt::Key_PageDown}};
        for (const QString& t : tasten.split(QLatin1Char(' '))) {
            if (t == QLatin1String("Menu")) {
                QContextMenuEvent taste(QContextMenuEvent::Keyboard, QPoint(), QPoint());
                QApplication::sendEvent(plan, &taste);
                plan->findChild<QMenu*>("mnuZeitPlan")->actions().at(0)->trigger();
                continue;
            }
            QTest::keyClick(plan, namen.value(t.section(QLatin1Char('+'), -1)),
                            t.startsWith(QLatin1String("Ctrl")) ? Qt::ControlModifier
                                                                : Qt::NoModifier);
        }
        QTEST(log.join('|'), "log");
    }

    void overviewClickAsksForThatDay() {
        TovoZeitPlan overview;
        overview.resize(600, 60);
        load(overview);
        overview.Bereich(D(2026, 3, 1), 6);
        overview.show();
        QSignalSpy spy(&overview, &TovoZeitPlan::ChangeAnzeige);
        // Find the cell of 17.03.2026 and click it.
        QPoint cell;
        for (int x = 0; x < 100 && cell.isNull(); ++x)
            if (overview.TagAt(QPoint(x, 40)) == D(2026, 3, 17))
                cell = QPoint(x, 40);
        QVERIFY(!cell.isNull());
        QTest::mouseClick(&overview, Qt::LeftButton, {}, cell);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(std::floor(spy.at(0).at(0).toDouble()), D(2026, 3, 17));
    }

    void pairsOfAPeriod_data() {
        QTest::addColumn<double>("von");
        QTest::addColumn<double>("bis");
        QTest::addColumn<double>("toleranz");
        QTest::addColumn<QStringList>("paare");
        QTest::newRow("the week") << Z(0, 0) << Z(7, 0) << 0.0 << QStringList{"1-2", "1-3", "7-6"};
        QTest::newRow("Monday from a quarter to noon")
            << Z(0, 11.75) << Z(1, 0) << 0.0 << QStringList{"1-3"};
        QTest::newRow("tolerance makes touching bookings clash")
            << Z(0, 0) << Z(1, 0) << 0.5 / 24 << QStringList{"1-2", "1-3", "3-4"};
        QTest::newRow("Tuesday holds none") << Z(1, 0) << Z(2, 0) << 0.0 << QStringList{};
    }
    void pairsOfAPeriod() {
        QFETCH(double, von);
        QFETCH(double, bis);
        QFETCH(double, toleranz);
        QTEST(Namen(ZeitPlanKonflikte::Paare(Plan(), von, bis, toleranz)), "paare");
    }

    void clashingBarsNameEachOther() {
        TovoZeitPlan plan;
        plan.Laden({{1, "A", {}, {}, {}}, {2, "B", {}, {}, {}}}, Plan());
        QCOMPARE(plan.KonflikteVon(4), QVector<int>{});
        QCOMPARE(plan.KonflikteVon(2).size(), 1);
        QVERIFY(plan.ToolTipFor(1).contains("Überschneidung mit: Besteller 1"));
        QVERIFY(!plan.ToolTipFor(3).contains("Überschneidung"));
    }
};

QTEST_MAIN(TestZeitPlan)
#include "tst_zeitplan.moc"
