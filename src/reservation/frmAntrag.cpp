// Construction, layout and life cycle of the reservation form.
#include "frmAntrag.h"

#include "Allg_Hilfsfkt.h"
#include "CRvDb.h"
#include "DruckTabelle.h"
#include "ErrorGuard.h"
#include "ListControlAdapter.h"
#include "NurLesen.h"
#include "Prompt.h"
#include "RvGlobals.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Captions of the equipment boxes Check2(1..12).
const char* const kAusstattung[12] = {
    "Whiteboard", "Projektor", "Laptop",      "Mikrofon",        "Rednerpult",     "Flipchart",
    "Leinwand",   "Netzwerk",  "Audioanlage", "Mediensteuerung", "Großbildschirm", "Smartboard"};

QString Name(const char* base, int index) {
    return QLatin1String(base) + QLatin1Char('_') + QString::number(index);
}

QLabel* Beschriftung(const QString& text) {
    return new QLabel(text);
}

QPushButton* Knopf(const QString& name, const QString& text, const QString& tip = QString()) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

// A small button beside a box ("...", "?", "_", calendar).
QPushButton* KleinerKnopf(const QString& name, const QString& text,
                          const QString& tip = QString()) {
    QPushButton* b = Knopf(name, text, tip);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 18);
    return b;
}

// The form's default height leaves room for the title bar and a task bar on a 768-pixel screen.
constexpr int kMaxHoehe = 700;

} // namespace

frmAntrag::frmAntrag(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAntrag"));
    setWindowTitle(QStringLiteral("Antrag"));
    setModal(true);
    BuildLayout();
    ConnectHandlers();
}

frmAntrag::~frmAntrag() = default;

// --- construction ------------------------------------------------------------------------------

TovoTextbox* frmAntrag::NeueBox(const QString& name, TovoTextbox::Art art) {
    auto* box = new TovoTextbox(nullptr, art);
    box->setObjectName(name);
    if (art == TovoTextbox::Art::Geld || art == TovoTextbox::Art::Dezimal)
        box->setAlignment(Qt::AlignRight);
    if (art == TovoTextbox::Art::Datum)
        box->setMaxLength(10);
    if (art == TovoTextbox::Art::Zeit)
        box->setMaxLength(5);
    return box;
}

void frmAntrag::BuildLayout() {
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    // Each tab scrolls when the form is made smaller than its content.
    QSize inhalt;
    auto seite = [&](QWidget* inhaltSeite, const QString& titel) {
        auto* rollen = new QScrollArea;
        rollen->setWidgetResizable(true);
        rollen->setFrameShape(QFrame::NoFrame);
        rollen->setWidget(inhaltSeite);
        inhalt = inhalt.expandedTo(inhaltSeite->sizeHint());
        SSTab1->addTab(rollen, titel);
    };
    seite(BuildAntragTab(), QStringLiteral("&Antrag"));
    seite(BuildAusstattungTab(), QStringLiteral("Auss&tattung"));
    seite(BuildDienstleistungenTab(), QStringLiteral(" Di&enstleistungen"));

    auto* haupt = new QHBoxLayout;
    haupt->addWidget(SSTab1, 1);
    haupt->addLayout(BuildBefehle());
    // The status line confirms what went out without a message to click away.
    sbStatus = new QStatusBar;
    sbStatus->setObjectName(QStringLiteral("sbStatus"));
    sbStatus->setSizeGripEnabled(false);
    auto* aussen = new QVBoxLayout(this);
    aussen->addLayout(haupt, 1);
    aussen->addWidget(sbStatus);

    // The month view floats above the form beside the calendar button that opened it.
    mvDatum = new QCalendarWidget(this);
    mvDatum->setObjectName(QStringLiteral("mvDatum"));
    mvDatum->setLocale(QLocale(QLocale::German, QLocale::Germany));
    mvDatum->setFirstDayOfWeek(Qt::Monday);
    mvDatum->setGridVisible(true);
    mvDatum->setAutoFillBackground(true);
    mvDatum->adjustSize();
    mvDatum->hide();

    // By default the whole content shows without scrolling, as far as a small screen allows;
    // beyond that the tabs scroll.
    const QSize rand = SSTab1->sizeHint() - SSTab1->currentWidget()->sizeHint();
    const QSize ziel = inhalt + rand.expandedTo(QSize(0, 0)) + QSize(24, 24);
    const QSize befehle = haupt->itemAt(1)->sizeHint();
    const QRect platz = screen() ? screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    resize(
        std::min(ziel.width() + befehle.width() + haupt->spacing() * 2 + 16, platz.width() - 16),
        std::min({std::max(ziel.height(), befehle.height()) + 20, kMaxHoehe, platz.height() - 48}));
}

