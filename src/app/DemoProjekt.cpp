#include "DemoProjekt.h"

#include "CRvDb.h"
#include "GebDb.h"
#include "Records.h"
#include "SchreibPfad.h"
#include "StammdatenDb.h"
#include "TovoDate.h"
#include "TovoTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <QTime>
#include <QVector>
#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// --- The demo company --------------------------------------------------------------------------

const char* const kRaumarten[] = {"Besprechungsraum", "Schulungsraum", "Veranstaltungssaal",
                                  "Konferenzraum"};
enum Art { Besprechung, Schulung, Saal, Konferenz };

const char* const kStandortNr = "1";
const char* const kStandort = "Verwaltungszentrum Rheinufer";

struct DemoGebaeude {
    const char* nr;
    const char* bez;
};
const DemoGebaeude kGebaeude[] = {{"1", "Haus A – Verwaltung"}, {"2", "Haus B – Tagungszentrum"}};

struct DemoEtage {
    int gebaeude;
    const char* nr;
    const char* bez;
};
const DemoEtage kEtagen[] = {
    {0, "00", "Erdgeschoss"},     {0, "01", "1. Obergeschoss"}, {0, "02", "2. Obergeschoss"},
    {0, "03", "3. Obergeschoss"}, {1, "00", "Erdgeschoss"},     {1, "01", "1. Obergeschoss"},
};

struct DemoRaum {
    const char* name;
    Art art;
    int etage; // index into kEtagen
    const char* nr;
    int16_t personen;
    const char* ausstattung; // letters W P C M R F L N A S G B
    const char* stuehle;     // letters K U O
    int16_t tische;
    int16_t tischeFest;
};
const DemoRaum kRaeume[] = {
    {"Raum Rhein", Besprechung, 1, "105", 12, "WPFN", "U", 6, 6},
    {"Raum Main", Besprechung, 1, "112", 8, "WFN", "", 4, 4},
    {"Raum Mosel", Besprechung, 2, "204", 10, "WPCFN", "U", 5, 5},
    {"Raum Neckar", Besprechung, 2, "215", 6, "WGN", "", 3, 3},
    {"Raum Ems", Besprechung, 0, "015", 6, "WFN", "O", 3, 3},
    {"Schulung Ahorn", Schulung, 4, "010", 20, "WPCLNF", "KU", 10, 10},
    {"Schulung Birke", Schulung, 4, "014", 16, "WPCLN", "U", 8, 8},
    {"Schulung Linde", Schulung, 5, "110", 24, "WPCMLNB", "KU", 12, 12},
    {"Saal Europa", Saal, 4, "001", 180, "PMRLNASG", "K", 0, 0},
    {"Saal Berlin", Saal, 5, "101", 80, "PMRLNA", "KUO", 20, 0},
    {"Saal Rheinblick", Saal, 5, "120", 60, "PMLNAG", "KU", 15, 0},
    {"Konferenzraum Elbe", Konferenz, 3, "310", 20, "WPCMLNSG", "UO", 10, 10},
    {"Konferenzraum Weser", Konferenz, 3, "318", 14, "PLNGB", "U", 7, 7},
    {"Konferenzraum Havel", Konferenz, 2, "220", 16, "WPLNSG", "UO", 8, 8},
    {"Vorstandszimmer", Konferenz, 3, "301", 10, "PCMNSG", "O", 5, 5},
};
constexpr int kRaumVorstand = 14;
constexpr int kRaumBirke = 6;

struct DemoFirma {
    const char* name;
    const char* strasse;
    const char* plz;
    const char* ort;
};
// The first company is the demo company itself.
const DemoFirma kFirmen[] = {
    {"Musterwerke Rheinland GmbH", "Rheinuferstraße 12", "50679", "Köln"},
    {"Weber & Partner Unternehmensberatung", "Aachener Straße 245", "50931", "Köln"},
    {"Schäfer IT-Systeme AG", "Kaiserstraße 18", "53113", "Bonn"},
    {"Müller Bau GmbH & Co. KG", "Industriestraße 7", "51149", "Köln"},
    {"Bildungswerk Rhein-Erft e. V.", "Schlossstraße 3", "50126", "Bergheim"},
    {"Kanzlei Hoffmann Lenz Rechtsanwälte", "Königsallee 60", "40212", "Düsseldorf"},
    {"Grünwerk Energieberatung GmbH", "Marktplatz 4", "51373", "Leverkusen"},
};

