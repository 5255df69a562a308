#pragma once

#include "R_Main.h"
#include "RecColl.h"
#include "Records.h"
#include "SerienPruefung.h"
#include "TerminEingabe.h"
#include "TovoTextbox.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class CSerienFkt;
class CStammdatenDb;
class IListControl;
class QButtonGroup;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDate;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;

// "Antrag": the reservation form. It shows one booking (f_RecBelegung), all bookings of one
// order (f_BelegListe) or a new reservation (neither), and saves, deletes and checks it.
//
// The opener sets f_StammDb and f_stClient, opens the form through one of the opening helpers
// (only they set the opening state; it is public for reading) and calls exec(). Showing the form
// runs Form_Load and Form_Activate once; both are public, like every handler, so that the form can
// be driven without showing it.
class frmAntrag : public QDialog {
    Q_OBJECT
public:
    explicit frmAntrag(QWidget* parent = nullptr);
    ~frmAntrag() override;

    // --- state: set by the opening helpers, read by openers and tests --------------------------
    std::shared_ptr<CBelegungRec> f_RecBelegung;    // the single booking shown; null = none
    std::shared_ptr<CBelegungRecColl> f_BelegListe; // all bookings of an order; null = none
    int32_t f_lRecId = 0;               // record id of the booking edited; 0 for a new one
    bool f_bUpdate = false;             // the booking exists and is updated on saving
    int32_t f_lRaumartid = 0;           // room type preselected in coRaumart
    bool f_bFirst = false;              // Data2Ctrl loads the form only while this is true
    bool f_bGespeichert = false;        // the reservation was saved while the form was open
    bool f_bVonNetzpult = false;        // taken over from a portal request
    CStammdatenDb* f_StammDb = nullptr; // companies and persons (not owned), set by the opener
    QString f_stClient;                 // set by the opener

    // --- opening helpers -----------------------------------------------------------------------
    // An existing booking on its own.
    void OeffneBelegung(std::shared_ptr<CBelegungRec> rec);
    // All bookings of one order (a series) at once.
    void OeffneAuftrag(std::shared_ptr<CBelegungRecColl> buchungen);
    // A new reservation on the day of `datum`, 8:00 to 9:00, without a room.
    void NeuerAntrag(double datum);
    // A new reservation for a free slot of the time plan: room `lRaumId` from the moment
    // `datumZeit` for one hour. Tests the room at once (IsFreeRaum).
    void NeuerAntragImRaum(int32_t lRaumId, double datumZeit);
    // A portal request not yet saved: `rec` holds its dates and particulars, `lRaumId` the wished
    // room (0 = none) and `wunschraum` its name as the request gives it. Loads the form at once
    // and chooses the wished room where it is free; else the user is told and picks one. Then
    // `hinweise` (what the request could not give) are shown; the form starts unchanged.
    void OeffneNetzpultAntrag(std::shared_ptr<CBelegungRec> rec, int32_t lRaumId,
                              const QString& wunschraum, QStringList hinweise);

    // The room shown in lbUsedRoom and the id kept with it ("" = none, "0" = several rooms).
    void SetzeGewaehltenRaum(const QString& kurzbez, const QString& tag);
    QString RaumTag() const;
    // After a conflict moved the reservation to another room, the room field stays marked until
    // the user has looked at it (clicked or entered it).
    bool RaumwechselMarkiert() const { return m_bRaumwechsel; }

    bool Geaendert() const { return m_bGeaendert; }
    void SetGeaendert(bool geaendert) { m_bGeaendert = geaendert; }
    // True once the form was closed by one of its commands.
    bool Geschlossen() const { return m_bGeschlossen; }
    // The series rule the form holds for a new series; null = none.
    std::shared_ptr<CSerienFkt> Serie() const { return m_Serie; }

    // What lbUsedRoom shows for an order whose bookings lie in several rooms.
    static inline const QString kMehrere = QStringLiteral("(Mehrere)");

    // --- life cycle ----------------------------------------------------------------------------
    void Form_Load();
    void Form_Activate();
    void Data2Ctrl();

    // --- mask (frmAntragMaske.cpp) -------------------------------------------------------------
    void Read2Mask();
    // Stores the controls into the booking; a null pointer gets a new booking first.
    void Write2Rec(std::shared_ptr<CBelegungRec>& rec);
    void Write2Rec(CBelegungRec& rec);
    QString GetAusstattung() const;
    void ClearfrmAntrag();
    void GetFirmen2Ctrl();
    void coFirma_Click(int index);
    void coPerson_Click(int index);
    void pbStamm_Click(int index);