QWidget* frmAntrag::BuildAntragTab() {
    auto* seite = new QWidget;
    auto* v = new QVBoxLayout(seite);
    // Two columns side by side keep the form low enough for small screens.
    auto* oben = new QHBoxLayout;
    auto* mitte = new QHBoxLayout;
    v->addLayout(oben);
    v->addLayout(mitte);

    // Dates and times of the event.
    frTermin = new QGroupBox(QStringLiteral("Beginn und Ende der Veranstaltung:"));
    frTermin->setObjectName(QStringLiteral("frTermin"));
    auto* gt = new QGridLayout(frTermin);
    tfDt_von = NeueBox(QStringLiteral("tfDt_von"), TovoTextbox::Art::Datum);
    tfTm_von = NeueBox(QStringLiteral("tfTm_von"), TovoTextbox::Art::Zeit);
    tfDt_bis = NeueBox(QStringLiteral("tfDt_bis"), TovoTextbox::Art::Datum);
    tfTm_bis = NeueBox(QStringLiteral("tfTm_bis"), TovoTextbox::Art::Zeit);
    for (int i = 0; i < 6; ++i)
        pbDatum[i] = KleinerKnopf(Name("pbDatum", i), QStringLiteral("▾"));
    gt->addWidget(Beschriftung(QStringLiteral("Datum")), 0, 1);
    gt->addWidget(Beschriftung(QStringLiteral("Uhrzeit")), 0, 3);
    gt->addWidget(Beschriftung(QStringLiteral("Beginn:")), 1, 0);
    gt->addWidget(tfDt_von, 1, 1);
    gt->addWidget(pbDatum[0], 1, 2);
    gt->addWidget(tfTm_von, 1, 3);
    gt->addWidget(Beschriftung(QStringLiteral("Ende:")), 2, 0);
    gt->addWidget(tfDt_bis, 2, 1);
    gt->addWidget(pbDatum[1], 2, 2);
    gt->addWidget(tfTm_bis, 2, 3);
    pbSerie = Knopf(QStringLiteral("pbSerie"), QStringLiteral("> Serie &definieren"));
    edSerie = new QLineEdit;
    edSerie->setObjectName(QStringLiteral("edSerie"));
    edSerie->setReadOnly(true);
    // Shown only: Tab passes it by.
    edSerie->setFocusPolicy(Qt::ClickFocus);
    gt->addWidget(pbSerie, 1, 4);
    gt->addWidget(Beschriftung(QStringLiteral("Serie:")), 3, 0);
    gt->addWidget(edSerie, 3, 1, 1, 4);
    gt->setColumnStretch(1, 1);
    gt->setColumnStretch(3, 1);
    gt->setRowStretch(4, 1);
    oben->addWidget(frTermin, 1);

    // Room type and room.
    auto* frRaum = new QGroupBox(QStringLiteral("Raum"));
    auto* gr = new QGridLayout(frRaum);
    coRaumart = new QComboBox;
    coRaumart->setObjectName(QStringLiteral("coRaumart"));
    lbRaumGewaehlt = new QLabel(QStringLiteral("Gewählter Raum:"));
    lbRaumGewaehlt->setObjectName(QStringLiteral("lbRaumGewaehlt"));
    lbUsedRoom = new QLabel;
    lbUsedRoom->setObjectName(QStringLiteral("lbUsedRoom"));
    lbUsedRoom->setProperty("Tag", QString());
    lbUsedRoom->hide();
    coFreeRooms = new QComboBox;
    coFreeRooms->setObjectName(QStringLiteral("coFreeRooms"));
    coFreeRooms->installEventFilter(this);
    lbUsedRoom->installEventFilter(this);
    lbNichtverfuegbar = new QLabel(QStringLiteral("Nicht alle Räume der Raumart sind verfügbar"));
    lbNichtverfuegbar->setObjectName(QStringLiteral("lbNichtverfuegbar"));
    // The note keeps its place while hidden, so that the form does not jump when it appears.
    QSizePolicy platzHalten = lbNichtverfuegbar->sizePolicy();
    platzHalten.setRetainSizeWhenHidden(true);
    lbNichtverfuegbar->setSizePolicy(platzHalten);
    lbNichtverfuegbar->hide();
    edWunschraum = new QLineEdit;
    edWunschraum->setObjectName(QStringLiteral("edWunschraum"));
    edWunschraum->setReadOnly(true);
    edWunschraum->setFocusPolicy(Qt::ClickFocus);
    // The chosen room shows once: as the label where the list is hidden, else in the list.
    auto* raumZeile = new QHBoxLayout;
    raumZeile->setSpacing(0);
    raumZeile->addWidget(lbUsedRoom);
    raumZeile->addWidget(coFreeRooms, 1);
    gr->addWidget(Beschriftung(QStringLiteral("Raumart:")), 0, 0);
    gr->addWidget(coRaumart, 0, 1);
    gr->addWidget(lbRaumGewaehlt, 1, 0);
    gr->addLayout(raumZeile, 1, 1);
    gr->addWidget(lbNichtverfuegbar, 2, 1);
    gr->addWidget(Beschriftung(QStringLiteral("Wunschraum:")), 3, 0);
    gr->addWidget(edWunschraum, 3, 1);
    gr->setColumnStretch(1, 1);
    gr->setRowStretch(4, 1);
    oben->addWidget(frRaum, 1);

    // Orderer and invoice recipient.
    auto personBlock = [this](int i, QGroupBox* gruppe) {
        auto* g = new QGridLayout(gruppe);
        coFirma[i] = new QComboBox;
        coFirma[i]->setObjectName(Name("coFirma", i));
        coPerson[i] = new QComboBox;
        coPerson[i]->setObjectName(Name("coPerson", i));
        for (QComboBox* box : {coFirma[i], coPerson[i]}) {
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            box->setMinimumContentsLength(12);
            box->lineEdit()->installEventFilter(this);
        }
        pbStamm[i] = KleinerKnopf(Name("pbStamm", i), QStringLiteral("..."));
        g->addWidget(Beschriftung(QStringLiteral("Firma:")), 0, 0);
        g->addWidget(coFirma[i], 0, 1, 1, 3);
        g->addWidget(pbStamm[i], 0, 4);
        g->addWidget(Beschriftung(QStringLiteral("Ansprechpartner:")), 1, 0);
        g->addWidget(coPerson[i], 1, 1, 1, 3);
        g->setColumnStretch(1, 1);
        g->setColumnStretch(3, 1);
        return g;
    };
    auto* frBesteller = new QGroupBox(QStringLiteral("Besteller:"));
    auto* gb = personBlock(0, frBesteller);
    tfTel = NeueBox(QStringLiteral("tfTel"), TovoTextbox::Art::Text);
    tfFax = NeueBox(QStringLiteral("tfFax"), TovoTextbox::Art::Text);
    tfKst = NeueBox(QStringLiteral("tfKst"), TovoTextbox::Art::Text);
    edEMail = NeueBox(QStringLiteral("edEMail"), TovoTextbox::Art::Text);
    // A whole address fits: the field spans the row.
    edEMail->setMinimumWidth(edEMail->fontMetrics().horizontalAdvance(
                                 QStringLiteral("vorname.nachname@firmenname-beispiel.de")) +
                             12);
    cbMail = new QCheckBox(QStringLiteral("E-Mail gesendet"));
    cbMail->setObjectName(QStringLiteral("cbMail"));
    cbMailAddress = new QCheckBox(QStringLiteral("Adresse suchen"));
    cbMailAddress->setObjectName(QStringLiteral("cbMailAddress"));
    gb->addWidget(Beschriftung(QStringLiteral("Telefon:")), 2, 0);
    gb->addWidget(tfTel, 2, 1);
    gb->addWidget(Beschriftung(QStringLiteral("Fax:")), 2, 2);
    gb->addWidget(tfFax, 2, 3, 1, 2);
    gb->addWidget(Beschriftung(QStringLiteral("Kst:")), 3, 0);
    gb->addWidget(tfKst, 3, 1);
    gb->addWidget(Beschriftung(QStringLiteral("E-Mail:")), 4, 0);
    gb->addWidget(edEMail, 4, 1, 1, 4);
    auto* mailZeile = new QHBoxLayout;
    mailZeile->addWidget(cbMail);
    mailZeile->addWidget(cbMailAddress);
    mailZeile->addStretch(1);
    gb->addLayout(mailZeile, 5, 1, 1, 4);
    mitte->addWidget(frBesteller, 1);

    auto* frRechnung = new QGroupBox(QStringLiteral("Rechnungsempfänger:"));
    auto* gre = personBlock(1, frRechnung);
    gre->setRowStretch(2, 1);
    mitte->addWidget(frRechnung, 1);

    // The event.
    auto* frVeranstaltung = new QGroupBox;
    auto* gv = new QGridLayout(frVeranstaltung);
    tfVerst = NeueBox(QStringLiteral("tfVerst"), TovoTextbox::Art::Text);
    tfPers = NeueBox(QStringLiteral("tfPers"), TovoTextbox::Art::Zahl);
    tfPers->setMaxLength(6);
    tfPers->setMaximumWidth(tfPers->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                            16);
    lbMaxAnz = new QLabel;
    lbMaxAnz->setObjectName(QStringLiteral("lbMaxAnz"));
    tfBem = NeueBox(QStringLiteral("tfBem"), TovoTextbox::Art::Text);
    tfdatErst = NeueBox(QStringLiteral("tfdatErst"), TovoTextbox::Art::Datum);
    tfDatKorr = NeueBox(QStringLiteral("tfDatKorr"), TovoTextbox::Art::Datum);
    gv->addWidget(Beschriftung(QStringLiteral("Veranstaltung:")), 0, 0);
    gv->addWidget(tfVerst, 0, 1, 1, 3);
    gv->addWidget(Beschriftung(QStringLiteral("Personen:")), 1, 0);
    gv->addWidget(tfPers, 1, 1);
    gv->addWidget(lbMaxAnz, 1, 2);
    gv->addWidget(Beschriftung(QStringLiteral("Bemerkungen:")), 2, 0);
    gv->addWidget(tfBem, 2, 1, 1, 3);
    gv->setColumnStretch(3, 1);
    v->addWidget(frVeranstaltung);

    // Order dates, as the portal sets them, on one line.
    auto* frBestellung = new QGroupBox;
    auto* go = new QHBoxLayout(frBestellung);
    go->addWidget(Beschriftung(QStringLiteral("Datum Bestellung ")));
    go->addWidget(tfdatErst);
    go->addSpacing(16);
    go->addWidget(Beschriftung(QStringLiteral("Datum letzte Korrektur per Intranet")));
    go->addWidget(tfDatKorr);
    go->addStretch(1);
    v->addWidget(frBestellung);
    v->addStretch(1);
    return seite;
}

