// Qt's own dialogs and menus speak Czech on a real desktop: the file dialog, the print dialog
// and the context menu of an edit, with the texts of Qt's Czech translation.
#include "ui/forms/DBEditz.h"
#include "x11/x11_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The captions a dialog shows on its buttons, labels and groups, without the "&" of their
// keys.
QStringList captions(const QWidget &dialog)
{
    QStringList out;
    for (const QGroupBox *g : dialog.findChildren<QGroupBox *>())
        if (g->isVisible() && !g->title().isEmpty())
            out.append(QString(g->title()).remove(u'&'));
    for (const QAbstractButton *b : dialog.findChildren<QAbstractButton *>())
        if (b->isVisible() && !b->text().isEmpty())
            out.append(QString(b->text()).remove(u'&'));
    for (const QLabel *l : dialog.findChildren<QLabel *>())
        if (l->isVisible() && !l->text().isEmpty())
            out.append(QString(l->text()).remove(u'&'));
    return out;
}

void expectShown(const QStringList &shown, const QStringList &expected)
{
    for (const QString &text : expected)
        EXPECT_TRUE(shown.contains(text)) << text.toStdString() << " is not among: " << shown.join(u" | "_s).toStdString();
}

TEST(CzechDialogs, TheFileDialogIsCzech)
{
    // As the program opens its archives and catalogues.
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    rur::testing::showFramed(dialog);
    expectShown(captions(dialog), {u"Otevřít"_s, u"Zrušit"_s, u"Hledat v:"_s, u"Název souboru:"_s});
    dialog.reject();
}

TEST(CzechDialogs, ThePrintDialogIsCzech)
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    rur::testing::showFramed(dialog);
    expectShown(captions(dialog), {u"Tiskárna"_s, u"Název:"_s, u"Vlastnosti"_s, u"Nastavení >>"_s, u"Tisk"_s, u"Zrušit"_s});
    dialog.reject();
}

TEST(CzechDialogs, TheContextMenuOfAnEditIsCzech)
{
    QWidget window;
    auto *edit = new rur::ui::TDBEditz(&window);
    auto *plain = new QLineEdit(u"text"_s, &window);
    plain->move(0, 40);
    window.resize(300, 100);
    rur::testing::showFramed(window);
    for (QLineEdit *e : {static_cast<QLineEdit *>(edit), plain}) {
        SCOPED_TRACE(e->metaObject()->className());
        // What the right button asks for on the desktop.
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(10, 5), e->mapToGlobal(QPoint(10, 5)));
        QApplication::sendEvent(e, &request);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 3000));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QStringList items;
        for (const QAction *a : menu->actions())
            if (!a->isSeparator())
                items.append(QString(a->text()).section(u'\t', 0, 0).remove(u'&'));
        // A read-only edit (a field edit not bound to a table) offers only what reads.
        const QStringList expected = e->isReadOnly() ? QStringList{u"Kopírovat"_s, u"Vybrat vše"_s}
                                                     : QStringList{u"Zpět"_s, u"Znovu"_s, u"Vyjmout"_s, u"Kopírovat"_s,
                                                                   u"Vložit"_s, u"Smazat"_s, u"Vybrat vše"_s};
        EXPECT_EQ(items, expected);
        menu->close();
    }
}

}  // namespace
