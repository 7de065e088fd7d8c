#pragma once

#include <QLineEdit>

namespace rur::ui {

// Single-line edit for unbound text (paths, search texts, numbering settings). With EnterTab
// on, Enter moves to the next control and Shift+Enter to the previous one, as Tab does; with
// it off, Enter reaches the window (its default button, its own key handling).
class TEditz : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool EnterTab READ enterTab WRITE setEnterTab)

public:
    explicit TEditz(QWidget *parent = nullptr);

    bool enterTab() const { return enterTab_; }
    void setEnterTab(bool enterTab) { enterTab_ = enterTab; }

protected:
    bool event(QEvent *event) override;

private:
    bool enterTab_ = true;
};

}  // namespace rur::ui