QWidget* frmAntrag::BuildAusstattungTab() {
    auto* seite = new QWidget;
    auto* v = new QVBoxLayout(seite);

    auto* frAusstattung = new QGroupBox(QStringLiteral("Ausstattung:"));
    auto* ga = new QGridLayout(frAusstattung);
    for (int i = 1; i <= 12; ++i) {
        Check2[i] = new QCheckBox(QString::fromUtf8(kAusstattung[i - 1]));
        Check2[i]->setObjectName(Name("Check2", i));
        ga->addWidget(Check2[i], (i - 1) / 3, (i - 1) % 3);
    }
    tfAustBem = NeueBox(QStringLiteral("tfAustBem"), TovoTextbox::Art::Text);
    ga->addWidget(Beschriftung(QStringLiteral("Sonstiges:")), 4, 0);
    ga->addWidget(tfAustBem, 4, 1, 1, 2);
    v->addWidget(frAusstattung);

    auto* frStuhl = new QGroupBox(QStringLiteral("Stuhlanordnung:"));
    auto* hs = new QHBoxLayout(frStuhl);
    m_stuhlGruppe = new QButtonGroup(this);
    // Named as the documents print them.
    const char* const codes[4] = {"", "K", "U", "O"};
    for (int i = 0; i < 4; ++i) {
        rbStuhlan[i] = new QRadioButton(DruckTabelle::StuhlanordnungText(QLatin1String(codes[i])));
        rbStuhlan[i]->setObjectName(Name("rbStuhlan", i));
        m_stuhlGruppe->addButton(rbStuhlan[i], i);
        hs->addWidget(rbStuhlan[i]);
    }
    hs->addStretch(1);
    v->addWidget(frStuhl);

    auto* frTische = new QGroupBox;
    auto* gt = new QGridLayout(frTische);
    tfBeteiligtentische = NeueBox(QStringLiteral("tfBeteiligtentische"), TovoTextbox::Art::Zahl);
    tfBeteiligtentische->setMaxLength(4);
    lbBettischInfos = new QLabel(QStringLiteral("Fest/max"));
    lbBettischInfos->setObjectName(QStringLiteral("lbBettischInfos"));
    gt->addWidget(Beschriftung(QStringLiteral("Beteiligtentische")), 0, 0);
    gt->addWidget(tfBeteiligtentische, 0, 1);
    gt->addWidget(lbBettischInfos, 0, 2);
    gt->setColumnStretch(2, 1);
    v->addWidget(frTische);

    pbHistorie = Knopf(QStringLiteral("pbHistorie"),
                       QStringLiteral("Anzeige Ausstattun&gen im Bereich +/-15 Tagen"));
    auto* hh = new QHBoxLayout;
    hh->addWidget(pbHistorie);
    hh->addStretch(1);
    v->addLayout(hh);
    v->addStretch(1);
    return seite;
}

