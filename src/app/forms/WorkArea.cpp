#include "app/forms/WorkArea.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

enum class Kind { Heading, Fact, Road, Note };
enum Page { PageOverview, PageEmpty };
enum class Look { Plain, Amount, Total, Uncaptioned };

// One row of the working area: a heading, a fact with its caption and value, a label of the
// road that triggers a command, or a note. Rows go top down into their page and column.
struct AreaItem {
    Page page;
    int column;
    Kind kind;
    const char16_t *text = nullptr;  // heading, note or road label
    Fact fact = Fact::Taxpayer;
    Look look = Look::Plain;  // of a fact: an amount right-aligned, the total also bold, a value without caption
    Command command = Command::VyberRur;
};

constexpr AreaItem heading(Page page, int column, const char16_t *text)
{
    return {page, column, Kind::Heading, text};
}
constexpr AreaItem note(Page page, int column, const char16_t *text)
{
    return {page, column, Kind::Note, text};
}
constexpr AreaItem fact(int column, Fact fact, Look look = Look::Plain)
{
    return {PageOverview, column, Kind::Fact, nullptr, fact, look};
}
constexpr AreaItem road(Page page, int column, const char16_t *text, Command command)
{
    return {page, column, Kind::Road, text, Fact::Taxpayer, Look::Plain, command};
}

const AreaItem kItems[] = {
    heading(PageOverview, 0, u"Přiznání"),
    fact(0, Fact::Taxpayer),
    fact(0, Fact::Dic),
    fact(0, Fact::Period),
    fact(0, Fact::Kind),
    heading(PageOverview, 0, u"Výsledek přiznání"),
    fact(0, Fact::Line62, Look::Amount),
    fact(0, Fact::Line63, Look::Amount),
    fact(0, Fact::Result, Look::Total),
    heading(PageOverview, 0, u"Lhůta a stav období"),
    fact(0, Fact::Deadline),
    fact(0, Fact::Saved),
    fact(0, Fact::FilingFile),
    fact(0, Fact::Check),
    heading(PageOverview, 1, u"Postup k podání"),
    road(PageOverview, 1, u"Údaje o poplatníkovi", Command::UdajeOPoplatnikovi),
    road(PageOverview, 1, u"1. Zdanitelná plnění", Command::Priznani1),
    road(PageOverview, 1, u"2. Plnění osvobozená", Command::Priznani2),
    road(PageOverview, 1, u"3. Nárok na odpočet", Command::Priznani3),
    road(PageOverview, 1, u"4. Výpočet daně", Command::Priznani4),
    road(PageOverview, 1, u"Kontrola", Command::Kontrola),
    road(PageOverview, 1, u"Tisk a elektronické podání", Command::TiskRur),
    road(PageOverview, 1, u"Uložení RUR", Command::UlozeniRur),
    heading(PageOverview, 1, u"Záloha"),
    road(PageOverview, 1, u"Zálohování dat", Command::Zalohovani),
    fact(1, Fact::Backup, Look::Uncaptioned),
    heading(PageEmpty, 0, u"Není otevřené žádné RUR"),
    note(PageEmpty, 0, u"Vyberte RUR ze seznamu, nebo založte nové."),
    road(PageEmpty, 0, u"Výběr RUR", Command::VyberRur),
    road(PageEmpty, 0, u"Nové RUR", Command::NoveRur),
};

const QColor kAlarm(0xb0, 0x00, 0x20);

void setAlarm(QLabel *label, bool alarm)
{
    QPalette palette = label->parentWidget()->palette();
    if (alarm)
        palette.setColor(QPalette::WindowText, kAlarm);
    label->setPalette(palette);
}

QLabel *newLabel(const QString &text, QWidget *parent, bool wrapped = true)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrapped);
    return label;
}

// One column of a page: a panel in the colour of a sheet, whose grid holds captions and
// values; at most `characters` wide, so that a wide window keeps captions and values together.
QGridLayout *newColumn(QWidget *page, QHBoxLayout *columns, int stretch, int characters)
{
    auto *panel = new QFrame(page);
    panel->setFrameShape(QFrame::StyledPanel);
    QPalette sheet = panel->palette();
    sheet.setColor(QPalette::Window, sheet.color(QPalette::Base));
    panel->setPalette(sheet);
    panel->setAutoFillBackground(true);
    panel->setMaximumWidth(panel->fontMetrics().averageCharWidth() * characters);
    auto *outer = new QVBoxLayout(panel);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    outer->addStretch(1);
    columns->addWidget(panel, stretch);
    return grid;
}

}  // namespace

RoadLabel::RoadLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setMargin(1);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette linkColour = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        linkColour.setColor(group, QPalette::WindowText, linkColour.color(group, QPalette::Link));
    setPalette(linkColour);
}

void RoadLabel::setAction(QAction *action)
{
    disconnect(changed_);
    action_ = action;
    if (action)
        changed_ = connect(action, &QAction::changed, this, &RoadLabel::follow);
    follow();
}

void RoadLabel::follow()
{
    setEnabled(action_ && action_->isEnabled());
    setStatusTip(action_ ? action_->statusTip() : QString());
}

