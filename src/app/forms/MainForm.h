#pragma once

#include "app/MainMenu.h"
#include "app/Startup.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "ui/MainWindow.h"

#include <QHash>

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace rur::platform {
class Prompter;
}

namespace rur::datasets {
class Catalogue;
class TAuto1Form;
}  // namespace rur::datasets

namespace rur::app {

class HelpService;
class WorkArea;

// The main window: finds the directories when it is created, restores its geometry and the
// user settings, runs the first-activation block once, and writes the settings on close.
class TMainForm : public QMainWindow, public data::StatusDisplay, public ui::MainWindow {
    Q_OBJECT

public:
    // The environment the window starts in; tests give their own folders and screen.
    struct Environment {
        QString programDir;
        QString commonDataFolder;
        QString documentsFolder;
        QSize screen;
        // Whether the first activation asks what the user has not answered yet: local or
        // shared data, and the data of an earlier edition. The program does; tests that are
        // about other things leave it off.
        bool askAtFirstStart = false;
    };
    TMainForm(const Environment &environment, platform::Prompter &prompter, QWidget *parent = nullptr);
    ~TMainForm() override;

    static Environment systemEnvironment();

    const base::Directories &directories() const { return dirs_; }
    base::Directories &directories() override { return dirs_; }
    data::TDM1 &dataModule() override { return *dm_; }
    QWidget *widget() override { return this; }
    ui::HelpRequests *help() override;
    const base::UserSettings &userSettings() const { return settings_; }
    // The print centre chooses the font names and the encoding; they are written on close.
    base::UserSettings &userSettings() override { return settings_; }
    WindowGeometry currentGeometry() const;
    bool firstActivationDone() const { return activated_; }

    // Status bar panels 0 to 3 and the caption, as the data module sets them.
    void setStatusText(int panel, const QString &text) override;
    void setCaption(const QString &caption) override;
    QString statusText(int panel) const;

    // Runs once: network data root, template refresh, the data-set selection, or the
    // closing error without a data root.
    void FormActivate();

    // Shows the selection and opens the chosen data set; leaving the selection without a
    // choice returns to the data set that was open (or ends the program when none was).
    void VyberDanoveho();
    // Enables the data menus while a data set is open.
    void TypDp1() override;
    // Shows return window n (1 to 4) or the print centre on its return page (5).
    void Dpp1(int n) override;
    // Windows of the program register what their commands open; a command without a
    // window stays disabled.
    void setCommandHandler(Command command, std::function<void()> handler) override;
    void setReturnWindowOpener(int n, std::function<void()> opener) override;
    QAction *commandAction(Command command) const override { return actions_.value(command); }
    QMenu *menuNamed(const QString &caption) const;
    QList<QAction *> toolBarActions() const { return toolActions_; }
    datasets::Catalogue *catalogue() const { return catalogue_.get(); }
    datasets::TAuto1Form *selectionForm() const { return selection_; }
    // How the selection is shown; tests replace it. Returns a TAuto1Form result.
    std::function<int()> selectionRunner;
    // "Výběr práce s daty" and the check for earlier editions, as their windows register them.
    std::function<void()> dataChoiceRunner;
    std::function<void()> conversionCheck;
    // After the data root was chosen again: the catalogue follows it, and a data set of
    // another data root is closed.
    void reconnectDataRoot(bool rootChanged);
    bool dataSetOpen() const;
    // "Nové RUR" of the working area: the window of the selection that creates a data set,
    // which is then opened.
    void NoveRur();

    // The working area, refreshed after every command, after a data set is opened or closed
    // and after a procedure: once the events of the moment are done and no modal window is
    // open (refreshWorkArea does it at once).
    WorkArea *workArea() const { return workArea_; }
    void refreshWorkArea();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Closes the open data set and opens the given one, telling the user when it fails.
    void openChosen(const QString &directory);
    void FormCreate(const Environment &environment);
    void buildMenu();
    void registerProcedures();
    void runDataSetProcedure(const std::function<bool()> &procedure);
    void connectCommand(QAction *action, Command command);
    void runCommand(Command command);
    void scheduleWorkAreaRefresh(int delay = 0);

    platform::Prompter &prompter_;
    base::Directories dirs_;
    base::UserSettings settings_;
    WindowGeometry geometry_;
    std::unique_ptr<data::TDM1> dm_;
    HelpService *help_ = nullptr;
    QList<QLabel *> panels_;
    bool activated_ = false;
    bool askAtFirstStart_ = false;
    std::unique_ptr<datasets::Catalogue> catalogue_;
    datasets::TAuto1Form *selection_ = nullptr;
    QHash<Command, QAction *> actions_;
    QHash<Command, std::function<void()>> handlers_;
    QHash<int, std::function<void()>> returnWindows_;
    QList<QMenu *> dataMenus_;
    QList<QAction *> toolActions_;
    WorkArea *workArea_ = nullptr;
    bool refreshPending_ = false;
};

}  // namespace rur::app
