#include "MainWindow.h"

#include "TovoRaumverwCtrl.h"
#include "TovoRecht.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <algorithm>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    m_ctrl = new TovoRaumverwCtrl(this);
    m_ctrl->setObjectName(QStringLiteral("TovoRaumverwCtrl"));
    setCentralWidget(m_ctrl);

    QSettings settings;
    m_ctrl->ReadProperties(settings.value(QStringLiteral("Steuerelement")).toMap());
    m_ctrl->SetConnTyp(QStringLiteral("ptJet"));

    // Alt+D belongs to the control's "&Darstellung"; the host's own menu takes Alt+T.
    QMenu* datei = menuBar()->addMenu(QStringLiteral("Da&tei"));
    datei->addAction(QStringLiteral("&Beenden"), QKeySequence::Quit, this, &QWidget::close);
    menuBar()->addMenu(m_ctrl->mnuBearbeitenMenu());
    menuBar()->addMenu(m_ctrl->mnuReportMenu());
    menuBar()->addMenu(m_ctrl->mnuAnsichtMenu());
    connect(m_ctrl, &TovoRaumverwCtrl::ExitModule, this, &QWidget::close);
    // The control's notes (a write-protected database) stay in the status line.
    auto* hinweis = new QLabel(this);
    statusBar()->addWidget(hinweis, 1);
    connect(m_ctrl, &TovoRaumverwCtrl::Statushinweis, hinweis, &QLabel::setText);
    connect(m_ctrl, &TovoRaumverwCtrl::Statusmeldung, this,
            [this](const QString& text, int dauerMs) { statusBar()->showMessage(text, dauerMs); });
    statusBar()->setObjectName(QStringLiteral("statusBar"));

    // Room for the window frame and a task bar on small screens.
    const QRect platz = screen() ? screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    resize(std::min(1280, platz.width() - 16), std::min(760, platz.height() - 48));
}

MainWindow::~MainWindow() {
    shutDown();
}

bool MainWindow::openProject(const QString& exeDir, const QString& projectDir,
                             std::shared_ptr<CTovoRecht> recht) {
    const bool nurLesen = recht && recht->Zugriff() == QLatin1String("L");
    if (!m_ctrl->OpenDb(exeDir, projectDir, QString(), std::move(recht)))
        return false;
    m_open = true;
    QString name = QDir(projectDir).dirName();
    if (name.isEmpty())
        name = QDir::toNativeSeparators(projectDir);
    setWindowTitle(name + (nurLesen ? QStringLiteral(" (nur lesen)") : QString()) +
                   QStringLiteral(" – Tovo Raumverwaltung"));
    if (nurLesen) {
        auto* hinweis = new QLabel(QStringLiteral("nur lesen – keine Änderungen möglich"));
        hinweis->setObjectName(QStringLiteral("lbNurLesen"));
        statusBar()->addPermanentWidget(hinweis);
    }
    statusBar()->setToolTip(QDir::toNativeSeparators(projectDir));
    m_ctrl->Data2Ctrl();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutDown();
    event->accept();
}

void MainWindow::shutDown() {
    if (!m_open)
        return;
    m_open = false;
    QVariantMap bag;
    m_ctrl->WriteProperties(bag);
    QSettings().setValue(QStringLiteral("Steuerelement"), bag);
    m_ctrl->CloseDb();
}
