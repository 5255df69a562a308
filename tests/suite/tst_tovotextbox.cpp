#include "ScriptedPrompt.h"
#include "TovoTextbox.h"
#include "TypeText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QtTest>

using Art = TovoTextbox::Art;
Q_DECLARE_METATYPE(TovoTextbox::Art)

namespace {
// Day numbers and day fractions counted independently of TovoDate.
double Day(int y, int m, int d) {
    return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}
double Time(int h, int m) {
    return (h * 60 + m) / 1440.0;
}
} // namespace

class TstTovoTextbox : public QObject {
    Q_OBJECT

private slots:
    void typedKeys_data() {
        QTest::addColumn<Art>("art");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        auto row = [](const char* name, Art art, const char* keys, const char* text, int beeps) {
            QTest::newRow(name) << art << QString::fromUtf8(keys) << QString::fromUtf8(text)
                                << beeps;
        };
        row("date", Art::Datum, "14.03.2026", "14.03.2026", 0);
        row("date, dash blank letter", Art::Datum, "14-03 26x", "140326", 3);
        row("time, point and unit", Art::Zeit, "8.30 Uhr", "830", 5);
        row("number, sign and comma", Art::Zahl, "-12,5", "125", 2);
        row("money", Art::Geld, "-1.234,50+", "-1.234,50+", 0);
        row("money, currency", Art::Geld, "12 EUR", "12", 4);
        row("decimal, point and sign", Art::Dezimal, "-2.5,0", "25,0", 2);
        row("text, quotes", Art::Text, "O'Brien \"Söhne\"", "OBrien Söhne", 3);
        row("text, anything else", Art::Text, "Größe & Co; 5% `´", "Größe & Co; 5% `´", 0);
    }
    void typedKeys() {
        QFETCH(Art, art);
        QFETCH(QString, keys);
        ScriptedPrompt prompt;
        TovoTextbox box(nullptr, art);
        TypeText(&box, keys);
        QTEST(box.text(), "text");
        QTEST(prompt.beeps, "beeps");
    }

    void editingKeysAndShortcutsPass() {
        ScriptedPrompt prompt;
        TovoTextbox box(nullptr, Art::Zahl);
        QTest::keyClicks(&box, QStringLiteral("123"));
        QTest::keyClick(&box, Qt::Key_Left);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("13"));
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier); // select all
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.text(), QString());
        QCOMPARE(prompt.beeps, 0);
    }

    void pasteIsFiltered_data() {
        QTest::addColumn<Art>("art");
        QTest::addColumn<bool>("viaMenu");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        for (bool menu : {false, true}) {
            const char* via = menu ? "menu" : "Ctrl+V";
            QTest::addRow("money, blanks trimmed, %s", via)
                << Art::Geld << menu << QString(" 1.234,50\n") << "1.234,50" << 0;
            QTest::addRow("date with time, %s", via)
                << Art::Datum << menu << QString("14.03.2026 08:30") << "14.03.20260830" << 1;
            QTest::addRow("text with quote, %s", via)
                << Art::Text << menu << QString("O'Brien") << "OBrien" << 1;
        }
    }
    void pasteIsFiltered() {
        QFETCH(Art, art);
        QFETCH(bool, viaMenu);
        QFETCH(QString, clipboard);
        ScriptedPrompt prompt;
        TovoTextbox box(nullptr, art);
        QGuiApplication::clipboard()->setText(clipboard);
        if (viaMenu) {
            // The menu runs its own loop; its paste entry is picked once it is up.
            bool triggered = false;
            QTimer::singleShot(0, &box, [&] {
                const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    auto* menu = qobject_cast<QMenu*>(w);
                    if (!menu || !menu->isVisible())
                        continue;
                    for (QAction* action : menu->actions())
                        if (action->text().startsWith(paste)) {
                            action->trigger();
                            triggered = true;
                        }
                    menu->close();
                }
            });
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                    box.mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(&box, &event);
            QVERIFY(triggered);
        } else {
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        }
        QTEST(box.text(), "text");
        QTEST(prompt.beeps, "beeps");
    }

    void value_data() {
        QTest::addColumn<Art>("art");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        const double none = Day(9999, 12, 31);
        QTest::newRow("empty date") << Art::Datum << "" << true << none;
        QTest::newRow("date") << Art::Datum << "14.03.2026" << true << Day(2026, 3, 14);
        QTest::newRow("short date") << Art::Datum << "1.3.26" << true << Day(2026, 3, 1);
        QTest::newRow("31st of February") << Art::Datum << "31.02.2026" << false << none;
        QTest::newRow("date with time") << Art::Datum << "14.03.2026 08:30" << false << none;
        QTest::newRow("time") << Art::Zeit << "7:05" << true << Time(7, 5);
        QTest::newRow("24:15") << Art::Zeit << "24:15" << false << 0.0;
        QTest::newRow("empty time") << Art::Zeit << "" << false << 0.0;
        QTest::newRow("empty number") << Art::Zahl << "" << true << 0.0;
        QTest::newRow("money") << Art::Geld << "1.234,50" << true << 1234.5;
        QTest::newRow("negative money") << Art::Geld << "-12,5" << true << -12.5;
        QTest::newRow("money, two commas") << Art::Geld << "1,2,3" << false << 0.0;
        QTest::newRow("decimal") << Art::Dezimal << "2,5" << true << 2.5;
        QTest::newRow("decimal, comma only") << Art::Dezimal << "," << false << 0.0;
    }
    void value() {
        QFETCH(Art, art);
        QFETCH(QString, text);
        TovoTextbox box(nullptr, art);
        box.setText(text);
        QTEST(box.IsValid(), "valid");
        QTEST(box.Value(), "value");
    }

    void setValue_data() {
        QTest::addColumn<Art>("art");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("back"); // Value() afterwards
        const double none = Day(9999, 12, 31);
        const double day = Day(2026, 3, 14);
        QTest::newRow("no date") << Art::Datum << none << "" << none;
        QTest::newRow("date, time dropped") << Art::Datum << day + 0.5 << "14.03.2026" << day;
        QTest::newRow("time, date dropped")
            << Art::Zeit << day + Time(18, 5) << "18:05" << Time(18, 5);
        QTest::newRow("money") << Art::Geld << 1234567.891 << "1.234.567,89" << 1234567.89;
        QTest::newRow("negative cents") << Art::Geld << -0.5 << "-0,50" << -0.5;
        QTest::newRow("decimal") << Art::Dezimal << 1234.0 << "1234,00" << 1234.0;
        QTest::newRow("decimal rounds half up") << Art::Dezimal << 2.345 << "2,35" << 2.35;
        QTest::newRow("whole number") << Art::Zahl << 7.6 << "8" << 8.0;
    }
    void setValue() {
        QFETCH(Art, art);
        QFETCH(double, value);
        TovoTextbox box(nullptr, art);
        box.SetValue(value);
        QTEST(box.text(), "text");
        QVERIFY(box.IsValid());
        QTEST(box.Value(), "back");
    }
};

QTEST_MAIN(TstTovoTextbox)
#include "tst_tovotextbox.moc"
