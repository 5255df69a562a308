// The suite's master data: the database of companies and persons and the window that edits
// it, the building structure and its room numbers, and the text box of their forms.
#include "Bearbeitbar.h"
#include "GebDb.h"
#include "RaumNrFormat.h"
#include "ScriptedPrompt.h"
#include "StammdatenDb.h"
#include "TovoRecht.h"
#include "TovoTextbox.h"
#include "frmStammdaten.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using Art = TovoTextbox::Art;
Q_DECLARE_METATYPE(TovoTextbox::Art)

namespace {

// Types a text key by key. QTest::keyClicks handles ASCII only; umlauts and other characters go
// as key events carrying their text, as a keyboard layout would send them.
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }
}

// Day numbers and day fractions counted independently of TovoDate.
double Day(int y, int m, int d) {
    return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}
double Time(int h, int m) {
    return (h * 60 + m) / 1440.0;
}

template <class T> T* Find(QObject* dlg, const char* name) {
    T* w = dlg->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("control %s is missing", name);
    return w;
}

void Type(QObject* dlg, const char* box, const QString& text) {
    auto* ed = Find<TovoTextbox>(dlg, box);
    ed->clear();
    TypeText(ed, text);
}

void Click(QObject* dlg, const char* button) {
    Find<QPushButton>(dlg, button)->click();
}

Person MakePerson(int32_t firmaId, const QString& name, const QString& text = QString()) {
    return {0,           firmaId,  QStringLiteral("Frau"),
            text,        name,     QStringLiteral("0221 4711-0"),
            text + "-f", "a@c.de", text + "-k",
            text,        "0815",   text + "-fu",
            text + "-b"};
}

// Every field, to compare whole rows.
QStringList Felder(const Firma& f) {
    return {QString::number(f.lId), f.stName, f.stStrasse, f.stPlz, f.stOrt};
}
QStringList Felder(const Person& p) {
    return QStringList{QString::number(p.lId), QString::number(p.lFirmaId)}
           << p.stAnrede << p.stVorname << p.stName << p.stTelefon << p.stTelefax << p.stEmail
           << p.stKostenstelle << p.stAbteilung << p.stPersNr << p.stFunktion << p.stBemerkung;
}

// A room whose long number has the given number of parts: it hangs below a chain of
// (parts - 1) higher nodes.
void AddRoom(CGebDb& db, int parts, const QString& nr) {
    int32_t parent = 0;
    for (int ebene = 5 - parts; ebene < 4; ++ebene)
        parent = db.AddNode(parent, ebene, QString::number(ebene), QStringLiteral("x"));
    QVERIFY(db.AddNode(parent, 4, nr, QStringLiteral("Raum")) > 0);
}

} // namespace

class TstStammdaten : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;
    int32_t m_firmaId = 0;
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString NewPath() { return m_dir.filePath(QStringLiteral("stamm%1.mdb").arg(++m_files)); }

    // A database of its own for each test; optionally with a company and a person in it.
    bool Open(CStammdatenDb& db, bool firma, bool person) {
        if (!db.OpenJet({}, {}, m_dir.filePath(QString::number(++m_files)), nullptr))
            return false;
        Firma f{0, QStringLiteral("Alpha GmbH"), {}, {}, {}};
        if (firma && !db.SaveFirma(f))
            return false;
        m_firmaId = f.lId;
        Person p = MakePerson(f.lId, QStringLiteral("Krause")); // its number is not shown
        return !person || db.SavePerson(p);
    }

