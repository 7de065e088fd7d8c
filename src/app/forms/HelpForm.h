#pragma once

#include <QWidget>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace rur::app {

class HelpTopics;

// The help window: contents ("Obsah") and index ("Rejstřík") beside the page. Links between
// pages stay in the window; addresses outside the help go to the system's handler. Child
// widgets carry object names (tabs, contents, search, index, browser, back) for tests.
class THelpForm : public QWidget {
    Q_OBJECT

public:
    // The topics must outlive the window.
    explicit THelpForm(const HelpTopics &topics, QWidget *parent = nullptr);

    // Shows the topic of a context number; an unknown number shows the default topic.
    void showContext(int context);
    // Opens the index at the keyword: the best matching entry is selected and its topic
    // shown; without a match the text stays in the search box and the page is kept.
    void showKeyword(const QString &keyword);

    // Context number of the topic shown, 0 before the first one.
    int currentContext() const { return current_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void display(int context, bool remember);
    void goBack();
    void openLink(const QUrl &url);
    // Selects the best index entry for the typed text without leaving the search box.
    bool selectKeyword(const QString &text);
    void showSelectedKeyword();

    const HelpTopics &topics_;
    QTabWidget *tabs_ = nullptr;
    QListWidget *contents_ = nullptr;
    QLineEdit *search_ = nullptr;
    QListWidget *index_ = nullptr;
    QTextBrowser *browser_ = nullptr;
    QPushButton *back_ = nullptr;
    std::vector<int> history_;
    int current_ = 0;
};

}  // namespace rur::app
