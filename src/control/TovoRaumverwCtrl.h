#pragma once

#include "Dialekt.h"
#include "SchreibPfad.h"
#include "ViewQueries.h"
#include "ZeitPlanData.h"

#include <QMap>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>

class CGebDb;
class CRaumNrFormat;
class CStammdatenDb;
class CTovoRecht;
class StreifenLesen;
class TovoZeitPlan;
struct BerichtZeitraum;
class QAction;
class QButtonGroup;
class QComboBox;
class QDialog;
class QCalendarWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QScrollBar;
class QTableWidget;
class QToolBar;
class QToolButton;
class QTimer;

// The occupancy control: the room-reservation module as one widget that a host window embeds.
// The host calls OpenDb, then Data2Ctrl, and CloseDb before it destroys the control.
class TovoRaumverwCtrl : public QWidget {
    Q_OBJECT
public:
    explicit TovoRaumverwCtrl(QWidget* parent = nullptr);
    ~TovoRaumverwCtrl() override;

    // --- host interface ---
    bool bNeuerAntrag = false;
    QString ConnTyp() const { return mstConnTyp; }
    void SetConnTyp(const QString& connTyp) { mstConnTyp = connTyp; }
    bool OpenDb(const QString& stExeDriveDir, const QString& stProjektDriveDir,
                const QString& stConnStr, std::shared_ptr<CTovoRecht> oRecht,
                const QVariant& vOptions = {}, const QVariant& vReadOnly = {},
                const QVariant& vConnect = {});
    void CloseDb();
    void Data2Ctrl();

    // Property persistence of the host ("Enabled", default true).
    void ReadProperties(const QVariantMap& bag);
    void WriteProperties(QVariantMap& bag) const;

    // The three menus the host puts into its menu bar.
    QMenu* mnuBearbeitenMenu() const { return m_mnuBearbeitenMenu; }
    QMenu* mnuReportMenu() const { return m_mnuReportMenu; }
    QMenu* mnuAnsichtMenu() const { return m_mnuAnsichtMenu; }

    QString UFT8_To_ASCII(const QString& text) const;
    void ReadArchivzeit();

    // --- state read by tests and the other parts of the control ---
    QString ProjektDir() const { return mstProjektDir; }
    QString ExeDir() const { return mstExeDir; }
    QString Client() const { return mstClient; }
    QString RaumNrFormat() const { return mstRaumNrFormat; }
    bool Unicode() const { return mbUnicode; }
    int Zeitbereich() const { return miZeitbereich; }
    CStammdatenDb* StammdatenDb() const { return moStammdatenDb.get(); }
    // True when the project database is opened for reading only, because this user may not
    // change it; the note for the host's status line says so ("" otherwise).
    bool DbSchreibgeschuetzt() const { return mbDbSchreibgeschuetzt; }
    QString StatushinweisText() const { return mstStatushinweis; }
    static bool IstSchreibgeschuetzt(const QString& dbPath);

    // --- views ---
    void ChangeAnsicht(int iAnsicht);
    void SetVisuality(bool bGrafisch);
    void SetzeAnsichtNeu();
    // Reads the bookings around the main plan's period again when it was moved beyond those
    // read by the last rebuild.
    void LadeZeitfenster();
    // After a form or a move in the plan: reads again what is shown, if anybody wrote since it
    // was read or `auchUnveraendert` (the overview strip follows in the background). The rooms
    // stay as they are.
    void AenderungenZeigen(bool auchUnveraendert = false);
    // True while the overview strip is still being read.
    bool StreifenLaedt() const;
    // Fills the table for one day, given as SQL date text m/d/yyyy.
    void FillGrid(const QString& datum);
    // Sort rule of the two time columns: -1, 0 or 1; text that is no time counts as midnight.
    static int fgMain_Compare(const QString& cell1, const QString& cell2);
    // The current view: 0 graphical, 1 table, 2 graphical with room information.
    int AktuelleAnsicht() const;

    // --- navigation ---
    // Every view moves to the day: the graphical ones start there, the table shows it.
    void ZeigeTag(double tag);
    void coRaumart_Click();
    void btDatL_Click();
    void btDatR_Click();
    void edAktDatum_Change();
    void edStartDatum_Change();
    void opZeitraum_Click(int index);
    void btZeit_Click(int index);
    void pbDatum_Click(int index);
    void mvDatum_DateClick(const QDate& date);
    void VInScroll_Change();
    void TovoZeitPlan_ChangeAnzeige(TovoZeitPlan* source, double datum, int32_t zeitbereich);
    void TovoZeitPlan_ResizeControl();
    void fgMain_HeaderClick(int column);

