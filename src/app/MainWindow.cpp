#include "MainWindow.h"

#include "TovoRaumverwCtrl.h"
#include "TovoRecht.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    m_ctrl = new TovoRaumverwCtrl(this);
    m_ctrl->setObjectName(QStringLiteral("TovoRaumverwCtrl"));
    setCentralWidget(m_ctrl);

    QSettings settings;
    m_ctrl->ReadProperties(settings.value(QStringLiteral("Steuerelement")).toMap());
    m_ctrl->SetConnTyp(QStringLiteral("ptJet"));

    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->addAction(QStringLiteral("&Beenden"), QKeySequence::Quit, this, &QWidget::close);
    menuBar()->addMenu(m_ctrl->mnuBearbeitenMenu());
    menuBar()->addMenu(m_ctrl->mnuReportMenu());
    menuBar()->addMenu(m_ctrl->mnuAnsichtMenu());
    connect(m_ctrl, &TovoRaumverwCtrl::ExitModule, this, &QWidget::close);
    // The control's notes (a write-protected database) stay in the status line.
    auto* hinweis = new QLabel(this);
    statusBar()->addWidget(hinweis, 1);
    connect(m_ctrl, &TovoRaumverwCtrl::Statushinweis, hinweis, &QLabel::setText);

    resize(1280, 760);
}

MainWindow::~MainWindow() {
    shutDown();
}

bool MainWindow::openProject(const QString& exeDir, const QString& projectDir,
                             std::shared_ptr<CTovoRecht> recht) {
    if (!m_ctrl->OpenDb(exeDir, projectDir, QString(), std::move(recht)))
        return false;
    m_open = true;
    setWindowTitle(
        QStringLiteral("Tovo Raumverwaltung – %1").arg(QDir::toNativeSeparators(projectDir)));
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
