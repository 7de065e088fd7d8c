// The backup and restore windows on a real desktop: the progress bar reaches its end and is
// gone before the result is told, and the window keeps its size through the work.
#include "backup/forms/ExdForm.h"
#include "x11/x11_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

// Answers Yes and, when the result is told, notes what the window showed at that moment
// after a message box's while of events.
class WatchingPrompter : public platform::ScriptedPrompter {
public:
    std::function<void()> onInformation;
    void information(const QString &text) override
    {
        QTest::qWait(200);
        if (onInformation)
            onInformation();
        ScriptedPrompter::information(text);
    }
};

struct Seen {
    bool barVisible = true;
    int barValue = -1;
    QSize frame;
};

using BackupWindow = rur::testing::OpenedDataSet;

TEST_F(BackupWindow, TheBarEndsAndGoesBeforeTheMessageAndTheWindowKeepsItsSize)
{
    WatchingPrompter watching;
    backup::ArchiveWindowContext archive{form->dataModule(), form->directories(), watching};
    const QString path = tmp.path() + u"/zalohy/D1.zip"_s;
    const auto run = [&](backup::TArchiveForm &w, const QString &button, const QString &done) {
        SCOPED_TRACE(button.toStdString());
        w.pathList()->setEditText(path);
        rur::testing::showFramed(w);
        const QSize before = w.frameGeometry().size();
        Seen atMessage;
        QSize largest = before;
        QObject::connect(w.progressBar(), &QProgressBar::valueChanged, &w,
                         [&] { largest = largest.expandedTo(w.frameGeometry().size()); });
        watching.onInformation = [&] {
            atMessage = {w.progressBar()->isVisible(), w.progressBar()->value(), w.frameGeometry().size()};
        };
        w.button(button)->click();
        ASSERT_EQ(watching.texts().last(), done);
        EXPECT_FALSE(atMessage.barVisible);
        EXPECT_EQ(atMessage.barValue, w.progressBar()->maximum());
        EXPECT_EQ(atMessage.frame, before);
        EXPECT_EQ(largest, before);
        QTest::qWait(300);
        EXPECT_EQ(w.frameGeometry().size(), before);
        w.reject();
    };
    {
        backup::TExdForm w(archive);
        run(w, u"ZalohovatButton"_s, u"Data byla zazálohována."_s);
    }
    {
        backup::TExd1Form w(archive);
        run(w, u"ObnovitButton"_s, u"Data byla obnovena."_s);
    }
}

}  // namespace