QWidget* frmAntrag::BuildDienstleistungenTab() {
    auto* seite = new QWidget;
    auto* v = new QVBoxLayout(seite);

    // Set-up and clear-down spans.
    auto* frBau = new QGroupBox;
    auto* gb = new QGridLayout(frBau);
    const char* const zeilen[4] = {
        "Beginn Umbau:", "Ende Umbau:", "Beginn Rückbau:", "Ende Rückbau:"};
    gb->addWidget(Beschriftung(QStringLiteral("Datum")), 0, 1);
    gb->addWidget(Beschriftung(QStringLiteral("Uhrzeit")), 0, 3);
    for (int i = 0; i < 4; ++i) {
        tfdt[i] = NeueBox(Name("tfdt", i), TovoTextbox::Art::Datum);
        tftm[i] = NeueBox(Name("tftm", i), TovoTextbox::Art::Zeit);
        gb->addWidget(Beschriftung(QString::fromUtf8(zeilen[i])), i + 1, 0);
        gb->addWidget(tfdt[i], i + 1, 1);
        gb->addWidget(pbDatum[i + 2], i + 1, 2);
        gb->addWidget(tftm[i], i + 1, 3);
    }
    for (int i = 0; i < 2; ++i) {
        pbBauVor[i] = KleinerKnopf(Name("pbBauVor", i), QStringLiteral("?"),
                                   QStringLiteral("Termine vorschlagen"));
        pbSetBack[i] =
            KleinerKnopf(Name("pbSetBack", i), QStringLiteral("_"), QStringLiteral("Zurücksetzen"));
        gb->addWidget(pbBauVor[i], 2 * i + 1, 4);
        gb->addWidget(pbSetBack[i], 2 * i + 1, 5);
    }
    gb->setColumnStretch(6, 1);
    v->addWidget(frBau);

    auto* frLeistung = new QGroupBox;
    auto* gl = new QGridLayout(frLeistung);
    tfUmbBereit = NeueBox(QStringLiteral("tfUmbBereit"), TovoTextbox::Art::Text);
    tfUmbAufwand = NeueBox(QStringLiteral("tfUmbAufwand"), TovoTextbox::Art::Dezimal);
    tfUmbBem = NeueBox(QStringLiteral("tfUmbBem"), TovoTextbox::Art::Text);
    gl->addWidget(Beschriftung(QStringLiteral("Bereitstellung Material:")), 0, 0);
    gl->addWidget(tfUmbBereit, 0, 1, 1, 2);
    gl->addWidget(Beschriftung(QStringLiteral("Stundenaufwand:")), 1, 0);
    gl->addWidget(tfUmbAufwand, 1, 1);
    gl->addWidget(Beschriftung(QStringLiteral("Zusatzleistungen:")), 2, 0);
    gl->addWidget(tfUmbBem, 2, 1, 1, 2);
    gl->setColumnStretch(2, 1);
    v->addWidget(frLeistung);

    // Costs in two columns.
    auto* frKosten = new QGroupBox;
    auto* gk = new QGridLayout(frKosten);
    struct Kosten {
        TovoTextbox** box;
        const char* name;
        const char* label;
    };
    const Kosten kosten[7] = {{&tfMiete, "tfMiete", "Raummiete(€):"},
                              {&tfUmbau, "tfUmbau", "Umbaukosten(€):"},
                              {&tfPausch, "tfPausch", "Betriebskosten(€):"},
                              {&tfSonst, "tfSonst", "sonst. Kosten(€):"},
                              {&tfSicherheit, "tfSicherheit", "Sicherheit(€):"},
                              {&tfTageskraft, "tfTageskraft", "Tageskraft(€):"},
                              {&tfTechnik, "tfTechnik", "Technik(€):"}};
    for (int i = 0; i < 7; ++i) {
        *kosten[i].box = NeueBox(QLatin1String(kosten[i].name), TovoTextbox::Art::Geld);
        const int zeile = i % 4;
        const int spalte = (i / 4) * 2;
        gk->addWidget(Beschriftung(QString::fromUtf8(kosten[i].label)), zeile, spalte);
        gk->addWidget(*kosten[i].box, zeile, spalte + 1);
    }
    v->addWidget(frKosten);
    v->addStretch(1);
    return seite;
}

