// Life cycle of the occupancy control: opening a project, the first fill, closing.
#include "TovoRaumverwCtrl.h"

#include "Allg_Hilfsfkt.h"
#include "CRvDb.h"
#include "ErrorGuard.h"
#include "GebDb.h"
#include "ListControlAdapter.h"
#include "Prompt.h"
#include "RaumNrFormat.h"
#include "RvGlobals.h"
#include "SqlConnection.h"
#include "StammdatenDb.h"
#include "StreifenLesen.h"
#include "ToolsNetzpult.h"
#include "TovoDate.h"
#include "TovoRecht.h"
#include "TovoRes.h"
#include "TovoTools.h"
#include "TovoZeitPlan.h"
#include "UpdateNetzpult.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTimer>

namespace {
const QString kAppTitle = QStringLiteral("Tovo");

// Shows the wait cursor for the lifetime of the object.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

bool ToBoolean(const QString& text, bool& ok) {
    const QString t = text.trimmed();
    ok = true;
    if (t.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("WAHR"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("FALSCH"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    double v = t.toDouble(&isNumber);
    if (isNumber)
        return v != 0.0;
    ok = false;
    return false;
}
} // namespace

TovoRaumverwCtrl::TovoRaumverwCtrl(QWidget* parent) : QWidget(parent) {
    BuildWidgets();
    UserControl_Initialize();
}

TovoRaumverwCtrl::~TovoRaumverwCtrl() {
    UserControl_Terminate();
    CloseDb();
}

void TovoRaumverwCtrl::UserControl_Initialize() {
    RunGuarded(QStringLiteral("TovoRaumverwErfMainCtrl.UserControl_Initialize"), [&] {
        if (!gRes) {
            gRes = new CTovoRes;
            gRes->LoadLibrary(QStringLiteral("TovoRes.dll"));
        }
        const TovoDate today = TovoDate::today();
        edAktDatum->setText(today.format(DateFieldFormat(false)));
        llBis->setText(TovoDate::weekdayName(today.weekdayMondayFirst()) + QLatin1Char('(') +
                       TovoDate::monthName(today.month()) + QLatin1Char(')'));
        TovoZeitPlan1->SetAnzeigedatum(today);
        TovoZeitPlan2->SetAnzeigedatum(today);
    });
}

void TovoRaumverwCtrl::UserControl_Terminate() {
    if (m_terminated)
        return;
    m_terminated = true;
    RunGuarded(QStringLiteral("TovoRaumverwErfMainCtrl.UserControl_Terminate"), [&] {
        WaitCursor wait;
        // A project that was opened publishes what changed once more when the module goes.
        if (mstProjektDir.isEmpty() || ToolsNetzpult::GetWebMDB().isEmpty())
            return;
        if (Netzpult::UpdateNetzpult(this, Netzpult::Umfang::Aenderungen))
            MsgBox(QString::fromUtf8(Netzpult::kAktualisiert), PromptButtons::Ok, PromptIcon::None,
                   kAppTitle);
    });
}

void TovoRaumverwCtrl::ReadProperties(const QVariantMap& bag) {
    RunGuarded(QStringLiteral("TovoRaumverwErfMainCtrl.UserControl_ReadProperties"),
               [&] { setEnabled(bag.value(QStringLiteral("Enabled"), true).toBool()); });
}

void TovoRaumverwCtrl::WriteProperties(QVariantMap& bag) const {
    RunGuarded(QStringLiteral("TovoRaumverwErfMainCtrl.UserControl_WriteProperties"),
               [&] { bag.insert(QStringLiteral("Enabled"), isEnabled()); });
}

QString TovoRaumverwCtrl::DateFieldFormat(bool longYear) const {
    QString fmt = gRes ? gRes->GetString(CTovoRes::kDateFormat) : QString();
    if (!fmt.isEmpty())
        return fmt;
    return longYear ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("dd.MM.yy");
}

bool TovoRaumverwCtrl::OpenDb(const QString& stExeDriveDir, const QString& stProjektDriveDir,
                              const QString& stConnStr, std::shared_ptr<CTovoRecht> oRecht,
                              const QVariant&, const QVariant&, const QVariant&) {
    using namespace Allg_Hilfsfkt;
    bool result = false;
    RunGuarded(QStringLiteral("TovoRaumverwMainCtrl.OpenDb"), [&] {
        // Rights: without an object of the host, full access.
        if (!oRecht) {
            oRecht = std::make_shared<CTovoRecht>();
            oRecht->SetZugriff(QStringLiteral("S"));
        }
        goRecht = oRecht;
        if (goRecht->Zugriff() == QLatin1String("L"))
            MainToolbarButtons.value(QStringLiteral("Intranet"))->setEnabled(false);
        SetzeNurLesen(goRecht->Zugriff() == QLatin1String("L"));

        mstProjektDir = WithTrailingSeparator(stProjektDriveDir);
        mstExeDir = WithTrailingSeparator(stExeDriveDir);
        mstClient = mstProjektDir + kAppTitle;

        gstProjektDir = mstProjektDir;
        gstReportDir = mstProjektDir + QStringLiteral("Report/");
        gstDbPath = gstProjektDir + kDbFileName;
        const auto fehler = [&](const QString& text) {
            MsgBox(text + QLatin1Char('\n') + QStringLiteral("TovoRaumverwMainCtrl.OpenDb"),
                   PromptButtons::Ok, PromptIcon::Critical, kAppTitle);
        };
        QString error;
        if (!ReadDatenbankOrt(mstProjektDir, gDbOrt, &error)) {
            fehler(error);
            return;
        }

        mbDbSchreibgeschuetzt = false;
        if (!gDbOrt.aufServer()) {
            // A new project receives the empty template database; failures show up when
            // opening.
            if (!QFile::exists(gstDbPath)) {
                const QString templ = mstExeDir + QStringLiteral("Leeres Projekt/") + kDbFileName;
                if (QFile::copy(templ, gstDbPath))
                    QFile::setPermissions(gstDbPath,
                                          QFile::permissions(gstDbPath) | QFile::WriteOwner);
            }
            if (QFileInfo(gstDbPath).isDir()) {
                fehler(QStringLiteral("Im Projektverzeichnis %1 gibt es einen Ordner namens %2. "
                                      "Dort wird die Datenbank des Projekts erwartet; bitte "
                                      "benennen Sie den Ordner um.")
                           .arg(QDir::toNativeSeparators(mstProjektDir), kDbFileName));
                return;
            }
            // A database this user may not change opens for reading only, as with reading
            // rights.
            mbDbSchreibgeschuetzt = QFileInfo::exists(gstDbPath) && IstSchreibgeschuetzt(gstDbPath);
        }
        if (mbDbSchreibgeschuetzt) {
            goRecht = std::make_shared<CTovoRecht>();
            goRecht->SetZugriff(QStringLiteral("L"));
            MainToolbarButtons.value(QStringLiteral("Intranet"))->setEnabled(false);
            SetzeNurLesen(true);
            mstStatushinweis = QStringLiteral("Die Datenbank %1 ist schreibgeschützt: Sie können "
                                              "Belegungen ansehen, aber nichts ändern.")
                                   .arg(QDir::toNativeSeparators(gstDbPath));
        } else {
            mstStatushinweis.clear();
        }
        Q_EMIT Statushinweis(mstStatushinweis);

        // The direct connection for the views and reports.
        CloseSqliteConnection(gDb);
        gDb = UniqueConnectionName(QStringLiteral("gDb"));
        if (!OeffneDatenbank(gDbOrt, gDb, mbDbSchreibgeschuetzt, &error)) {
            gDb.clear();
            fehler((gDbOrt.aufServer()
                        ? QStringLiteral("Die Datenbank auf dem Server konnte nicht geöffnet "
                                         "werden!")
                        : QStringLiteral("Die Datenbank %1 konnte nicht geöffnet werden!")
                              .arg(QDir::toNativeSeparators(gstDbPath))) +
                   QStringLiteral("\r\n") + error);
            return;
        }

        m_rvDb = std::make_unique<CRvDb>();
        gRvDb = m_rvDb.get();
        gRvDb->SetOpenOptions(false);
        gRvDb->SetOpenReadOnly(mbDbSchreibgeschuetzt);
        gRvDb->SetDatenbankOrt(gDbOrt);
        if (!gRvDb->OpenDb() || !gRvDb->IsValidDb()) {
            fehler(gRvDb->LastError());
            CloseDb();
            return;
        }

        moGebDb = std::make_unique<CGebDb>();
        if (mstConnTyp != QLatin1String("ptJet"))
            moGebDb->OpenConn(mstExeDir, mstClient, stConnStr, false);
        else
            moGebDb->OpenJet(mstExeDir, mstClient,
                             mstProjektDir + QStringLiteral("TovoGebaeude.mdb"));

        auto& tools = CTovoTools::Instance();
        const QString formatDefault =
            QFile::exists(mstProjektDir + QStringLiteral("TovoReinBrenko.mdb"))
                ? QStringLiteral("E.R")
                : QStringLiteral("S.G.BE.R");
        mstRaumNrFormat =
            tools.ReadIniValue(mstProjektDir + QStringLiteral("Gebaeudestruktur.ini"),
                               QStringLiteral("Rnr"), QStringLiteral("Format"), formatDefault);
        gstRaumNrFormat = mstRaumNrFormat;

        // A missing or unreadable flag switches UTF-8 handling off.
        bool ok = false;
        mbUnicode = ToBoolean(tools.ReadIniValue(gstProjektDir + QStringLiteral("Projekt.ini"),
                                                 QStringLiteral("Unicode"), QStringLiteral("UFT8"),
                                                 QStringLiteral("FALSE")),
                              ok);
        if (!ok)
            mbUnicode = false;

        moRaumNrFormat = std::make_unique<CRaumNrFormat>(moGebDb.get());
        moRaumNrFormat->SetAppPath(mstClient);
        moRaumNrFormat->Ask();
        if (!moRaumNrFormat->CheckFormat(mstRaumNrFormat)) {
            QApplication::restoreOverrideCursor();
            MsgBox(QStringLiteral("Das Raumnummern-Langformat muss aktualisiert werden.") +
                       QLatin1Char('\n') +
                       QStringLiteral("Öffnen Sie jetzt den Modul 'Gebäudestruktur', um die "
                                      "Raumnummern zu aktualisieren"),
                   PromptButtons::Ok, PromptIcon::None, kAppTitle);
            return;
        }

        moStammdatenDb = std::make_unique<CStammdatenDb>();
        if (mstConnTyp != QLatin1String("ptJet"))
            moStammdatenDb->OpenConn(mstExeDir, stConnStr, mstClient, false, goRecht.get());
        else
            moStammdatenDb->OpenJet(mstExeDir, mstClient,
                                    mstProjektDir + QStringLiteral("TovoStammdaten.mdb"),
                                    goRecht.get());

        if (ToolsNetzpult::GetWebMDB().isEmpty()) {
            mnuBearbeiten.value(31)->setEnabled(false);
            mnuBearbeiten.value(32)->setEnabled(false);
            MainToolbarButtons.value(QStringLiteral("Intranet"))->setEnabled(false);
        }
        ReadGlobalSettings();
        UpdateTimer->start();
        result = true;
    });
    return result;
}

bool TovoRaumverwCtrl::IstSchreibgeschuetzt(const QString& dbPath) {
    // The system refuses the user (access() for everyone but root), or nobody has the write
    // bit, which root's writes would ignore but which says the file is meant to stay as it is.
    // SQLite also writes its journal beside the file, so the folder must take new files.
    const QFileInfo file(dbPath);
    const QFileInfo folder(file.absolutePath());
    const auto schreibBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !file.isWritable() || !(file.permissions() & schreibBits) || !folder.isWritable();
}

void TovoRaumverwCtrl::Data2Ctrl() {
    RunGuarded(QStringLiteral("TovoRaumverwErfMainCtrl.Data2Ctrl"), [&] {
        const TovoDate today = TovoDate::today();
        TovoZeitPlan1->SetAnzeigedatum(today);
        TovoZeitPlan2->SetAnzeigedatum(today);
        miZeitbereich = 2;
        TovoZeitPlan1->SetZeitraum(2);
        TovoZeitPlan2->SetZeitraum(2);
        TovoZeitPlan1->SetStartbereich(2);
        TovoZeitPlan2->SetStartbereich(2);

        ComboBoxListControl list(coRaumart);
        {
            QSignalBlocker block(coRaumart);
            if (gRvDb)
                gRvDb->ReadAllRaumartRec2Ctrl(&list, true);
        }
        for (int i = 0; i < coRaumart->count(); ++i) {
            if (list.ItemData(i) == 0) {
                QSignalBlocker block(coRaumart);
                coRaumart->setCurrentIndex(i);
                break;
            }
        }
        coRaumart_Click();
        ReadArchivzeit();
    });
}

void TovoRaumverwCtrl::ReadArchivzeit() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.ReadArchivzeit"), [&] {
        const QString value = CTovoTools::Instance().ReadIniValue(
            gstProjektDir + kIniFileName, QStringLiteral("Archiv"), QStringLiteral("Datum"),
            QString());
        TovoDate d;
        if (TovoDate::parse(value, d))
            llArchiv->setText(QStringLiteral("Archivierung bis: ") + value);
        else
            llArchiv->setText(QStringLiteral("Archivierung bis: nicht archiviert"));
    });
}

void TovoRaumverwCtrl::CloseDb() {
    RunGuarded(QStringLiteral("TovoRaumverwErfMainCtrl.CloseDb"), [&] {
        UpdateTimer->stop();
        m_streifenFaellig = false;
        if (m_streifen)
            m_streifen->Abbrechen();
        if (gRvDb == m_rvDb.get())
            gRvDb = nullptr;
        m_rvDb.reset();
        m_fenster = {};
        CloseSqliteConnection(gDb);
        gDb.clear();
        moStammdatenDb.reset();
        moRaumNrFormat.reset();
        moGebDb.reset();
    });
}

QString TovoRaumverwCtrl::UFT8_To_ASCII(const QString& text) const {
    return ::UFT8_To_ASCII(text, mbUnicode);
}