struct DemoMitarbeiter {
    const char* anrede;
    const char* vorname;
    const char* name;
    const char* abteilung;
    const char* funktion;
    const char* durchwahl;
    const char* email;
    const char* raumNr;
    const char* kostenstelle;
    const char* persNr; // "" = entered by hand, else also a person of the master data
};
const char* const kTelefonZentrale = "0221 98765-";
const char* const kFaxZentrale = "0221 98765-199";
const DemoMitarbeiter kMitarbeiter[] = {
    {"Frau", "Sabine", "Krüger", "Zentrale Dienste", "Leitung Raumverwaltung", "101",
     "sabine.krueger@musterwerke-rheinland.example", "1.1.00.020", "1100", "10234"},
    {"Herr", "Thomas", "Becker", "Personal", "Personalreferent", "214",
     "thomas.becker@musterwerke-rheinland.example", "1.1.02.208", "1200", "10871"},
    {"Frau", "Anna", "Schmitz", "IT", "Systemadministratorin", "330",
     "anna.schmitz@musterwerke-rheinland.example", "1.1.03.330", "1400", ""},
    {"Herr", "Markus", "Wagner", "Vertrieb", "Vertriebsleiter", "412",
     "markus.wagner@musterwerke-rheinland.example", "1.1.01.118", "2100", "11302"},
    {"Frau", "Julia", "Hoffmann", "Geschäftsführung", "Assistentin der Geschäftsführung", "100",
     "julia.hoffmann@musterwerke-rheinland.example", "1.1.03.305", "1000", ""},
    {"Herr", "Stefan", "Richter", "Einkauf", "Sachbearbeiter Einkauf", "225",
     "stefan.richter@musterwerke-rheinland.example", "1.1.02.225", "1300", ""},
    {"Frau", "Katrin", "Neumann", "Weiterbildung", "Referentin Weiterbildung", "240",
     "katrin.neumann@musterwerke-rheinland.example", "1.2.01.115", "1250", "12045"},
    {"Herr", "Jürgen", "Schäfer", "Haustechnik", "Haustechniker", "150",
     "juergen.schaefer@musterwerke-rheinland.example", "1.2.00.030", "1150", ""},
    {"Frau Dr.", "Elena", "Vogt", "Controlling", "Leiterin Controlling", "280",
     "elena.vogt@musterwerke-rheinland.example", "1.1.02.230", "1500", "10542"},
};
constexpr int kMaHoffmann = 4;
constexpr int kMaNeumann = 6;

struct DemoPerson {
    int firma; // index into kFirmen
    const char* anrede;
    const char* vorname;
    const char* name;
    const char* telefon;
    const char* telefax;
    const char* email;
    const char* kostenstelle;
    const char* abteilung;
};
// Contacts outside the demo company.
const DemoPerson kPersonen[] = {
    {1, "Herr Dr.", "Michael", "Weber", "0221 4478-10", "0221 4478-99",
     "m.weber@weber-partner.example", "D-40110", "Geschäftsleitung"},
    {1, "Frau", "Claudia", "Lange", "0221 4478-22", "0221 4478-99", "c.lange@weber-partner.example",
     "D-40110", "Projektbüro"},
    {2, "Herr", "Patrick", "Kühn", "0228 915 33-0", "0228 915 33-19", "p.kuehn@schaefer-it.example",
     "D-40215", "Vertrieb"},
    {2, "Frau", "Nina", "Schulz", "0228 915 33-41", "0228 915 33-19",
     "n.schulz@schaefer-it.example", "D-40215", "Schulungszentrum"},
    {3, "Herr", "Hans-Peter", "Müller", "02203 5561-0", "02203 5561-20",
     "hp.mueller@mueller-bau.example", "D-40330", "Bauleitung"},
    {4, "Frau", "Martina", "Brandt", "02271 8090-12", "02271 8090-10",
     "brandt@bildungswerk-rhein-erft.example", "D-40480", "Kursorganisation"},
    {4, "Herr", "Oliver", "Krause", "02271 8090-15", "02271 8090-10",
     "krause@bildungswerk-rhein-erft.example", "D-40480", "Dozent"},
    {5, "Frau Dr.", "Ursula", "Lenz", "0211 86 42 0-0", "0211 86 42 0-50",
     "lenz@hoffmann-lenz.example", "D-40512", "Arbeitsrecht"},
    {6, "Herr", "Florian", "Otto", "0214 3109-7", "0214 3109-8", "otto@gruenwerk-energie.example",
     "D-40620", "Energieberatung"},
    {6, "Frau", "Sandra", "Yilmaz", "0214 3109-5", "0214 3109-8",
     "yilmaz@gruenwerk-energie.example", "D-40620", "Veranstaltungen"},
};