QLayout* frmAntrag::BuildBefehle() {
    auto* v = new QVBoxLayout;
    // The free-room button sits at the top; while it is hidden the column closes up.
    pbFreeRooms = Knopf(QStringLiteral("pbFreeRooms"), QStringLiteral("Anzeige &freie Räume"));
    pbFreeRooms->hide();
    pbNew = Knopf(QStringLiteral("pbNew"), QStringLiteral("&Neu"));
    pbSave = Knopf(QStringLiteral("pbSave"), QStringLiteral("&Speichern"));
    pbDelete = Knopf(QStringLiteral("pbDelete"), QStringLiteral("&Löschen"));
    pbEMail = Knopf(QStringLiteral("pbEMail"), QStringLiteral("E-&Mail"));
    pbPrint2Com = Knopf(QStringLiteral("pbPrint2Com"), QStringLiteral("Dis&play"),
                        QStringLiteral("Hinweisschild auf Display ausgeben"));
    pbICal = Knopf(QStringLiteral("pbICal"), QStringLiteral("Als &iCalendar speichern…"),
                   QStringLiteral("Die Reservierung als Kalenderdatei (.ics) speichern"));
    for (QPushButton* b : {pbFreeRooms, pbNew, pbSave, pbDelete, pbEMail, pbPrint2Com, pbICal})
        v->addWidget(b);
    v->addSpacing(12);
    const char* const druck[6] = {"",       "&Bestelldaten", "R&ückantwort", "&Hinweisschild",
                                  "&Umbau", "&Rechnung"};
    for (int i = 1; i <= 5; ++i) {
        cmdDruck[i] = Knopf(Name("cmdDruck", i), QString::fromUtf8(druck[i]));
        v->addWidget(cmdDruck[i]);
    }
    v->addStretch(1);
    pbEnde = Knopf(QStringLiteral("pbEnde"), QStringLiteral("S&chließen"));
    v->addWidget(pbEnde);
    return v;
}