void RoadLabel::trigger()
{
    if (action_ && action_->isEnabled())
        action_->trigger();
}

void RoadLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        trigger();
    QLabel::mouseReleaseEvent(event);
}

void RoadLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        trigger();
        return;
    }
    QLabel::keyPressEvent(event);
}

void RoadLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

WorkArea::WorkArea(std::function<QAction *(Command)> actionOf, QWidget *parent)
    : QWidget(parent), actionOf_(std::move(actionOf))
{
    setObjectName(u"WorkArea"_s);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    pages_ = new QStackedWidget;
    scroll->setWidget(pages_);

    QGridLayout *grids[2][2] = {};
    QWidget *pages[2] = {};
    for (int p = 0; p < 2; ++p) {
        pages[p] = new QWidget(pages_);
        auto *page = new QVBoxLayout(pages[p]);
        page->setContentsMargins(12, 12, 12, 12);
        if (p == PageOverview) {
            problem_ = newLabel(QString(), pages[p]);
            setAlarm(problem_, true);
            problem_->hide();
            page->addWidget(problem_);
        }
        auto *columns = new QHBoxLayout;
        columns->setSpacing(12);
        page->addLayout(columns);
        page->addStretch(1);
        pages_->addWidget(pages[p]);
        // The figures need more room than the road; a wide window centres both.
        columns->addStretch(0);
        grids[p][0] = newColumn(pages[p], columns, 3, 80);
        if (p == PageOverview)
            grids[p][1] = newColumn(pages[p], columns, 2, 55);
        columns->addStretch(0);
    }

    int rows[2][2] = {};
    for (const AreaItem &item : kItems) {
        QGridLayout *grid = grids[item.page][item.column];
        QWidget *page = pages[item.page];
        int &row = rows[item.page][item.column];
        const QString text = item.text ? QString::fromUtf16(item.text) : QString();
        switch (item.kind) {
        case Kind::Heading: {
            QLabel *heading = newLabel(text, page);
            QFont bold = heading->font();
            bold.setBold(true);
            if (bold.pointSizeF() > 0)
                bold.setPointSizeF(bold.pointSizeF() * 1.15);
            heading->setFont(bold);
            if (row > 0)
                grid->setRowMinimumHeight(row++, 6);
            grid->addWidget(heading, row++, 0, 1, 2);
            break;
        }
        case Kind::Note:
            grid->addWidget(newLabel(text, page), row++, 0, 1, 2);
            break;
        case Kind::Fact: {
            QLabel *value = newLabel(QString(), page);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            if (item.look == Look::Amount || item.look == Look::Total)
                value->setAlignment(Qt::AlignRight | Qt::AlignTop);
            if (item.look == Look::Total) {
                QFont bold = value->font();
                bold.setBold(true);
                value->setFont(bold);
            }
            if (item.look == Look::Uncaptioned) {
                grid->addWidget(value, row++, 0, 1, 2, Qt::AlignTop);
            } else {
                QLabel *caption = newLabel(QString(), page, false);
                grid->addWidget(caption, row, 0, Qt::AlignTop);
                grid->addWidget(value, row++, 1, Qt::AlignTop);
                captions_.insert(item.fact, caption);
            }
            values_.insert(item.fact, value);
            break;
        }
        case Kind::Road: {
            auto *road = new RoadLabel(page);
            road->setText(text);
            road->setAction(actionOf_(item.command));
            grid->addWidget(road, row++, 0, 1, 2, Qt::AlignLeft);
            roads_.append(road);
            // In the last period of the year the save step is the one with the settlement.
            if (item.command == Command::UlozeniRur) {
                saveRoad_ = road;
                saveText_ = text;
            }
            break;
        }
        }
    }
    pages_->setCurrentIndex(PageEmpty);
}

void WorkArea::showOverview(const Overview &overview)
{
    problem_->hide();
    for (auto it = values_.cbegin(); it != values_.cend(); ++it) {
        const FactText fact = factText(overview, it.key());
        if (QLabel *caption = captions_.value(it.key()))
            caption->setText(fact.caption);
        it.value()->setText(fact.value);
        setAlarm(it.value(), fact.alarm);
    }
    if (saveRoad_) {
        const bool last = overview.lastOfYear;
        QAction *save = actionOf_(last ? Command::UlozeniPoslednihoRur : Command::UlozeniRur);
        saveRoad_->setText(last && save ? save->text().remove(u'&') : saveText_);
        saveRoad_->setAction(save);
    }
    pages_->setCurrentIndex(PageOverview);
}

void WorkArea::showNoDataSet()
{
    pages_->setCurrentIndex(PageEmpty);
}

void WorkArea::showProblem(const QString &message)
{
    for (QLabel *value : std::as_const(values_))
        value->clear();
    problem_->setText(message);
    problem_->show();
    pages_->setCurrentIndex(PageOverview);
}

bool WorkArea::showsOverview() const
{
    return pages_->currentIndex() == PageOverview;
}

RoadLabel *WorkArea::roadLabel(Command command) const
{
    for (RoadLabel *road : roads_)
        if (road->action() && road->action() == actionOf_(command))
            return road;
    return nullptr;
}

}  // namespace rur::app
