#include "print/forms/PrevForm.h"

#include "data/DataM1.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/PrintMessages.h"
#include "print/forms/TiskInfoForm.h"
#include "report/Printing.h"
#include "report/Render.h"
#include "report/forms/PageView.h"
#include "report/printing/QtPrintTarget.h"
#include "ui/forms/WindowKeys.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

// Paging buttons and the hidden commands that share their keys.
struct PagingDef {
    const char16_t *button;
    const char16_t *caption;
    const char16_t *hint;
    const char16_t *command;
    QKeySequence key;
    PreviewPaging::Step step;
};

const PagingDef kPaging[] = {
    {u"FirstButton", u"|<", u"První strana", u"FirstCommand", QKeySequence(Qt::CTRL | Qt::Key_Home),
     PreviewPaging::Step::First},
    {u"PriorButton", u"<", u"Předchozí strana", u"PriorCommand", QKeySequence(Qt::Key_PageUp), PreviewPaging::Step::Prior},
    {u"NextButton", u">", u"Další strana", u"NextCommand", QKeySequence(Qt::Key_PageDown), PreviewPaging::Step::Next},
    {u"LastButton", u">|", u"Poslední strana", u"LastCommand", QKeySequence(Qt::CTRL | Qt::Key_End),
     PreviewPaging::Step::Last},
};

QString str(const char16_t *s)
{
    return QString::fromUtf16(s);
}

// Scrolling by the keys moves 16 report units at the current zoom.
constexpr int kScrollUnits = 16;

}  // namespace

TPrevForm::TPrevForm(data::TDM1 &dm, platform::Prompter &prompter, QWidget *parent)
    : QDialog(parent), dm_(dm), prompter_(prompter), target_(std::make_unique<report::QtPrintTarget>())
{
    setObjectName(u"PrevForm"_s);
    setWindowTitle(u"Náhled před tiskem"_s);
    build();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->geometry().size() : QSize(1024, 768);
    resize(available.width() <= 640 ? 640 : 800, available.height() <= 480 ? 453 : 573);
    // The frame's corner at the screen's: restored from maximized, the title bar is on the screen.
    move(0, 0);
    info_ = new TTiskInfoForm(this);
}

TPrevForm::~TPrevForm() = default;

void TPrevForm::setPrintTarget(std::unique_ptr<report::PrintTarget> target)
{
    target_ = std::move(target);
}

