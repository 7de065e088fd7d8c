#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rur::platform {

// Questions and messages of the program. Windows get the Qt implementation; tests and the
// command-line program get a scripted one.
class Prompter {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~Prompter() = default;
    virtual void information(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    virtual bool confirm(const QString &text) = 0;  // Yes/No; true for Yes
    virtual Answer confirmWithCancel(const QString &text) = 0;
    // Asks for one line of text (masked for passwords); false when the user cancels.
    virtual bool askText(const QString &caption, const QString &label, QString *text, bool masked) = 0;
    // Asks where to save a file, starting at `suggested`; filter as "PDF (*.pdf)". Empty when
    // the user cancels.
    virtual QString saveFileName(const QString &caption, const QString &suggested, const QString &filter) = 0;
    // The hourglass cursor of long procedures; windows show it, scripts ignore it.
    virtual void setBusy(bool busy) { Q_UNUSED(busy); }
};

// Shows the hourglass for a scope and restores the cursor in every outcome.
class BusyGuard {
public:
    explicit BusyGuard(Prompter &prompter) : prompter_(prompter) { prompter_.setBusy(true); }
    ~BusyGuard() { prompter_.setBusy(false); }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

private:
    Prompter &prompter_;
};

// Records every message and answers questions from a script (default: Yes).
class ScriptedPrompter : public Prompter {
public:
    struct Message {
        enum Kind { Information, Error, Question } kind;
        QString text;
    };

    void information(const QString &text) override { messages.append({Message::Information, text}); }
    void error(const QString &text) override { messages.append({Message::Error, text}); }
    bool confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    bool askText(const QString &caption, const QString &label, QString *text, bool masked) override;
    QString saveFileName(const QString &caption, const QString &suggested, const QString &filter) override;

    QList<Answer> answers;  // taken from the front; Yes when empty
    QStringList textAnswers;  // taken from the front; a cancelled prompt when empty
    QStringList fileAnswers;  // taken from the front; a cancelled file dialog when empty
    QStringList suggestedFiles;  // what each file question proposed
    QList<Message> messages;

    QStringList errors() const;
    QStringList texts() const;
};

}  // namespace rur::platform
