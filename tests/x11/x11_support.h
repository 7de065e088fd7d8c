#pragma once

// Helpers of the window-system tests: windows shown with the frame of a real window manager,
// and what that manager shows of them.

#include "app/forms/MainForm.h"
#include "platform/Prompter.h"
#include "vat/forms/WindowContext.h"

#include <QDir>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class QWidget;

namespace rur::testing {

// The main window of a fresh data root with one new data set, "Firma", open in it, as the
// program shows it after "Nové".
class OpenedDataSet : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // What the windows of the data set are built with.
    vat::WindowContext ctx();

    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<app::TMainForm> form;
    const QString savedCwd = QDir::currentPath();
};

// Shown, framed by the window manager, active and settled (a window whose word-wrapped
// labels widen it after it is shown is pulled back inside the screen 150 ms after showing).
// Fails the test when the window does not get its frame.
void showFramed(QWidget &window);

// The frame the window manager drew around the window (_NET_FRAME_EXTENTS; none before it
// framed the window), and the window with it. Qt's frameGeometry() lags behind at times.
QMargins frameExtents(const QWidget &window);
QRect frameRect(const QWidget &window);

// The title the window manager got: _NET_WM_NAME of the window, read with xprop.
QString wmTitle(const QWidget &window);

// The window's title bar as the screen shows it: the part of the frame above the window.
QImage titleBar(const QWidget &window);

// Whether the title bar shows the whole title: the title as the window manager draws it on a
// wide window with the same title is found, pixel for pixel, on this window's bar. `why`
// says what was missing.
bool titleShownWhole(QWidget &window, QString *why);

}  // namespace rur::testing