    // --- checks (frmAntragPruefung.cpp) --------------------------------------------------------
    bool DatumsPruefung();
    void CheckBau();
    void GetAufwand();
    void pbBauVor_Click(int index);
    // The date or time box `box` (numbered as in TerminEingabe) is left for `ziel`: the box is
    // checked, and the span checks run when a group of edited boxes is left. False when the box
    // holds no possible date or time (the user was told and goes back into it).
    bool FeldVerlassen(int box, int ziel);
    // The span checks: end after start, set-up and clear-down, the chosen room, the free rooms.
    void SpannePruefen();
    // The date and time box with that number.
    TovoTextbox* TerminBox(int box) const;

    // --- rooms (frmAntragRaeume.cpp) -----------------------------------------------------------
    // Tests the reservation against the chosen room; false after a conflict (the user was told
    // and the form switched to the first free room of the type).
    bool IsFreeRaum();
    void pbFreeRooms_Click();
    void pbFreeRoomsClick() { pbFreeRooms_Click(); }
    // True when the free-room search must not run; the reason is in EingabeMeldung().
    bool Eingabekontrolle();
    QString EingabeMeldung() const { return m_stMeldung; }
    void coFreeRooms_Click();
    void coRaumart_Click();

    // --- commands (frmAntragBefehle.cpp) -------------------------------------------------------
    void pbSave_Click();
    void pbDelete_Click();
    void pbNew_Click();
    void pbEnde_Click();
    void pbSetBack_Click(int index);
    void pbDatum_Click(int index);
    void mvDatum_DateClick(const QDate& date);
    void pbHistorie_Click();

    // --- confirmation mail and door display (frmAntragMail.cpp) --------------------------------
    // "E-&Mail": sends the confirmation to the orderer and stores the mail flag.
    void pbEMail_Click();
    // "&Display": writes the door notice to the display's serial port.
    void pbPrint2Com_Click();
    // "Adresse suchen" ticked: the address picker fills edEMail; a cancel unticks it.
    void cbMailAddress_Click();

    // --- documents (frmAntragDruck.cpp) -------------------------------------------------------
    // "Bestelldaten" (1), "Rückantwort" (2), "Hinweisschild" (3), "Umbau" (4), "Rechnung" (5):
    // the booking as the form shows it, in a print preview.
    void cmdDruck_Click(int index);

    // --- series (frmAntragSerie.cpp) -----------------------------------------------------------
    // "> Serie definieren": the series dialog, pre-filled from the form; its rule replaces the
    // form's, a cancel drops it.
    void pbSerie_Click();

    // --- calendar export (frmAntragExport.cpp) -------------------------------------------------
    // "Als iCalendar speichern…": the stored booking, or all bookings of the order, as a .ics
    // file chosen by the user.
    void pbICal_Click();
    // The .ics text of what the form shows; false (and the reason) when nothing is stored yet.
    bool ICalText(QString& text, QString& grund) const;
    // The booking or every booking of the order as stored; false (and the reason) as above.
    bool GespeicherteBuchungen(QVector<CBelegungRec>& buchungen, QString& grund) const;

    // --- series check (frmAntragSerienPruefung.cpp) --------------------------------------------
    // "Termine prüfen…": the overview of every date of the new series in the chosen room. After
    // "Übernehmen" the form keeps the choice and saves exactly those dates; true then.
    bool TerminePruefen();
    // The choice made in the overview while it still fits the series, room and times; else null.
    std::shared_ptr<SerienPruefung::Ergebnis> SerienWahl() const;
    // The dates a save of the new series writes, each with its room.
    QVector<R_Main::SerienTermin> SerienTermineZumSpeichern() const;

    // Escape and the window's close button go through pbEnde_Click.
    void reject() override;

    // --- controls ------------------------------------------------------------------------------
    QTabWidget* SSTab1 = nullptr;
    QGroupBox* frTermin = nullptr;
    TovoTextbox* tfDt_von = nullptr;
    TovoTextbox* tfTm_von = nullptr;
    TovoTextbox* tfDt_bis = nullptr;
    TovoTextbox* tfTm_bis = nullptr;
    QPushButton* pbDatum[6] = {};
    QPushButton* pbSerie = nullptr;
    QLineEdit* edSerie = nullptr;

    QComboBox* coRaumart = nullptr;
    QLabel* lbRaumGewaehlt = nullptr;
    QLabel* lbUsedRoom = nullptr;
    QComboBox* coFreeRooms = nullptr;
    QLabel* lbNichtverfuegbar = nullptr;
    QLineEdit* edWunschraum = nullptr;