// What happens in the rooms of one type.
struct DemoNutzung {
    QVector<const char*> intern;  // events of the demo company
    QVector<const char*> extern_; // events of outside companies
    int minDauer;                 // in half hours
    int maxDauer;
    int externProzent; // share of bookings by outside companies
    int umbauProzent;  // share with set-up and clear-down times
    int umbauDauer;    // set-up and clear-down, in half hours
    double miete;      // rent for outside companies
};
const DemoNutzung kNutzung[] = {
    {{"Projektbesprechung Digitalisierung", "Abteilungsrunde Einkauf",
      "Bewerbungsgespräche Ausbildung", "Teambesprechung IT", "Lieferantengespräch Büromaterial",
      "Abstimmung Sanierung Haus A", "Mitarbeitergespräche", "Planung Sommerfest"},
     {},
     2,
     6,
     0,
     0,
     0,
     0.0},
    {{"Excel für Fortgeschrittene", "Erste-Hilfe-Auffrischung", "Datenschutzschulung",
      "Einführung Zeiterfassung", "Brandschutzunterweisung", "Kommunikationstraining",
      "Azubi-Einführungstag", "Arbeitssicherheit am Bildschirmarbeitsplatz"},
     {"Seminar Energieausweis", "Fortbildung Arbeitsrecht", "Zertifikatskurs Projektmanagement",
      "IT-Sicherheitsschulung"},
     4,
     16,
     25,
     30,
     1,
     320.0},
    {{"Betriebsversammlung", "Jahresempfang", "Ausbildungsbörse", "Führungskräftetagung"},
     {"Fachtagung Energieeffizienz", "Informationsabend Neubaugebiet Südhang", "Kundenforum",
      "Vortrag Elektromobilität", "Mitgliederversammlung"},
     4,
     12,
     60,
     100,
     2,
     950.0},
    {{"Aufsichtsratssitzung", "Quartalsgespräch Controlling", "Strategieworkshop",
      "Videokonferenz Standortleitung"},
     {"Kundenworkshop Smart Metering", "Vertragsverhandlung Rahmenvertrag",
      "Jahresgespräch Wirtschaftsprüfung", "Projektabstimmung Neubau"},
     2,
     8,
     40,
     20,
     1,
     240.0},
};

const char* const kBemerkungen[] = {
    "",
    "",
    "",
    "Kaffee und Wasser bereitstellen",
    "Mittagessen über die Kantine",
    "Gäste werden am Empfang abgeholt",
    "Namensschilder vorbereiten",
    "Technik bitte vorab testen",
};
const char* const kAustBemerkungen[] = {
    "", "", "", "zusätzlich 2 Pinnwände", "Handmikrofon und Headset", "Verlängerungskabel",
};

// Working hours in half hours since midnight.
constexpr int kTagBeginn = 16; // 08:00
constexpr int kTagEnde = 36;   // 18:00
constexpr int32_t kErsteAuftrNr = 1001;
constexpr int kWochenVorher = 2;
constexpr int kWochenNachher = 3;

const char* const kEquipmentLetters = "WPCMRFLNASGB"; // bit i of a booking's equipment

// --- Helpers -------------------------------------------------------------------------------------

QString U(const char* text) {
    return QString::fromUtf8(text);
}

