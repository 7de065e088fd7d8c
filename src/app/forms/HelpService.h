#pragma once

#include "app/HelpTopics.h"
#include "ui/HelpRequests.h"

#include <QObject>
#include <QPointer>

namespace rur::app {

class THelpForm;

// Answers the help requests of the program's windows. The application owns one instance and
// hands it to the windows that have F1; it keeps a single help window, created on the first
// request, hidden (not destroyed) when the user closes it, and destroyed by quit() or with
// the service.
class HelpService : public QObject, public ui::HelpRequests {
    Q_OBJECT

public:
    // Topics from the help installed with the program, else from the copy compiled into it.
    explicit HelpService(QObject *parent = nullptr);
    // Topics from a folder holding topics.ini (tests, a help folder next to the program).
    explicit HelpService(const QString &root, QObject *parent = nullptr);
    ~HelpService() override;

    // Context request; a pop-up request shows its topic in the same window.
    void showContext(int context, bool popup = false) override;
    // Keyword request: the index opened at the keyword.
    void showKeyword(const QString &keyword);
    // Any other request.
    void showDefault();
    // Closes every help window; the main window sends it when it is destroyed.
    void quit();

    // From now on F1 in any window of the application opens that window's topic (its help
    // context from windowHelpContexts()); the main window turns this on for the whole run.
    void answerF1Everywhere();
    // The context F1 opens in a window: on a menu, that of its highlighted item when the item
    // carries the property kActionContext; else the listed context of the widget or of the
    // nearest widget or window it belongs to; 0 when none is listed.
    static int contextFor(const QWidget *widget);
    static constexpr char kActionContext[] = "helpContext";

    const HelpTopics &topics() const { return topics_; }
    // The help window, or null when none exists.
    THelpForm *window() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    THelpForm &openWindow();

    HelpTopics topics_;
    QPointer<THelpForm> window_;
};

}  // namespace rur::app