void TPrevForm::build()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 4, 4, 4);

    zoomBox_ = new QComboBox(bar);
    zoomBox_->setObjectName(u"ZoomBox"_s);
    zoomBox_->setEditable(true);
    zoomBox_->setInsertPolicy(QComboBox::NoInsert);
    zoomBox_->addItems({u"300%"_s, u"250%"_s, u"200%"_s, u"150%"_s, u"100%"_s, u"75%"_s, u"50%"_s, u"25%"_s});
    zoomBox_->lineEdit()->setMaxLength(4);
    zoomBox_->setToolTip(u"Měřítko zobrazení náhledu"_s);
    connect(zoomBox_, &QComboBox::activated, this, [this] { ZoomBoxChange(); });
    connect(zoomBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] { ZoomBoxChange(); });
    row->addWidget(zoomBox_);

    const auto addButton = [&](const QString &name, const QString &caption, const QString &hint) {
        auto *b = new QPushButton(caption, bar);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAutoDefault(false);
        // As wide as the caption needs, so that the bar fits an 800-pixel window.
        b->setFixedWidth(qMax(32, b->fontMetrics().horizontalAdvance(QString(caption).remove(u'&')) + 20));
        row->addWidget(b);
        return b;
    };
    connect(addButton(u"FitWindowButton"_s, u"Podle okna"_s, u"Celá strana v okně"_s), &QPushButton::clicked, this,
            [this] { setZoom(fitWindowZoom(scroll_->viewport()->size(), view_->pageSize())); });
    connect(addButton(u"FullSizeButton"_s, u"100%"_s, u"Skutečná velikost"_s), &QPushButton::clicked, this,
            [this] { setZoom(100); });
    connect(addButton(u"FitWidthButton"_s, u"Šířka strany"_s, u"Šířka strany v okně"_s), &QPushButton::clicked, this,
            [this] { setZoom(fitWidthZoom(scroll_->viewport()->size(), view_->pageSize())); });
    row->addSpacing(8);
    for (const PagingDef &p : kPaging) {
        const PreviewPaging::Step s = p.step;
        QPushButton *b = addButton(str(p.button), str(p.caption), str(p.hint));
        connect(b, &QPushButton::clicked, this, [this, s] { step(s); });
        auto *command = new QAction(str(p.hint), this);
        command->setObjectName(str(p.command));
        command->setShortcut(p.key);
        command->setShortcutContext(Qt::WindowShortcut);
        connect(command, &QAction::triggered, this, [this, s] { step(s); });
        addAction(command);
    }
    pagePanel_ = new QLabel(bar);
    pagePanel_->setObjectName(u"PagePanel"_s);
    pagePanel_->setMinimumWidth(pagePanel_->fontMetrics().horizontalAdvance(u"Strana 888 z 888"_s) + 8);
    pagePanel_->setAlignment(Qt::AlignCenter);
    row->addWidget(pagePanel_);
    row->addStretch(1);
    connect(addButton(u"PrintButton"_s, u"&Tisk"_s, u"Tisk dokumentu F6"_s), &QPushButton::clicked, this,
            &TPrevForm::PrintButtonClick);
    connect(addButton(u"PdfButton"_s, u"&PDF"_s, u"Uložit jako PDF"_s), &QPushButton::clicked, this,
            &TPrevForm::PdfButtonClick);
    connect(addButton(u"CloseButton"_s, u"&Zavřít"_s, u"Zavřít náhled (Esc)"_s), &QPushButton::clicked, this, [this] {
        paging_.closeButton();
        reject();
    });
    layout->addWidget(bar);

    // Hidden commands: scrolling and printing by key.
    const struct {
        const char16_t *name, *caption;
        QKeySequence key;
        int dx, dy;
    } scrolls[] = {
        {u"UpCommand", u"Nahoru", QKeySequence(Qt::CTRL | Qt::Key_Up), 0, -1},
        {u"DownCommand", u"Dolů", QKeySequence(Qt::CTRL | Qt::Key_Down), 0, 1},
        {u"LeftCommand", u"Vlevo", QKeySequence(Qt::CTRL | Qt::Key_Left), -1, 0},
        {u"RightCommand", u"Vpravo", QKeySequence(Qt::CTRL | Qt::Key_Right), 1, 0},
    };
    for (const auto &s : scrolls) {
        auto *command = new QAction(str(s.caption), this);
        command->setObjectName(str(s.name));
        command->setShortcut(s.key);
        command->setShortcutContext(Qt::WindowShortcut);
        const int dx = s.dx, dy = s.dy;
        connect(command, &QAction::triggered, this, [this, dx, dy] { scrollBy(dx, dy); });
        addAction(command);
    }
    auto *printCommand = new QAction(u"Tisk dokumentu"_s, this);
    printCommand->setObjectName(u"PrintCommand"_s);
    printCommand->setShortcut(QKeySequence(Qt::Key_F6));
    printCommand->setShortcutContext(Qt::WindowShortcut);
    connect(printCommand, &QAction::triggered, this, [this] {
        if (button(u"PrintButton"_s)->isEnabled())
            PrintButtonClick();
    });
    addAction(printCommand);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(u"PageArea"_s);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new report::PageView(scroll_);
    scroll_->setWidget(view_);
    layout->addWidget(scroll_, 1);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(status);
    statusPanel_->setObjectName(u"StatusPanel"_s);
    status->addWidget(statusPanel_, 1);
    layout->addWidget(status);

    // The commands' keys work in the zoom box too, whose edit would take Ctrl+Home, Ctrl+End
    // and Ctrl+arrows for itself.
    auto *keys = new ui::WindowKeys(this);
    keys->addActions(actions());
    keys->watch();
}