    // --- bookings from the plan and the table ---
    void TovoZeitPlan_SelectAntrag(int32_t lId);
    void fgMain_DblClick();
    void TovoZeitPlan_FreeSelected(double datum, int32_t lRaumId);
    void TovoZeitPlan_MoveAntrag(int32_t lId, const QString& raumId);
    // A bar dragged in time (or its end): the booking's room, start and end afterwards. Every
    // move goes through the write path; a date of a series asks whether the whole series moves,
    // another room type asks first, a refused move is named in the status line and snaps back.
    void TovoZeitPlan_VerschiebeAntrag(int32_t lId, int32_t raumId, double beginn, double ende);
    // Delete key or the bar's menu: the booking, after the usual question.
    void TovoZeitPlan_LoescheAntrag(int32_t lId);
    // "&Rückgängig" (Ctrl+Z): the last move made by dragging goes back, through the write path;
    // when its old place was taken meanwhile the user is told and it stays undoable.
    void Rueckgaengig();
    bool KannRueckgaengig() const { return !m_rueckgaengig.isEmpty(); }
    void NeuerAntrag();
    void mnuBearbeitenMenu_Click();
    void mnuBearbeiten_Click(int index);
    // Master data and archiving from the editing menu.
    void Raumarten();
    void Raumdaten();
    void Mitarbeiter();
    // "Stammdaten": the building structure and the companies with their persons.
    void Gebaeudestruktur();
    void FirmenUndPersonen();
    void Archivieren();
    void Wiederherstellen();
    // Stores the archive date (the day before when one is stored already) and shows it;
    // iModus is 0 after archiving, 1 after restoring.
    void AktualisiereArchivDatum(double datArchiv, int iModus);
    // False, with a hint where rooms are entered, while the project has no room.
    bool RaeumeVorhanden();

    // --- reports ("Aus&wertungen", CtrlBerichte.cpp) ---
    // Asks for the period of the entry, prepares the print table and shows the report.
    void mnuReport_Click(int index);
    // The period dialog of a report entry; false when the user cancelled it.
    bool BerichtZeitraumWaehlen(int index, BerichtZeitraum& zeitraum);

    // --- toolbar and view menu ---
    void MainToolbar_ButtonClick(const QString& key);
    void MainToolbar_ButtonMenuClick(const QString& key);
    void mnuAnsicht_Click(int index);

    // Read-only access: no new booking from the toolbar, the menu or a free slot, no dragging.
    void SetzeNurLesen(bool nurLesen);
    bool NurLesen() const { return mbNurLesen; }

    // "Konflikte anzeigen": the list of overlapping bookings of the shown period; a double
    // click shows the chosen pair in the plan.
    void mnuKonflikte_Click();
    // Shows the day view around the moment `datum` and scrolls the room's row into view.
    void ZeigeInPlan(double datum, int64_t raumId);