    QComboBox* coFirma[2] = {};
    QComboBox* coPerson[2] = {};
    QPushButton* pbStamm[2] = {};
    TovoTextbox* tfTel = nullptr;
    TovoTextbox* tfFax = nullptr;
    TovoTextbox* tfKst = nullptr;
    TovoTextbox* edEMail = nullptr;
    QCheckBox* cbMail = nullptr;
    QCheckBox* cbMailAddress = nullptr;
    TovoTextbox* tfVerst = nullptr;
    TovoTextbox* tfPers = nullptr;
    QLabel* lbMaxAnz = nullptr;
    TovoTextbox* tfBem = nullptr;
    TovoTextbox* tfdatErst = nullptr;
    TovoTextbox* tfDatKorr = nullptr;

    QCheckBox* Check2[13] = {}; // 1..12
    TovoTextbox* tfAustBem = nullptr;
    QRadioButton* rbStuhlan[4] = {};
    TovoTextbox* tfBeteiligtentische = nullptr;
    QLabel* lbBettischInfos = nullptr;
    QPushButton* pbHistorie = nullptr;

    TovoTextbox* tfdt[4] = {};
    TovoTextbox* tftm[4] = {};
    QPushButton* pbBauVor[2] = {};
    QPushButton* pbSetBack[2] = {};
    TovoTextbox* tfUmbBereit = nullptr;
    TovoTextbox* tfUmbAufwand = nullptr;
    TovoTextbox* tfUmbBem = nullptr;
    TovoTextbox* tfMiete = nullptr;
    TovoTextbox* tfUmbau = nullptr;
    TovoTextbox* tfPausch = nullptr;
    TovoTextbox* tfSonst = nullptr;
    TovoTextbox* tfSicherheit = nullptr;
    TovoTextbox* tfTageskraft = nullptr;
    TovoTextbox* tfTechnik = nullptr;

    QPushButton* pbFreeRooms = nullptr;
    QPushButton* pbNew = nullptr;
    QPushButton* pbSave = nullptr;
    QPushButton* pbDelete = nullptr;
    QPushButton* pbEMail = nullptr;
    QPushButton* pbPrint2Com = nullptr;
    QPushButton* pbICal = nullptr;
    QPushButton* cmdDruck[6] = {}; // 1..5
    QPushButton* pbEnde = nullptr;

    QCalendarWidget* mvDatum = nullptr;
    QStatusBar* sbStatus = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // While programme code fills the controls, their change handlers stay quiet.
    class LadeSperre {
    public:
        explicit LadeSperre(frmAntrag& form) : m_form(form) { ++m_form.m_iLaden; }
        ~LadeSperre() { --m_form.m_iLaden; }
        LadeSperre(const LadeSperre&) = delete;
        LadeSperre& operator=(const LadeSperre&) = delete;

    private:
        frmAntrag& m_form;
    };

    // construction (frmAntrag.cpp)
    void BuildLayout();
    // Read-only mode: every editing field and command locked; run again after anything that
    // enables controls.
    void NurLesenAnwenden();
    QWidget* BuildAntragTab();
    QWidget* BuildAusstattungTab();
    QWidget* BuildDienstleistungenTab();
    QLayout* BuildBefehle();
    void ConnectHandlers();
    // Fills coRaumart with all room types and selects f_lRaumartid.
    void RaumartenLaden();
    TovoTextbox* NeueBox(const QString& name, TovoTextbox::Art art);

    // mask helpers
    void KeinStuhlGewaehlt();
    int GewaehlteStuhlanordnung() const;
    void FirmaUndPersonLaden(int index, const QString& firma, int32_t firmaId,
                             const QString& person, int32_t personId);
    // The booking that the form fills on saving; made from the state when first needed.
    std::shared_ptr<CBelegungRec>& FormBeleg();
    int32_t BearbeiteteRecId() const;
    bool MehrereRaeume() const;

    // check helpers (frmAntragPruefung.cpp)
    static bool HaeltDatum(const TovoTextbox* box);
    static bool HaeltZeit(const TovoTextbox* box);
    // The number of the box a widget belongs to: a box itself, or the calendar or a button of a
    // box's group; TerminEingabe::kAussen for anything else.
    int TerminZiel(const QWidget* w) const;
    void TermineLesen();
    // Writes changed texts back into the boxes; true when one changed.
    bool TermineZurueck();
    // The focus left a box: checked as soon as the focus has settled.
    void TerminBoxVerlassen(int box, int ziel);
    bool VerlassenAbarbeiten();

