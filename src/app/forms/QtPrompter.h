#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace rur::app {

// Questions and messages in modal message boxes with Czech buttons.
class QtPrompter : public platform::Prompter {
public:
    explicit QtPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    void setBusy(bool busy) override;
    bool askText(const QString &caption, const QString &label, QString *text, bool masked) override;
    QString saveFileName(const QString &caption, const QString &suggested, const QString &filter) override;

private:
    QWidget *parent_;
};

}  // namespace rur::app
