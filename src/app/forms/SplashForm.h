#pragma once

#include <QWidget>

namespace rur::app {

// The start-up window: borderless, centred on the primary screen, a painted picture of the
// return form under the program's name. While it is visible the whole application shows the
// wait cursor; hiding or destroying the window restores the cursor.
class TSplashForm : public QWidget {
    Q_OBJECT

public:
    explicit TSplashForm(QWidget *parent = nullptr);
    ~TSplashForm() override;

    // Shows the window and paints it at once, so that it is on screen before the start-up
    // work that follows blocks the event loop.
    void showAndRepaint();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void centreOnScreen();
    void restoreCursor();

    bool cursorOverridden_ = false;
};

}  // namespace rur::app