private slots:
    void cleanup() { goRecht.reset(); }

    void addAndChangeThroughTheWidgets() {
        ScriptedPrompt prompt;
        CStammdatenDb db;
        QVERIFY(Open(db, false, false));
        frmStammdaten dlg(&db, nullptr);
        Click(&dlg, "pbFirmaSpeichern"); // without a name nothing is saved
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY(db.Firmen().isEmpty() && !dlg.f_bChange);

        prompt.clear();
        Type(&dlg, "edFirmaName", QString::fromUtf8("Müller & Söhne 'GmbH'; 100%"));
        Type(&dlg, "edFirmaStrasse", QString::fromUtf8("Hauptstraße 1"));
        Click(&dlg, "pbFirmaSpeichern");
        QCOMPARE(prompt.beeps, 2);
        QVERIFY(dlg.f_bChange);
        const Firma f = db.Firmen().value(0);
        QCOMPARE(f.stName, QString::fromUtf8("Müller & Söhne GmbH; 100%"));
        QCOMPARE(f.stStrasse, QString::fromUtf8("Hauptstraße 1"));
        QCOMPARE(Find<QListWidget>(&dlg, "lbFirmen")->currentItem()->text(), f.stName);

        Click(&dlg, "pbPersonNeu");
        Type(&dlg, "edPersonVorname", QString::fromUtf8("Jürgen"));
        Type(&dlg, "edPersonName", QStringLiteral("O'Neill"));
        Type(&dlg, "edPersonEmail", QStringLiteral("j.oneill@example.de"));
        Click(&dlg, "pbPersonSpeichern");
        // Saving the selected person again changes it rather than adding another.
        Type(&dlg, "edPersonTelefax", QStringLiteral("0351 4711-9"));
        Click(&dlg, "pbPersonSpeichern");
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(db.Personen(f.lId).size(), 1);
        const Person p = db.Personen(f.lId)[0];
        QCOMPARE(p.stName, QStringLiteral("ONeill"));
        QCOMPARE(p.stEmail, QStringLiteral("j.oneill@example.de"));
        QCOMPARE(p.stTelefax, QStringLiteral("0351 4711-9"));
        QCOMPARE(Find<QListWidget>(&dlg, "lbPersonen")->item(0)->text(),
                 QString::fromUtf8("ONeill, Jürgen"));
    }

    void changingKeepsWhatIsNotShown() {
        ScriptedPrompt prompt;
        CStammdatenDb db;
        QVERIFY(Open(db, true, true));
        frmStammdaten dlg(&db, nullptr); // opens on the first company
        Find<QListWidget>(&dlg, "lbPersonen")->setCurrentRow(0);
        Type(&dlg, "edPersonAbteilung", QStringLiteral("Einkauf"));
        Click(&dlg, "pbPersonSpeichern");
        Type(&dlg, "edFirmaName", QStringLiteral("Alpha AG"));
        Click(&dlg, "pbFirmaSpeichern");
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(Find<TovoTextbox>(&dlg, "edPersonName")->text(), QStringLiteral("Krause"));
        QCOMPARE(db.Firmen().value(0).stName, QStringLiteral("Alpha AG"));
        const Person p = db.Personen(m_firmaId).value(0);
        QCOMPARE(p.stAbteilung, QStringLiteral("Einkauf"));
        QCOMPARE(p.stPersNr, QStringLiteral("0815"));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("person");    // delete the person, else the company
        QTest::addColumn<bool>("hasPerson"); // the company has a person
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<int>("messages");
        QTest::newRow("person, no") << true << true << false << false << 1;
        QTest::newRow("person, yes") << true << true << true << true << 1;
        QTest::newRow("company, no") << false << false << false << false << 1;
        QTest::newRow("company, yes") << false << false << true << true << 1;
        QTest::newRow("company with a person, yes") << false << true << true << false << 2;
    }
    void deleteAsksFirst() {
        QFETCH(bool, person);
        QFETCH(bool, hasPerson);
        QFETCH(bool, yes);
        QFETCH(bool, deleted);
        ScriptedPrompt prompt;
        CStammdatenDb db;
        QVERIFY(Open(db, true, hasPerson));
        frmStammdaten dlg(&db, nullptr);
        auto* list = Find<QListWidget>(&dlg, person ? "lbPersonen" : "lbFirmen");
        list->setCurrentRow(0);
        prompt.answer(yes ? PromptResult::Yes : PromptResult::No);
        Click(&dlg, person ? "pbPersonLoeschen" : "pbFirmaLoeschen");

        QTEST(int(prompt.shown.size()), "messages");
        QCOMPARE(prompt.shown[0].text,
                 QStringLiteral("Wollen Sie diesen Eintrag wirklich löschen ?"));
        QCOMPARE(prompt.shown[0].buttons, PromptButtons::YesNo);
        if (prompt.shown.size() > 1) // why the database refused
            QCOMPARE(prompt.last().text, db.LastError());
        QCOMPARE(dlg.f_bChange, deleted);
        const auto left = person ? db.Personen(m_firmaId).size() : db.Firmen().size();
        QCOMPARE(left, deleted ? 0 : 1);
        QCOMPARE(list->count(), int(left));
    }

    void rightsEnableWriting_data() {
        QTest::addColumn<QString>("zugriff");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("full") << "S" << true;
        QTest::newRow("read only") << "L" << false;
    }
    void rightsEnableWriting() {
        QFETCH(QString, zugriff);
        QFETCH(bool, enabled);
        goRecht = std::make_shared<CTovoRecht>();
        goRecht->SetZugriff(zugriff);
        CStammdatenDb db;
        QVERIFY(Open(db, true, true));
        frmStammdaten dlg(&db, nullptr);
        Find<QListWidget>(&dlg, "lbPersonen")->setCurrentRow(0);
        for (const char* name : {"pbFirmaNeu", "pbFirmaSpeichern", "pbFirmaLoeschen", "pbPersonNeu",
                                 "pbPersonSpeichern", "pbPersonLoeschen"})
            QVERIFY2(Find<QPushButton>(&dlg, name)->isEnabled() == enabled, name);
        QCOMPARE(Bearbeitbar(&dlg).isEmpty(), !enabled);
        // The database itself refuses writing too, opened with the same rights.
        CStammdatenDb zweite;
        QVERIFY(zweite.OpenJet({}, {}, m_dir.filePath(QString::number(m_files)), goRecht.get()));
        Firma f{0, QStringLiteral("Neu"), {}, {}, {}};
        QCOMPARE(zweite.SaveFirma(f) || zweite.DeleteFirma(m_firmaId), enabled);
    }

    void roundTripKeepsEveryCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("sql, quotes") << QStringLiteral("x'); DROP TABLE \"T_Person\"; --");
        QTest::newRow("separators") << QStringLiteral("a;b=c\\d%e_f");
        QTest::newRow("other scripts") << QStringLiteral("Łódź – İstanbul Größe €");
        QTest::newRow("empty") << QString();
    }
    void roundTripKeepsEveryCharacter() {
        QFETCH(QString, text);
        CStammdatenDb db;
        QVERIFY2(db.OpenJet(QString(), QString(), NewPath(), nullptr), qPrintable(db.LastError()));
        Firma f{0, text, text + QStringLiteral(" 1"), QStringLiteral("01067"), text};
        QVERIFY2(db.SaveFirma(f), qPrintable(db.LastError()));
        Person p = MakePerson(f.lId, text, text);
        QVERIFY2(db.SavePerson(p), qPrintable(db.LastError()));
        QVERIFY(f.lId > 0 && p.lId > 0);

        Firma f2;
        Person p2;
        QVERIFY(db.ReadFirma(f.lId, f2) && db.ReadPerson(p.lId, p2));
        QCOMPARE(Felder(f2), Felder(f));
        QCOMPARE(Felder(p2), Felder(p));
        QCOMPARE(db.Personen().size(), 1);
    }

    void personsByCompanyAndByName() {
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr));
        Firma a = {0, QStringLiteral("Zeta AG"), {}, {}, {}},
              b{0, QStringLiteral("Alpha GmbH"), {}, {}, {}};
        QVERIFY(db.SaveFirma(a) && db.SaveFirma(b));
        QCOMPARE(db.Firmen().value(0).lId, b.lId);

        for (auto [firma, name] :
             {std::pair{a.lId, "Weber"}, {b.lId, "Krause"}, {a.lId, "Albers"}, {0, "Ohnefirma"}}) {
            Person p = MakePerson(firma, QString::fromUtf8(name));
            QVERIFY(db.SavePerson(p));
        }
        auto names = [&](int32_t firmaId) {
            QStringList out;
            for (const Person& p : db.Personen(firmaId))
                out << p.stName;
            return out;
        };
        QCOMPARE(names(a.lId), (QStringList{"Albers", "Weber"}));
        QCOMPARE(names(b.lId), QStringList{"Krause"});
        QCOMPARE(names(0), QStringList{"Ohnefirma"});
        QCOMPARE(names(-1), (QStringList{"Albers", "Krause", "Ohnefirma", "Weber"}));
        QVERIFY(names(a.lId + b.lId + 10).isEmpty());
    }

    // Unknown companies and persons are refused with a reason, and nothing is written.
    void refusesWhatCannotBeDone() {
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr));
        Firma unbekannt{99, QStringLiteral("X"), {}, {}, {}};
        Person ohneFirma = MakePerson(99, QStringLiteral("X"));
        Person unbekanntePerson = MakePerson(0, QStringLiteral("X"));
        unbekanntePerson.lId = 99;
        const auto abgelehnt = [&](bool ok) { return !ok && !db.LastError().isEmpty(); };
        QVERIFY(abgelehnt(db.SaveFirma(unbekannt)));
        QVERIFY(abgelehnt(db.SavePerson(unbekanntePerson)));
        QVERIFY(abgelehnt(db.SavePerson(ohneFirma)));
        QVERIFY(abgelehnt(db.DeleteFirma(99)));
        QVERIFY(abgelehnt(db.DeletePerson(99)));
        QVERIFY(db.Firmen().isEmpty() && db.Personen().isEmpty());
    }

    void addNodeRefusesBrokenTrees_data() {
        QTest::addColumn<bool>("knownParent");
        QTest::addColumn<int>("ebene");
        QTest::newRow("unknown parent") << false << 4;
        QTest::newRow("level 0") << true << 0;
        QTest::newRow("level 5") << true << 5;
        QTest::newRow("same level as parent") << true << 2;
        QTest::newRow("above its parent") << true << 1;
    }
    void addNodeRefusesBrokenTrees() {
        QFETCH(bool, knownParent);
        QFETCH(int, ebene);
        CGebDb db;
        QVERIFY(db.OpenJet(QString(), QString(), Path(QTest::currentDataTag()) + ".mdb"));
        const int32_t haus = db.AddNode(0, 2, "9", "Haus");
        QVERIFY(haus > 0);
        QCOMPARE(db.AddNode(knownParent ? haus : haus + 100, ebene, "1", "x"), 0);
        QVERIFY(!db.LastError().isEmpty());
        QCOMPARE(db.AllNodes().size(), 1);
    }

    void openByConnectionText_data() {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("ok");
        const QString file = Path("conn.mdb");
        QTest::newRow("plain path") << file << false << true;
        QTest::newRow("other keys around")
            << "UID=x; Database=" + file + " ;PWD=y" << false << true;
        QTest::newRow("no database key") << QStringLiteral("UID=x;PWD=y") << false << false;
        QTest::newRow("directory missing") << Path("fehlt/conn.mdb") << false << false;
        QTest::newRow("read-only creates nothing") << Path("nur-lesen.mdb") << true << false;
    }
    void openByConnectionText() {
        QFETCH(QString, connStr);
        QFETCH(bool, readOnly);
        QFETCH(bool, ok);
        CGebDb db;
        QCOMPARE(db.OpenConn(QString(), QString(), connStr, readOnly), ok);
        QCOMPARE(db.IsOpen(), ok);
        QCOMPARE(db.LastError().isEmpty(), ok);
        if (readOnly)
            QVERIFY(!QFile::exists(connStr));
    }

    void twoObjectsOpenAtOnceAndCloseCleanly() {
        const QStringList before = QSqlDatabase::connectionNames();
        {
            CGebDb a, b;
            QVERIFY(a.OpenJet(QString(), QString(), Path("a.mdb")) &&
                    b.OpenJet(QString(), QString(), Path("b.mdb")) && a.AddNode(0, 1, "A", "a"));
            QCOMPARE(b.AllNodes().size(), 0);
            QCOMPARE(a.AllNodes().size(), 1);
            b.Close();
            QVERIFY(!b.IsOpen() && a.IsOpen());
            QCOMPARE(b.AddNode(0, 1, "B", "b"), 0);
        }
        QCOMPARE(QSqlDatabase::connectionNames(), before);
    }

    void checkFormat_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QList<int>>("roomParts");
        QTest::addColumn<bool>("expected");
        QTest::newRow("4-part format, 2-part rooms") << "S.G.BE.R" << QList<int>{2, 2} << false;
        QTest::newRow("E.R, 2-part rooms") << "E.R" << QList<int>{2, 2} << true;
        QTest::newRow("4-part format, 4-part rooms") << "S.G.BE.R" << QList<int>{4, 4} << true;
        QTest::newRow("E.R, 4-part rooms") << "E.R" << QList<int>{4} << false;
        QTest::newRow("one room out of line") << "S.G.BE.R" << QList<int>{4, 4, 3} << false;
        QTest::newRow("no rooms") << "S.G.BE.R" << QList<int>{} << true;
    }
    void checkFormat() {
        QFETCH(QString, format);
        QFETCH(QList<int>, roomParts);
        QTemporaryDir dir;
        CGebDb db;
        QVERIFY(db.OpenJet(dir.path(), QString(), dir.filePath("TovoGebaeude.mdb")));
        int n = 100;
        for (int parts : roomParts)
            AddRoom(db, parts, QString::number(++n));
        CRaumNrFormat check(&db);
        check.SetAppPath(dir.path());
        QTEST(check.CheckFormat(format), "expected");
    }

    void withoutBuildingDatabase() {
        QVERIFY(CRaumNrFormat().CheckFormat(QStringLiteral("S.G.BE.R")));
        CGebDb closed;
        QVERIFY(CRaumNrFormat(&closed).CheckFormat(QStringLiteral("E.R")));
    }
    // Typed keys and pasted text (Ctrl+V or the context menu) pass the same filter.
    void inputIsFiltered_data() {
        QTest::addColumn<int>("weg"); // 0 typed, 1 Ctrl+V, 2 menu
        QTest::addColumn<Art>("art");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        auto row = [](const char* name, Art art, const char* keys, const char* text, int beeps,
                      int weg = 0) {
            QTest::newRow(name) << weg << art << QString::fromUtf8(keys) << QString::fromUtf8(text)
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
        for (int weg : {1, 2}) {
            row(weg == 1 ? "pasted money, blanks trimmed" : "money, blanks trimmed, menu",
                Art::Geld, " 1.234,50\n", "1.234,50", 0, weg);
            row(weg == 1 ? "pasted date with time" : "date with time, menu", Art::Datum,
                "14.03.2026 08:30", "14.03.20260830", 1, weg);
            row(weg == 1 ? "pasted text with quote" : "text with quote, menu", Art::Text, "O'Brien",
                "OBrien", 1, weg);
        }
    }
    void inputIsFiltered() {
        QFETCH(int, weg);
        QFETCH(Art, art);
        QFETCH(QString, keys);
        ScriptedPrompt prompt;
        TovoTextbox box(nullptr, art);
        QGuiApplication::clipboard()->setText(keys);
        if (weg == 2) {
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
        } else if (weg == 1) {
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        } else {
            TypeText(&box, keys);
        }
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

    // A text read as a value, and a value written as text and read back.
    void value_data() {
        QTest::addColumn<Art>("art");
        QTest::addColumn<double>("gesetzt"); // written with SetValue, else the text is set
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        const auto lesen = [](const char* name, Art art, const char* text, bool valid, double v) {
            QTest::newRow(name) << art << qQNaN() << QString(text) << valid << v;
        };
        const auto setzen = [](const char* name, Art art, double v, const char* text, double back) {
            QTest::newRow(name) << art << v << QString(text) << true << back;
        };
        const double none = Day(9999, 12, 31), day = Day(2026, 3, 14);
        lesen("empty date", Art::Datum, "", true, none);
        lesen("date", Art::Datum, "14.03.2026", true, day);
        lesen("date with time", Art::Datum, "14.03.2026 08:30", false, none);
        lesen("time", Art::Zeit, "7:05", true, Time(7, 5));
        lesen("empty time", Art::Zeit, "", false, 0.0);
        lesen("empty number", Art::Zahl, "", true, 0.0);
        lesen("money", Art::Geld, "1.234,50", true, 1234.5);
        lesen("money, two commas", Art::Geld, "1,2,3", false, 0.0);
        lesen("decimal", Art::Dezimal, "2,5", true, 2.5);
        lesen("decimal, comma only", Art::Dezimal, ",", false, 0.0);
        setzen("set no date", Art::Datum, none, "", none);
        setzen("set date, time dropped", Art::Datum, day + 0.5, "14.03.2026", day);
        setzen("set time, date dropped", Art::Zeit, day + Time(18, 5), "18:05", Time(18, 5));
        setzen("set money", Art::Geld, 1234567.891, "1.234.567,89", 1234567.89);
        setzen("set decimal", Art::Dezimal, 1234.0, "1234,00", 1234.0);
        setzen("set decimal, rounds half up", Art::Dezimal, 2.345, "2,35", 2.35);
        setzen("set whole number", Art::Zahl, 7.6, "8", 8.0);
    }
    void value() {
        QFETCH(Art, art);
        QFETCH(double, gesetzt);
        QFETCH(QString, text);
        TovoTextbox box(nullptr, art);
        if (qIsNaN(gesetzt))
            box.setText(text);
        else
            box.SetValue(gesetzt);
        QTEST(box.text(), "text");
        QTEST(box.IsValid(), "valid");
        QTEST(box.Value(), "value");
    }
};

QTEST_MAIN(TstStammdaten)
#include "tst_stammdaten.moc"