QPushButton *TPrevForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QAction *TPrevForm::command(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void TPrevForm::prepare(const PreviewRequest &request)
{
    request_ = request;
    const report::PreparedReport *report = request.report;
    view_->setReport(report);
    // 1. Focus on printing, page 1, the top left corner.
    paging_.start(report ? report->pageCount() : 1, request.browse);
    // 2.-4. Paging buttons, caption and page panel.
    updatePaging();
    setWindowTitle(u"RUR - Náhled před tiskem"_s);
    statusPanel_->setText(request.statusText);
    // 5. The zoom of the data set; the copies of the print settings.
    setZoom(readPreviewZoom(request.dataSetIni));
    engine::Table &dmt = *dm_.Dmt;
    const bool hasRow = dmt.isActive() && !dmt.isEmpty();
    copies_ = hasRow ? qMax(1, dmt.field(u"Kop"_s).asInteger()) : 1;
    printerCopies_ = hasRow && dmt.field(u"Pk"_s).asBoolean();
    button(u"PrintButton"_s)->setEnabled(report != nullptr);
    button(u"PdfButton"_s)->setEnabled(report != nullptr);
}

void TPrevForm::showRequest(const PreviewRequest &request)
{
    prepare(request);
    showMaximized();
    activateWindow();
    button(u"PrintButton"_s)->setFocus();
    scrollHome();
}

void TPrevForm::ShowPreview(const PreviewRequest &request)
{
    prepare(request);
    setWindowState(windowState() | Qt::WindowMaximized);
    button(u"PrintButton"_s)->setFocus();
    scrollHome();
    exec();
}

void TPrevForm::updatePaging()
{
    const PagingButtons b = paging_.buttons();
    const bool enabled[] = {b.first, b.prior, b.next, b.last};
    for (int i = 0; i < 4; ++i) {
        button(str(kPaging[i].button))->setEnabled(enabled[i]);
        command(str(kPaging[i].command))->setEnabled(paging_.commandsEnabled());
    }
    pagePanel_->setText(paging_.pagePanel());
    view_->setPage(paging_.reportPage());
}

void TPrevForm::step(PreviewPaging::Step s)
{
    if (paging_.go(s)) {
        // Browse mode: the print centre shows the page now current.
        accept();
        return;
    }
    updatePaging();
    scrollHome();
}

void TPrevForm::setZoom(int percent)
{
    zoom_ = std::clamp(percent, 1, kMaxZoom);
    view_->setZoom(zoom_);
    zoomBox_->setEditText(QString::number(zoom_) + u'%');
    scrollHome();
}

void TPrevForm::ZoomBoxChange()
{
    scrollHome();
    const ZoomInput input = parseZoom(zoomBox_->currentText());
    if (input.kind == ZoomInput::TooLarge)
        prompter_.information(QString::fromUtf16(kZoomTooLarge));
    if (input.kind == ZoomInput::Valid)
        setZoom(input.percent);
    else
        zoomBox_->setEditText(QString::number(zoom_) + u'%');
}

void TPrevForm::scrollHome()
{
    scroll_->horizontalScrollBar()->setValue(0);
    scroll_->verticalScrollBar()->setValue(0);
}

void TPrevForm::scrollBy(int dx, int dy)
{
    const int step = qMax(1, kScrollUnits * zoom_ / 100);
    QScrollBar *h = scroll_->horizontalScrollBar(), *v = scroll_->verticalScrollBar();
    h->setValue(h->value() + dx * step);
    v->setValue(v->value() + dy * step);
}

void TPrevForm::PrintButtonClick()
{
    if (!request_.report || !target_)
        return;
    QPushButton *print = button(u"PrintButton"_s);
    print->setEnabled(false);
    info_->TypTisku(1);
    info_->show();
    QApplication::processEvents();
    const bool ok = report::Tisk2(*request_.report, *target_, request_.printerName, copies_, printerCopies_);
    info_->hide();
    print->setEnabled(true);
    if (!ok)
        prompter_.information(QString::fromUtf16(kPrintFailed));
}

void TPrevForm::PdfButtonClick()
{
    if (!request_.report)
        return;
    QString folder = request_.pdfFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath(request_.report->caption + u".pdf"_s);
    QString path = prompter_.saveFileName(u"Uložit jako PDF"_s, suggested, u"PDF (*.pdf)"_s);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".pdf"_s;
    if (!report::writePdf(*request_.report, path))
        prompter_.error(cannotCreateMessage(path));
}

void TPrevForm::hideEvent(QHideEvent *event)
{
    paging_.hidden();
    writePreviewZoom(request_.dataSetIni, zoom_);
    QDialog::hideEvent(event);
}

}  // namespace rur::print