void frmAntrag::ConnectHandlers() {
    // Typing marks the form as changed; the date and time boxes also remember the edit for their
    // checks, and are checked when the user leaves them.
    for (int i = 0; i < TerminEingabe::kBoxen; ++i) {
        connect(TerminBox(i), &QLineEdit::textEdited, this, [this, i] {
            m_termine.Bearbeitet(i);
            m_bGeaendert = true;
        });
        TerminBox(i)->installEventFilter(this);
    }
    const QList<QLineEdit*> eingaben = {tfTel,
                                        tfFax,
                                        tfKst,
                                        edEMail,
                                        tfVerst,
                                        tfPers,
                                        tfBem,
                                        tfdatErst,
                                        tfAustBem,
                                        tfBeteiligtentische,
                                        tfUmbBereit,
                                        tfUmbAufwand,
                                        tfUmbBem,
                                        tfMiete,
                                        tfUmbau,
                                        tfPausch,
                                        tfSonst,
                                        tfSicherheit,
                                        tfTageskraft,
                                        tfTechnik,
                                        coFirma[0]->lineEdit(),
                                        coFirma[1]->lineEdit(),
                                        coPerson[0]->lineEdit(),
                                        coPerson[1]->lineEdit()};
    for (QLineEdit* e : eingaben)
        connect(e, &QLineEdit::textEdited, this, [this] { m_bGeaendert = true; });

    for (int i = 0; i < 6; ++i)
        connect(pbDatum[i], &QPushButton::clicked, this, [this, i] { pbDatum_Click(i); });
    connect(mvDatum, &QCalendarWidget::clicked, this,
            [this](const QDate& d) { mvDatum_DateClick(d); });
    for (int i = 0; i < 2; ++i) {
        connect(pbBauVor[i], &QPushButton::clicked, this, [this, i] { pbBauVor_Click(i); });
        connect(pbSetBack[i], &QPushButton::clicked, this, [this, i] { pbSetBack_Click(i); });
        connect(pbStamm[i], &QPushButton::clicked, this, [this, i] { pbStamm_Click(i); });
        connect(coFirma[i], &QComboBox::activated, this, [this, i] {
            m_bGeaendert = true;
            coFirma_Click(i);
        });
        connect(coPerson[i], &QComboBox::activated, this, [this, i] {
            m_bGeaendert = true;
            coPerson_Click(i);
        });
    }
    connect(coRaumart, &QComboBox::activated, this, [this] { coRaumart_Click(); });
    connect(coFreeRooms, &QComboBox::activated, this, [this] {
        RaumwechselGesehen();
        coFreeRooms_Click();
        m_bGeaendert = true;
    });
    for (int i = 1; i <= 12; ++i)
        connect(Check2[i], &QCheckBox::clicked, this, [this] { m_bGeaendert = true; });
    connect(m_stuhlGruppe, &QButtonGroup::buttonClicked, this, [this] { m_bGeaendert = true; });
    connect(cbMail, &QCheckBox::clicked, this, [this] { m_bGeaendert = true; });

    connect(pbSerie, &QPushButton::clicked, this, [this] { pbSerie_Click(); });
    connect(pbFreeRooms, &QPushButton::clicked, this, [this] { pbFreeRooms_Click(); });
    connect(pbNew, &QPushButton::clicked, this, [this] { pbNew_Click(); });
    connect(pbSave, &QPushButton::clicked, this, [this] { pbSave_Click(); });
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, pbSave,
            &QPushButton::click);
    connect(pbDelete, &QPushButton::clicked, this, [this] { pbDelete_Click(); });
    for (int i = 1; i <= 5; ++i)
        connect(cmdDruck[i], &QPushButton::clicked, this, [this, i] { cmdDruck_Click(i); });
    connect(pbEnde, &QPushButton::clicked, this, [this] { pbEnde_Click(); });
    connect(pbHistorie, &QPushButton::clicked, this, [this] { pbHistorie_Click(); });
    connect(pbEMail, &QPushButton::clicked, this, [this] { pbEMail_Click(); });
    connect(pbICal, &QPushButton::clicked, this, [this] { pbICal_Click(); });
    connect(pbPrint2Com, &QPushButton::clicked, this, [this] { pbPrint2Com_Click(); });
    connect(cbMailAddress, &QCheckBox::clicked, this, [this] { cbMailAddress_Click(); });
}