    // --- portal ---
    // Publishes to the portal; reports its own errors.
    void UpdateSQLNetzpult();
    // The user's command: refuses a portal kind other than 1.
    void UpdateNetzpult();
    // Every second while a project is open: publishes once after a reservation was saved.
    void UpdateTimer_Timer();
    // "e&xterne Anträge": the portal's requests.
    void ExterneAntraege();
    QTimer* UpdateTimer = nullptr;

Q_SIGNALS:
    void ExitModule();
    // A note for the host's status line; "" clears it.
    void Statushinweis(const QString& text);
    // A short note for the host's status line, shown for `dauerMs` milliseconds (0 = until the
    // next note).
    void Statusmeldung(const QString& text, int dauerMs);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UserControl_Initialize();
    void UserControl_Terminate();
    void BuildWidgets();
    void BuildToolbar();
    void BuildMenus();
    QString DateFieldFormat(bool longYear) const;
    void ConnectHandlers();
    void ConnectAntragHandlers();
    void ConnectReportHandlers();
    void ConnectNetzpultHandlers();
    // Opens booking `lId` in the reservation form, or its whole order when the user asks for it.
    void OeffneBelegung(int32_t lId);
    // Start and end fields and their weekday labels from the first time plan.
    void FillDateFields();
    // A date typed into the field and confirmed: shown, or refused with a message naming the
    // field while the plan stays.
    void DatumEingegeben(QLineEdit* feld, const QString& name);
    static QString WeekdayMonthText(double date);
    int32_t SelectedRaumartId() const;
    void SortGrid(int column);
    // Tells the host's status line which booking keeps a dragged bar out of its place.
    void MeldeBelegungImWeg(const SchreibPfad::Ergebnis& e);
    void ConnectVerschiebenHandlers();
    // Moves the booking (asking about a series and another room type); true when moved.
    bool Verlege(int32_t lId, int32_t raumId, double beginn, double ende);
    // The first day the plan or the table shows; where the day reports' pickers start.
    double AngezeigterTag() const;
    // The main plan's bookings around its period; the overview strip's in the background.
    void ReadHauptplan(const ZeitPlanRaumListe& raeume);
    // The strip is read once the main plan is on the screen, so that the first paint waits
    // for nothing but the main plan's own bookings.
    void ReadStreifen();
    void StarteStreifen();

public:
    // Controls, named as the module's forms name them.
    QToolBar* MainToolbar = nullptr;
    QMap<QString, QAction*> MainToolbarButtons; // by key: New, Anzeige, Intranet, Aktuell, Standard
    QMap<QString, QAction*> AnzeigeButtonMenus; // Graf, GrafInfo, Tab
    QMap<int, QAction*> mnuBearbeiten;
    QMap<int, QAction*> mnuReport;
    QMap<int, QAction*> mnuAnsicht;
    QScrollArea* FramePict = nullptr;
    QWidget* CtrlPict = nullptr;
    QWidget* ZeitPic = nullptr;
    TovoZeitPlan* TovoZeitPlan1 = nullptr;
    TovoZeitPlan* TovoZeitPlan2 = nullptr;
    QScrollBar* VInScroll = nullptr;
    QTableWidget* fgMain = nullptr;
    QComboBox* coRaumart = nullptr;
    QGroupBox* frZeitraum = nullptr;
    QRadioButton* opZeitraum[4] = {};
    QButtonGroup* opZeitraumGroup = nullptr;
    QPushButton* btZeit[4] = {};
    QPushButton* btDatL = nullptr;
    QPushButton* btDatR = nullptr;
    QToolButton* pbDatum[2] = {};
    QLineEdit* edAktDatum = nullptr;
    QLineEdit* edStartDatum = nullptr;
    QLineEdit* edEndDatum = nullptr;
    QLabel* llVon = nullptr;
    QLabel* llBis = nullptr;
    QLabel* llBisText = nullptr;
    QLabel* llArchiv = nullptr;
    QCalendarWidget* mvDatum = nullptr;

private:
    QMenu* m_mnuBearbeitenMenu = nullptr;
    QMenu* m_mnuReportMenu = nullptr;
    QMenu* m_mnuAnsichtMenu = nullptr;

    QString mstProjektDir;
    QString mstExeDir;
    QString mstClient;
    QString mstRaumNrFormat;
    int miZeitbereich = 2;
    QString mstConnTyp = QStringLiteral("ptJet");
    std::unique_ptr<CGebDb> moGebDb;
    std::unique_ptr<CRaumNrFormat> moRaumNrFormat;
    std::unique_ptr<CStammdatenDb> moStammdatenDb;
    std::unique_ptr<class CRvDb> m_rvDb;
    bool mbUnicode = false;
    bool mbNurLesen = false;
    QString mstStatushinweis;
    bool mbDbSchreibgeschuetzt = false;
    bool m_rebuilding = false;
    ViewQueries::Zeitfenster m_fenster; // the days whose bookings the main plan holds
    int32_t m_fensterRaumart = 0;
    Dialekt::Stand m_gelesen{-1, -1}; // the state of the data when the plans were read
    StreifenLesen* m_streifen = nullptr;
    bool m_streifenFaellig = false; // the strip waits for the main plan's next paint
    bool m_rebuildAgain = false;
    bool m_terminated = false;
    QVector<QVector<SchreibPfad::Verlegung>> m_rueckgaengig; // where dragged bookings were
};
