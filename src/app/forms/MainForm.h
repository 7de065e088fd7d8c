#pragma once

#include "app/Directories.h"
#include "app/Startup.h"
#include "data/DataM1.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;

namespace rur::platform {
class Prompter;
}

namespace rur::app {

class HelpService;

// The main window: finds the directories when it is created, restores its geometry and the
// user settings, runs the first-activation block once, and writes the settings on close.
class TMainForm : public QMainWindow, public data::StatusDisplay {
    Q_OBJECT

public:
    // The environment the window starts in; tests give their own folders and screen.
    struct Environment {
        QString programDir;
        QString commonDataFolder;
        QString documentsFolder;
        QSize screen;
    };
    TMainForm(const Environment &environment, platform::Prompter &prompter, QWidget *parent = nullptr);
    ~TMainForm() override;

    static Environment systemEnvironment();

    const Directories &directories() const { return dirs_; }
    Directories &directories() { return dirs_; }
    data::TDM1 &dataModule() { return *dm_; }
    const UserSettings &userSettings() const { return settings_; }
    WindowGeometry currentGeometry() const;
    bool firstActivationDone() const { return activated_; }

    // Status bar panels 0 to 3 and the caption, as the data module sets them.
    void setStatusText(int panel, const QString &text) override;
    void setCaption(const QString &caption) override;
    QString statusText(int panel) const;

    // Runs once: network data root, template refresh, the closing error without a data root.
    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void FormCreate(const Environment &environment);
    void buildMenu();

    platform::Prompter &prompter_;
    Directories dirs_;
    UserSettings settings_;
    WindowGeometry geometry_;
    std::unique_ptr<data::TDM1> dm_;
    HelpService *help_ = nullptr;
    QList<QLabel *> panels_;
    bool activated_ = false;
};

}  // namespace rur::app