// A small generator of its own, so that every platform lays the demo out alike.
class DemoRng {
public:
    explicit DemoRng(uint32_t seed) : m_state(seed ? seed : 1u) {}
    int Below(int n) { return n <= 1 ? 0 : int(Next() % uint32_t(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

private:
    uint32_t Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    uint32_t m_state;
};

double TimeOfSlot(int halfHours) {
    return TovoDate::fromTime(QTime(halfHours / 2, (halfHours % 2) * 30)).value();
}

int32_t AustFromLetters(const QString& letters, DemoRng& rng) {
    int32_t bits = 0;
    const QString all = QLatin1String(kEquipmentLetters);
    for (QChar c : letters) {
        const qsizetype i = all.indexOf(c);
        if (i >= 0 && rng.Chance(50))
            bits |= int32_t(1) << i;
    }
    return bits;
}

// Who orders a booking: an employee of the demo company or an outside contact.
struct Besteller {
    QString name;
    QString telefon;
    QString telefax;
    QString firma;
    QString kostenstelle;
    QString email;
    int32_t lFirma = 0;
    int32_t lPerson = 0;
    bool extern_ = false;
};

// The occupied spans per room and day, in half hours, set-up and clear-down included.
class Belegungsplan {
public:
    Belegungsplan(int raeume, int tage) : m_tage(tage), m_spans(raeume * tage) {}
    // True (and the span taken) when it keeps half an hour away from every other span.
    bool Reserve(int raum, int tag, int von, int bis) {
        auto& spans = m_spans[raum * m_tage + tag];
        for (const auto& s : spans)
            if (von <= s.second && s.first <= bis)
                return false;
        spans.append({von, bis});
        return true;
    }

private:
    int m_tage;
    QVector<QVector<QPair<int, int>>> m_spans;
};

// --- Filling the databases -----------------------------------------------------------------------

struct DemoIds {
    QVector<int32_t> firmen;      // per kFirmen
    QVector<int32_t> personen;    // per kPersonen
    QVector<int32_t> mitPersonen; // per kMitarbeiter, 0 = not in the master data
    QVector<int32_t> gebRaeume;   // per kRaeume
    QVector<QString> raumNr;      // per kRaeume
    QVector<int32_t> raeume;      // az_ID per kRaeume
    QVector<Besteller> mitarbeiter;
    QVector<Besteller> kontakte;
};

bool FillStammdaten(const QString& path, DemoIds& ids, QString& error) {
    CStammdatenDb db;
    if (!db.OpenJet(QString(), QString(), path, nullptr)) {
        error = db.LastError();
        return false;
    }
    for (const DemoFirma& d : kFirmen) {
        Firma f;
        f.stName = U(d.name);
        f.stStrasse = U(d.strasse);
        f.stPlz = U(d.plz);
        f.stOrt = U(d.ort);
        if (!db.SaveFirma(f)) {
            error = db.LastError();
            return false;
        }
        ids.firmen.append(f.lId);
    }
    for (const DemoMitarbeiter& d : kMitarbeiter) {
        int32_t id = 0;
        if (*d.persNr) {
            Person p;
            p.lFirmaId = ids.firmen[0];
            p.stAnrede = U(d.anrede);
            p.stVorname = U(d.vorname);
            p.stName = U(d.name);
            p.stTelefon = U(kTelefonZentrale) + U(d.durchwahl);
            p.stTelefax = U(kFaxZentrale);
            p.stEmail = U(d.email);
            p.stKostenstelle = U(d.kostenstelle);
            p.stAbteilung = U(d.abteilung);
            p.stPersNr = U(d.persNr);
            if (!db.SavePerson(p)) {
                error = db.LastError();
                return false;
            }
            id = p.lId;
        }
        ids.mitPersonen.append(id);
    }
    for (const DemoPerson& d : kPersonen) {
        Person p;
        p.lFirmaId = ids.firmen[d.firma];
        p.stAnrede = U(d.anrede);
        p.stVorname = U(d.vorname);
        p.stName = U(d.name);
        p.stTelefon = U(d.telefon);
        p.stTelefax = U(d.telefax);
        p.stEmail = U(d.email);
        p.stKostenstelle = U(d.kostenstelle);
        p.stAbteilung = U(d.abteilung);
        if (!db.SavePerson(p)) {
            error = db.LastError();
            return false;
        }
        ids.personen.append(p.lId);
    }
    return true;
}

bool FillGebaeude(const QString& path, DemoIds& ids, QString& error) {
    CGebDb db;
    if (!db.OpenJet(QString(), QString(), path)) {
        error = db.LastError();
        return false;
    }
    auto fail = [&] {
        error = db.LastError();
        return false;
    };
    const int32_t standort = db.AddNode(0, 1, U(kStandortNr), U(kStandort));
    if (!standort)
        return fail();
    QVector<int32_t> gebaeude;
    for (const DemoGebaeude& g : kGebaeude) {
        const int32_t id = db.AddNode(standort, 2, U(g.nr), U(g.bez));
        if (!id)
            return fail();
        gebaeude.append(id);
    }
    QVector<int32_t> etagen;
    for (const DemoEtage& e : kEtagen) {
        const int32_t id = db.AddNode(gebaeude[e.gebaeude], 3, U(e.nr), U(e.bez));
        if (!id)
            return fail();
        etagen.append(id);
    }
    for (const DemoRaum& r : kRaeume) {
        const int32_t id = db.AddNode(etagen[r.etage], 4, U(r.nr), U(r.name));
        if (!id)
            return fail();
        ids.gebRaeume.append(id);
        ids.raumNr.append(db.LangeRaumNr(id));
    }
    return true;
}

bool FillStamm(CRvDb& rv, DemoIds& ids, QString& error) {
    QVector<int32_t> arten;
    for (const char* name : kRaumarten) {
        CRaumartRec rec;
        rec.stRaumArt = U(name);
        if (!rv.AddNewRaumartRec(&rec)) {
            error = rv.LastError();
            return false;
        }
        arten.append(rec.lId);
    }
    for (int i = 0; i < int(std::size(kRaeume)); ++i) {
        const DemoRaum& d = kRaeume[i];
        CAnzeigeRec rec;
        rec.Kurzbez = U(d.name);
        rec.RaumNr = ids.raumNr[i];
        rec.RArt = U(kRaumarten[d.art]);
        rec.lRaumartId = arten[d.art];
        rec.lGebraumId = ids.gebRaeume[i];
        rec.STSTUHLANORDNUNG = U(d.stuehle);
        rec.IANZAHLPERS = d.personen;
        rec.stAusstattung = U(d.ausstattung);
        rec.IPTISCHE = d.tische;
        rec.IPTISCHEFEST = d.tischeFest;
        if (!rv.AddNewrb_AnzeigeRec(&rec)) {
            error = rv.LastError();
            return false;
        }
        ids.raeume.append(rec.az_ID);
    }
    for (int i = 0; i < int(std::size(kMitarbeiter)); ++i) {
        const DemoMitarbeiter& d = kMitarbeiter[i];
        CMitarbeiterRec rec;
        rec.stPersNr = U(d.persNr);
        rec.stAnrede = U(d.anrede);
        rec.stVorname = U(d.vorname);
        rec.stName = U(d.name);
        rec.stAbteilung = U(d.abteilung);
        rec.stFunktion = U(d.funktion);
        rec.stTelefon = U(kTelefonZentrale) + U(d.durchwahl);
        rec.stTelefax = U(kFaxZentrale);
        rec.STEMAIL = U(d.email);
        rec.STFIRMA = U(kFirmen[0].name);
        rec.stRaumNr = U(d.raumNr);
        rec.STKOSTENSTELLE = U(d.kostenstelle);
        rec.lAnsprechId = ids.mitPersonen[i];
        if (!rv.AddNewMitarbeiterRec(&rec)) {
            error = rv.LastError();
            return false;
        }
        Besteller b;
        // Persons as the form writes them: "Name, Vorname".
        b.name = rec.stName + QStringLiteral(", ") + rec.stVorname;
        b.telefon = rec.stTelefon;
        b.telefax = rec.stTelefax;
        b.firma = rec.STFIRMA;
        b.kostenstelle = rec.STKOSTENSTELLE;
        b.email = rec.STEMAIL;
        b.lFirma = rec.lAnsprechId ? ids.firmen[0] : 0;
        b.lPerson = rec.lAnsprechId;
        ids.mitarbeiter.append(b);
    }
    for (int i = 0; i < int(std::size(kPersonen)); ++i) {
        const DemoPerson& d = kPersonen[i];
        Besteller b;
        b.name = U(d.name) + QStringLiteral(", ") + U(d.vorname);
        b.telefon = U(d.telefon);
        b.telefax = U(d.telefax);
        b.firma = U(kFirmen[d.firma].name);
        b.kostenstelle = U(d.kostenstelle);
        b.email = U(d.email);
        b.lFirma = ids.firmen[d.firma];
        b.lPerson = ids.personen[i];
        b.extern_ = true;
        ids.kontakte.append(b);
    }
    return true;
}

void SetBesteller(CBelegungRec& rec, const Besteller& b) {
    rec.Best = b.name;
    rec.Tel = b.telefon;
    rec.Fax = b.telefax;
    rec.Inst = b.firma;
    rec.KST = b.kostenstelle;
    rec.STEMAIL = b.email;
    rec.lFirma1 = b.lFirma;
    rec.lPerson1 = b.lPerson;
    if (b.extern_) {
        // Outside companies pay themselves and get their confirmation by mail.
        rec.lFirma2 = b.lFirma;
        rec.lPerson2 = b.lPerson;
        rec.stFirma2 = b.firma;
        rec.stPerson2 = b.name;
        rec.bEMail = true;
    }
}

// A fresh booking of one room on one day, ordered some days before (never after today).
CBelegungRec NeueBelegung(int32_t raumId, double tag, int von, int bis, double heute,
                          DemoRng& rng) {
    CBelegungRec rec;
    rec.rb_id = raumId;
    rec.dt_von = rec.dt_bis = tag;
    rec.tm_von = TimeOfSlot(von);
    rec.tm_bis = TimeOfSlot(bis);
    double bestellt = tag - 2 - rng.Below(20);
    if (bestellt > heute)
        bestellt = heute - rng.Below(5);
    bestellt += TovoDate::fromTime(QTime(8, 0).addSecs(60 * rng.Below(540))).value();
    rec.datBestellung = rec.datErstBestellung = bestellt;
    rec.datKorrektur = TovoDate::kNoDate;
    return rec;
}

QString Stuhlcode(const DemoRaum& raum, DemoRng& rng) {
    const QString codes = U(raum.stuehle);
    if (codes.isEmpty() || rng.Chance(30))
        return QString();
    return codes.at(rng.Below(int(codes.size())));
}

// Plans the bookings of the weeks around today; numbers follow in order of their start.
QVector<CBelegungRec> PlanBelegungen(const DemoIds& ids, double heute) {
    DemoRng rng(0x7A11E5u);
    const double montag = heute - (TovoDate(heute).weekdayMondayFirst() - 1);
    const double ersterTag = montag - 7 * kWochenVorher;
    const int wochen = kWochenVorher + 1 + kWochenNachher;
    const int tage = 7 * wochen;
    Belegungsplan plan(int(std::size(kRaeume)), tage);
    QVector<CBelegungRec> serien;
    QVector<CBelegungRec> einzeln;

    // Two weekly series: the management's jour fixe and an evening language course.
    struct Serie {
        int raum;
        int wochentag; // 0 = Monday
        int von, bis;
        int mitarbeiter;
        const char* anlass;
        const char* beschreibung;
        int personen;
    };
    const Serie kSerien[] = {
        {kRaumVorstand, 0, 18, 21, kMaHoffmann, "Jour fixe Geschäftsführung",
         "Alle 1 Wochen, am Montag", 6},
        {kRaumBirke, 3, 32, 35, kMaNeumann, "Englisch für den Beruf (Kurs B1)",
         "Alle 1 Wochen, am Donnerstag", 12},
    };
    int32_t nr = kErsteAuftrNr;
    for (const Serie& s : kSerien) {
        const double erstBestellt = ersterTag - 21 + TimeOfSlot(20);
        for (int w = 0; w < wochen; ++w) {
            const int t = 7 * w + s.wochentag;
            plan.Reserve(s.raum, t, s.von, s.bis);
            CBelegungRec rec =
                NeueBelegung(ids.raeume[s.raum], ersterTag + t, s.von, s.bis, heute, rng);
            rec.lAuftrNr = nr;
            SetBesteller(rec, ids.mitarbeiter[s.mitarbeiter]);
            rec.Verst = U(s.anlass);
            rec.Pers = QString::number(s.personen);
            rec.stSerieBem = U(s.beschreibung);
            rec.STSTUHLANORDNUNG = U(kRaeume[s.raum].stuehle).left(1);
            rec.datBestellung = rec.datErstBestellung = erstBestellt;
            serien.append(rec);
        }
        ++nr;
    }

    for (int t = 0; t < tage; ++t) {
        if (t % 7 >= 5)
            continue; // weekends stay free
        const int wunsch = 1 + rng.Below(4);
        int gebucht = 0;
        for (int versuch = 0; gebucht < wunsch && versuch < 12; ++versuch) {
            const int r = rng.Below(int(std::size(kRaeume)));
            const DemoRaum& raum = kRaeume[r];
            const DemoNutzung& n = kNutzung[raum.art];
            const int dauer = n.minDauer + rng.Below(n.maxDauer - n.minDauer + 1);
            const int umbau = rng.Chance(n.umbauProzent) ? n.umbauDauer : 0;
            const int frueh = kTagBeginn + umbau;
            const int spaet = kTagEnde - umbau - dauer;
            if (spaet < frueh)
                continue;
            const int von = frueh + rng.Below(spaet - frueh + 1);
            const int bis = von + dauer;
            if (!plan.Reserve(r, t, von - umbau, bis + umbau))
                continue;
            ++gebucht;

            const double tag = ersterTag + t;
            CBelegungRec rec = NeueBelegung(ids.raeume[r], tag, von, bis, heute, rng);
            const bool extern_ = rng.Chance(n.externProzent);
            const Besteller& b = extern_ ? ids.kontakte[rng.Below(int(ids.kontakte.size()))]
                                         : ids.mitarbeiter[rng.Below(int(ids.mitarbeiter.size()))];
            SetBesteller(rec, b);
            const QVector<const char*>& anlaesse = extern_ ? n.extern_ : n.intern;
            rec.Verst = U(anlaesse[rng.Below(int(anlaesse.size()))]);
            const int personen = std::max(2, raum.personen * (40 + rng.Below(55)) / 100);
            rec.Pers = QString::number(personen);
            rec.Bem = U(kBemerkungen[rng.Below(int(std::size(kBemerkungen)))]);
            rec.Aust = AustFromLetters(U(raum.ausstattung), rng);
            rec.Austbem = U(kAustBemerkungen[rng.Below(int(std::size(kAustBemerkungen)))]);
            rec.STSTUHLANORDNUNG = Stuhlcode(raum, rng);
            rec.IPTISCHE = int16_t(std::min<int>(raum.tische, personen / 2));
            if (extern_) {
                rec.Miete = Currency::fromDouble(n.miete + 50.0 * rng.Below(5));
                if (raum.art == Saal) {
                    rec.Technik = Currency::fromDouble(150.0);
                    rec.Pausch = Currency::fromDouble(12.5 * personen);
                }
            }
            if (umbau > 0) {
                rec.Udt_von = rec.Udt_bis = tag;
                rec.Utm_von = TimeOfSlot(von - umbau);
                rec.Utm_bis = TimeOfSlot(von);
                rec.Rdt_von = rec.Rdt_bis = tag;
                rec.Rtm_von = TimeOfSlot(bis);
                rec.Rtm_bis = TimeOfSlot(bis + umbau);
                rec.UmbBereit = QStringLiteral("Haustechnik");
                rec.UmbAufwand = umbau * 0.5 * 2; // two people
                rec.UmbBem = raum.art == Saal ? QStringLiteral("Bühne mit Rednerpult aufbauen")
                                              : QStringLiteral("Tische umstellen");
                if (extern_)
                    rec.Umbau = Currency::fromDouble(60.0 * umbau);
            }
            einzeln.append(rec);
        }
    }

    std::stable_sort(einzeln.begin(), einzeln.end(),
                     [](const CBelegungRec& a, const CBelegungRec& b) {
                         if (a.dt_von != b.dt_von)
                             return a.dt_von < b.dt_von;
                         return a.tm_von < b.tm_von;
                     });
    for (CBelegungRec& rec : einzeln)
        rec.lAuftrNr = nr++;
    return serien + einzeln;
}

bool FillRaumverw(const QString& path, DemoIds& ids, QString& error) {
    CRvDb rv;
    rv.SetDbPath(path);
    rv.SetOpenOptions(false);
    rv.SetOpenReadOnly(false);
    if (!rv.OpenDb()) {
        error = rv.LastError();
        return false;
    }
    if (!FillStamm(rv, ids, error))
        return false;
    // Every order through the write path, in the order of its numbers, so that the counter
    // ends one above the last.
    QMap<int32_t, QVector<CBelegungRec>> auftraege;
    for (const CBelegungRec& rec : PlanBelegungen(ids, TovoDate::today().value()))
        auftraege[rec.lAuftrNr].append(rec);
    for (auto it = auftraege.begin(); it != auftraege.end(); ++it) {
        const SchreibPfad::Ergebnis e =
            SchreibPfad::NeuerAuftrag(rv.ConnectionName(), it.value(), 0, it.key());
        if (!e.ok()) {
            error = e.status == SchreibPfad::Status::Konflikt
                        ? SchreibPfad::KonfliktMeldung(e)
                        : e.meldung + QStringLiteral("\r\n") + e.fehler;
            return false;
        }
    }
    rv.CloseDb();
    return true;
}

bool WriteSettings(const QString& projectDir, QString& error) {
    const CTovoTools& tools = CTovoTools::Instance();
    const QString ini = projectDir + QStringLiteral("TovoRaumVerw.ini");
    const QString geb = projectDir + QStringLiteral("Gebaeudestruktur.ini");
    if (tools.WriteIniValue(ini, QStringLiteral("RAUMVERWALTUNG"), QStringLiteral("Toleranz"),
                            QStringLiteral("0")) &&
        tools.WriteIniValue(ini, QStringLiteral("Raumverwaltung"), QStringLiteral("Mailname"),
                            QStringLiteral("Raumverwaltung")) &&
        tools.WriteIniValue(ini, QStringLiteral("Feiertage"), QStringLiteral("Land"),
                            QStringLiteral("NW")) &&
        // Mail goes to a local test server (see README), the display to the first serial port.
        tools.WriteIniValue(ini, QStringLiteral("Mail"), QStringLiteral("Server"),
                            QStringLiteral("127.0.0.1")) &&
        tools.WriteIniValue(ini, QStringLiteral("Mail"), QStringLiteral("Port"),
                            QStringLiteral("8025")) &&
        tools.WriteIniValue(ini, QStringLiteral("Mail"), QStringLiteral("Verschluesselung"),
                            QStringLiteral("none")) &&
        tools.WriteIniValue(ini, QStringLiteral("Mail"), QStringLiteral("Absender"),
                            QStringLiteral("raumverwaltung@musterwerke-rheinland.example")) &&
        tools.WriteIniValue(geb, QStringLiteral("Rnr"), QStringLiteral("Format"),
                            QStringLiteral("S.G.BE.R")))
        return true;
    error = QStringLiteral("Die Einstellungen konnten nicht geschrieben werden.");
    return false;
}

} // namespace

bool CreateDemoProject(const QString& exeDir, const QString& projectDir, QString* error) {
    auto withSlash = [](const QString& dir) {
        return dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))
                   ? dir
                   : dir + QLatin1Char('/');
    };
    const QString exe = withSlash(exeDir);
    const QString proj = withSlash(projectDir);
    const QString vorlage = exe + QStringLiteral("Leeres Projekt/TovoRaumverw.mdb");
    const QString rvPath = proj + QStringLiteral("TovoRaumverw.mdb");
    const QString gebPath = proj + QStringLiteral("TovoGebaeude.mdb");
    const QString stammPath = proj + QStringLiteral("TovoStammdaten.mdb");
    QString message;
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };

    if (!QFileInfo(proj).isDir())
        return fail(QStringLiteral("Das Projektverzeichnis %1 existiert nicht.").arg(proj));
    for (const QString& path : {rvPath, gebPath, stammPath})
        if (QFileInfo::exists(path))
            return fail(QStringLiteral("Im Projektverzeichnis gibt es bereits die Datei %1.")
                            .arg(QFileInfo(path).fileName()));
    if (!QFileInfo::exists(vorlage))
        return fail(
            QStringLiteral("Die leere Projektdatenbank %1 wurde nicht gefunden.").arg(vorlage));

    // Files that did not exist before are removed again when anything goes wrong.
    QStringList neu = {rvPath, gebPath, stammPath};
    for (const QString& ini :
         {QStringLiteral("TovoRaumVerw.ini"), QStringLiteral("Gebaeudestruktur.ini")})
        if (!QFileInfo::exists(proj + ini))
            neu.append(proj + ini);

    bool ok = QFile::copy(vorlage, rvPath);
    if (!ok) {
        message = QStringLiteral("Die leere Projektdatenbank konnte nicht nach %1 kopiert werden.")
                      .arg(rvPath);
    } else {
        QFile::setPermissions(rvPath, QFile::permissions(rvPath) | QFile::WriteOwner);
        DemoIds ids;
        ok = FillStammdaten(stammPath, ids, message) && FillGebaeude(gebPath, ids, message) &&
             FillRaumverw(rvPath, ids, message) && WriteSettings(proj, message);
    }
    if (!ok) {
        for (const QString& path : neu)
            QFile::remove(path);
        return fail(message);
    }
    if (error)
        error->clear();
    return true;
}