// --- events ------------------------------------------------------------------------------------

bool frmAntrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched == coFreeRooms || watched == lbUsedRoom) {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            RaumAnzeigeAbgleichen();
        else if (watched == coFreeRooms &&
                 (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
            RaumwechselGesehen();
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        // The editable company and person boxes refuse quotes like the checking text boxes.
        for (int i = 0; i < 2; ++i) {
            if (watched != coFirma[i]->lineEdit() && watched != coPerson[i]->lineEdit())
                continue;
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\''))) {
                Beep();
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut && !m_bGeschlossen) {
        // Only a move to another control of the form counts as leaving the box, not a message
        // box or another window taking the focus.
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(event)->reason();
        const int box = TerminZiel(qobject_cast<QWidget*>(watched));
        if (box >= 0 && grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
            TerminBoxVerlassen(box, TerminZiel(QApplication::focusWidget()));
    }
    return QDialog::eventFilter(watched, event);
}

void frmAntrag::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_bGeladen)
        Form_Load();
    // Activation runs once the form is on the screen, so that its messages lie above it.
    if (!m_bAktiviert)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_bAktiviert)
                    Form_Activate();
            },
            Qt::QueuedConnection);
}

void frmAntrag::reject() {
    if (m_bGeschlossen)
        QDialog::reject();
    else
        pbEnde_Click();
}

// --- life cycle --------------------------------------------------------------------------------

void frmAntrag::Form_Load() {
    RunGuarded(QStringLiteral("frmAntrag.Form_Load"), [&] {
        m_bGeladen = true;
        m_bGeaendert = false;
        m_bSchreibfehler = false;
        if (gstMailname.trimmed().isEmpty())
            pbEMail->setEnabled(false);
    });
}

void frmAntrag::Form_Activate() {
    RunGuarded(QStringLiteral("frmAntrag.Form_Activate"), [&] {
        m_bAktiviert = true;
        m_bNurLesen = NurLesen();
        Data2Ctrl();
        m_bGeaendert = false;
        if (coRaumart->currentIndex() < 0 && coRaumart->count() > 0) {
            LadeSperre sperre(*this);
            coRaumart->setCurrentIndex(0);
        }
        pbFreeRooms_Click();
        pbFreeRooms->setVisible(Allg_Hilfsfkt::IstWahr(Allg_Hilfsfkt::ReadIniValue(
            QStringLiteral("Antrag"), QStringLiteral("AnzFreieRaeume"), QStringLiteral("FALSE"))));
        if (m_bNurLesen)
            NurLesenAnwenden();
    });
}

void frmAntrag::NurLesenAnwenden() {
    // Shown, printed and exported as it is; nothing that would change or store it. Looking up
    // companies and persons stays: their dialog is read-only itself.
    MaskeNurLesen(this);
    for (QPushButton* b : {pbNew, pbSave, pbDelete, pbEMail, cmdDruck[2], cmdDruck[5], pbSerie,
                           pbFreeRooms, pbBauVor[0], pbBauVor[1], pbSetBack[0], pbSetBack[1]})
        b->setEnabled(false);
    for (QPushButton* b : pbDatum)
        b->setEnabled(false);
}

void frmAntrag::Data2Ctrl() {
    if (!f_bFirst)
        return;
    RunGuarded(QStringLiteral("frmAntrag.Data2Ctrl"), [&] {
        RaumartenLaden();
        GetFirmen2Ctrl();
        Read2Mask();
        SSTab1->setCurrentIndex(0);
        QCoreApplication::processEvents();
        f_bFirst = false;
    });
}

void frmAntrag::RaumartenLaden() {
    LadeSperre sperre(*this);
    ComboBoxListControl liste(coRaumart);
    if (gRvDb && !gRvDb->ReadAllRaumartRec2Ctrl(&liste, false))
        RaiseError(gRvDb->LastError());
    coRaumart->setCurrentIndex(coRaumart->findData(f_lRaumartid));
}

// --- opening -----------------------------------------------------------------------------------

void frmAntrag::OeffneBelegung(std::shared_ptr<CBelegungRec> rec) {
    f_RecBelegung = std::move(rec);
    f_BelegListe.reset();
    f_lRecId = f_RecBelegung ? f_RecBelegung->Rec_ID : 0;
    f_bUpdate = f_RecBelegung != nullptr;
    f_bVonNetzpult = false;
    f_bFirst = true;
}