    // room helpers (frmAntragRaeume.cpp)
    bool StartUndEndeGueltig() const;
    R_Main::FreiAnfrage FreieRaeumeAnfrage() const;
    void StuhlanordnungFreigeben(const QString& moeglich);

    // command helpers (frmAntragBefehle.cpp)
    // The save itself; true when the reservation was stored.
    bool Speichern();
    // Runs the leave handling of the date or time box that has the focus, as if the user had
    // left it: a save by mnemonic, Enter or closing does not move the focus. False when that
    // check found a conflict (the form then shows another room) or failed.
    bool EingabeAbschliessen();
    void PersonenUndTischeWarnen();
    bool DarfSchreiben() const;
    TovoTextbox* DatumsBox(int index) const;
    void Schliessen();

    // mail helpers (frmAntragMail.cpp)
    // Opens the address picker on the orderer's name; true when it put an address in edEMail.
    bool AdresseSuchen();
    // Stores the form with the mail flag: every booking of an opened order, else the one booking.
    bool MailFlagSpeichern();

    // series helpers (frmAntragSerie.cpp)
    // A new series: one booking per date under one order number; the form then holds the order.
    bool SpeichereSerie(CBelegungRec& vorlage);
    // An opened order: the form's particulars and times onto every booking, each keeping its date.
    bool SpeichereAuftragAenderung(CBelegungRec& vorlage);
    // Tests every date of the series (or every booking of the opened order) in the chosen room
    // with the form's times; true on a conflict, with the date of the first conflicting one.
    bool SerieHatKonflikt(CBelegungRec& probe, QString& konfliktDatum);
    // Puts the dates of the series and the form's times into the free-room request; `termine`
    // holds the dates while the request is used. False without a series.
    bool SerienAnfrage(R_Main::FreiAnfrage& anfrage, QVector<double>& termine) const;
    // Set-up and clear-down rows and their buttons on or off.
    void BauFreigeben(bool an);

    // series check helpers (frmAntragSerienPruefung.cpp)
    // The room a save would use: the one picked in coFreeRooms, else the one shown.
    int32_t GewaehlterRaum() const;
    // The check of `rule` in the chosen room with the form's times.
    // The times are the form's, or the rule's own with `zeitenDerRegel`.
    SerienPruefung::Anfrage SerienPruefAnfrage(const CSerienFkt& rule,
                                               bool zeitenDerRegel = false) const;
    bool TerminePruefen(const CSerienFkt& rule, bool zeitenDerRegel,
                        std::shared_ptr<SerienPruefung::Ergebnis>& wahl);
    // edSerie: the rule's description and the dates left out.
    void SerienTextSetzen();

    // room field helpers (frmAntragRaeume.cpp)
    // No room chosen any more: the free-room list is shown without a selection and saving asks
    // for a room.
    void RaumAufgeben();
    void MarkiereRaumwechsel(const QString& alt, const QString& neu);
    void RaumwechselGesehen();
    // The chosen room shows once: the label only where the list of free rooms is hidden.
    void RaumAnzeigeAbgleichen();

    TerminEingabe m_termine;                        // the date and time boxes as texts
    std::pair<int, int> m_offenesVerlassen{-1, -1}; // a box left, not yet checked: box, target
    std::shared_ptr<CSerienFkt> m_Serie;
    std::shared_ptr<SerienPruefung::Ergebnis> m_SerienWahl; // choice of the overview
    QString m_stSerieBasis;                                 // the rule's description
    std::shared_ptr<CSerienFkt> m_SerieGespeichert;         // rule of the series saved here
    std::shared_ptr<CBelegungRec> m_Beleg;
    QButtonGroup* m_stuhlGruppe = nullptr;
    int m_iLaden = 0;
    bool m_bGeaendert = false;
    bool m_bGeschlossen = false;
    bool m_bSpeichert = false;         // pbSave_Click is running
    bool m_bSchreibfehler = false;     // the last save failed writing to the database
    bool m_bKonfliktGemeldet = false;  // IsFreeRaum told the user about a conflict
    bool m_bGeladen = false;           // Form_Load ran
    bool m_bNurLesen = false;          // the user may only read (right "L")
    bool m_bAktiviert = false;         // Form_Activate ran
    int m_iMaxPers = 0;                // capacity of the chosen room
    int m_iDatumIndex = -1;            // calendar button whose month view is open
    QString m_stMeldung;               // reason of Eingabekontrolle
    bool m_bMailSitzung = false;       // a confirmation is being sent
    bool m_bRaumwechsel = false;       // the room field is marked after a switch
    bool m_bRaumartGewechselt = false; // coRaumart_Click is searching rooms of the new type
};
