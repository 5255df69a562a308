#pragma once

#include <QMainWindow>
#include <memory>

class CTovoRecht;
class TovoRaumverwCtrl;

// The host window: embeds the control, shows its menus, and follows its life cycle.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // OpenDb, then Data2Ctrl when it succeeded.
    bool openProject(const QString& exeDir, const QString& projectDir,
                     std::shared_ptr<CTovoRecht> recht);
    TovoRaumverwCtrl* control() const { return m_ctrl; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void shutDown();
    TovoRaumverwCtrl* m_ctrl = nullptr;
    bool m_open = false;
};