void frmAntrag::OeffneAuftrag(std::shared_ptr<CBelegungRecColl> buchungen) {
    f_BelegListe = std::move(buchungen);
    f_RecBelegung.reset();
    f_lRecId = 0;
    f_bUpdate = f_BelegListe != nullptr;
    f_bVonNetzpult = false;
    f_bFirst = true;
}

void frmAntrag::NeuerAntrag(double datum) {
    f_RecBelegung.reset();
    f_BelegListe.reset();
    f_lRecId = 0;
    f_bUpdate = false;
    f_bFirst = true;
    LadeSperre sperre(*this);
    const double tag = TovoDate(datum).datePart().value();
    tfDt_von->SetValue(tag);
    tfDt_bis->SetValue(tag);
    tfTm_von->setText(QStringLiteral("8:00"));
    tfTm_bis->setText(QStringLiteral("9:00"));
    setWindowTitle(QStringLiteral("Neuer Antrag"));
}

void frmAntrag::NeuerAntragImRaum(int32_t lRaumId, double datumZeit) {
    f_RecBelegung.reset();
    f_BelegListe.reset();
    f_lRecId = 0;
    {
        LadeSperre sperre(*this);
        CAnzeigeRec raum;
        raum.az_ID = lRaumId;
        if (gRvDb && gRvDb->Readrb_AnzeigeRec(&raum)) {
            SetzeGewaehltenRaum(raum.Kurzbez, QString::number(raum.az_ID));
            lbUsedRoom->show();
            f_lRaumartid = raum.lRaumartId;
        }
        const TovoDate beginn(datumZeit);
        const TovoDate ende = beginn.addHours(1);
        tfDt_von->SetValue(beginn.datePart().value());
        tfTm_von->SetValue(beginn.timePart().value());
        // An hour from late evening ends on the next day.
        tfDt_bis->SetValue(ende.datePart().value());
        tfTm_bis->SetValue(ende.timePart().value());
    }
    f_bUpdate = false;
    f_bFirst = true;
    // The room type is known already, so that a conflict can switch to a free room of it.
    RunGuarded(QStringLiteral("frmAntrag.NeuerAntragImRaum"), [&] { RaumartenLaden(); });
    IsFreeRaum();
    QCoreApplication::processEvents();
    setWindowTitle(QStringLiteral("Neuer Antrag"));
}

void frmAntrag::OeffneNetzpultAntrag(std::shared_ptr<CBelegungRec> rec, int32_t lRaumId,
                                     const QString& wunschraum, QStringList hinweise) {
    // The wished room, when the reservation knows it.
    CAnzeigeRec raum;
    raum.az_ID = lRaumId;
    const bool raumBekannt =
        lRaumId != 0 && gRvDb && gRvDb->Readrb_AnzeigeRec(&raum) && raum.az_ID != 0;
    if (!raumBekannt)
        hinweise << QStringLiteral("Der im Antrag angegebene Raum ist in der Raumverwaltung nicht "
                                   "vorhanden. Bitte wählen Sie einen Raum.");

    OeffneBelegung(std::move(rec));
    f_lRecId = 0;
    f_bUpdate = false;
    f_bVonNetzpult = true;
    f_lRaumartid = raumBekannt ? raum.lRaumartId : 0;
    Form_Load();
    Form_Activate();
    setWindowTitle(QStringLiteral("Externer Antrag vom Netzpult"));
    edWunschraum->setText(raumBekannt ? raum.Kurzbez : wunschraum);

    if (raumBekannt) {
        const int i = coFreeRooms->findData(raum.az_ID);
        if (i >= 0) {
            coFreeRooms->setCurrentIndex(i);
            coFreeRooms_Click();
        } else {
            // No other room in its place: the user chooses one, or saving asks for it.
            RaumAufgeben();
            MsgBox(QStringLiteral("Der im Antrag angegebene Raum '") + raum.Kurzbez +
                   QStringLiteral("' ist belegt.") + QLatin1Char('\n') +
                   QStringLiteral("Bitte wählen Sie einen anderen Raum."));
        }
    }
    if (!hinweise.isEmpty())
        MsgBox(hinweise.join(QLatin1Char('\n')), PromptButtons::Ok, PromptIcon::Information);
    SetGeaendert(false);
}

void frmAntrag::SetzeGewaehltenRaum(const QString& kurzbez, const QString& tag) {
    lbUsedRoom->setText(kurzbez);
    lbUsedRoom->setProperty("Tag", tag);
    if (!kurzbez.isEmpty())
        lbRaumGewaehlt->setText(QStringLiteral("Gewählter Raum:"));
}

QString frmAntrag::RaumTag() const {
    return lbUsedRoom->property("Tag").toString();
}
