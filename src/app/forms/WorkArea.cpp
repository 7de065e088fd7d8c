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

// One row of the working area: a heading, a fact with its caption and value, a label of the
// road that triggers a command, or a note. Rows go top down into their page and column.
struct AreaItem {
    Page page;
    int column;
    Kind kind;
    const char16_t *text = nullptr;  // heading, note or road label
    Fact fact = Fact::Taxpayer;
    Command command = Command::VyberRur;
    bool amount = false;     // a value in crowns, aligned right
    bool uncaptioned = false;  // a value under the label before it, across the column
};

const AreaItem kItems[] = {
    {PageOverview, 0, Kind::Heading, u"Přiznání"},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Taxpayer},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Dic},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Period},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Kind},
    {PageOverview, 0, Kind::Heading, u"Výsledek přiznání"},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Line62, Command::VyberRur, true},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Line63, Command::VyberRur, true},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Result, Command::VyberRur, true},
    {PageOverview, 0, Kind::Heading, u"Lhůta a stav období"},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Deadline},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Saved},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::FilingFile},
    {PageOverview, 0, Kind::Fact, nullptr, Fact::Check},
    {PageOverview, 1, Kind::Heading, u"Postup k podání"},
    {PageOverview, 1, Kind::Road, u"Údaje o poplatníkovi", Fact::Taxpayer, Command::UdajeOPoplatnikovi},
    {PageOverview, 1, Kind::Road, u"1. Zdanitelná plnění", Fact::Taxpayer, Command::Priznani1},
    {PageOverview, 1, Kind::Road, u"2. Plnění osvobozená", Fact::Taxpayer, Command::Priznani2},
    {PageOverview, 1, Kind::Road, u"3. Nárok na odpočet", Fact::Taxpayer, Command::Priznani3},
    {PageOverview, 1, Kind::Road, u"4. Výpočet daně", Fact::Taxpayer, Command::Priznani4},
    {PageOverview, 1, Kind::Road, u"Kontrola", Fact::Taxpayer, Command::Kontrola},
    {PageOverview, 1, Kind::Road, u"Tisk a elektronické podání", Fact::Taxpayer, Command::TiskRur},
    {PageOverview, 1, Kind::Road, u"Uložení RUR", Fact::Taxpayer, Command::UlozeniRur},
    {PageOverview, 1, Kind::Heading, u"Záloha"},
    {PageOverview, 1, Kind::Road, u"Zálohování dat", Fact::Taxpayer, Command::Zalohovani},
    {PageOverview, 1, Kind::Fact, nullptr, Fact::Backup, Command::VyberRur, false, true},
    {PageEmpty, 0, Kind::Heading, u"Není otevřené žádné RUR"},
    {PageEmpty, 0, Kind::Note, u"Vyberte RUR ze seznamu, nebo založte nové."},
    {PageEmpty, 0, Kind::Road, u"Výběr RUR", Fact::Taxpayer, Command::VyberRur},
    {PageEmpty, 0, Kind::Road, u"Nové RUR", Fact::Taxpayer, Command::NoveRur},
};

// The save step of the last period of the year.
constexpr char16_t kSaveLastText[] = u"Uložení posledního RUR a vypořádání";

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
            if (item.amount)
                value->setAlignment(Qt::AlignRight | Qt::AlignTop);
            if (item.fact == Fact::Result) {
                QFont bold = value->font();
                bold.setBold(true);
                value->setFont(bold);
            }
            if (item.uncaptioned) {
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
        saveRoad_->setText(last ? QString::fromUtf16(kSaveLastText) : saveText_);
        saveRoad_->setAction(actionOf_(last ? Command::UlozeniPoslednihoRur : Command::UlozeniRur));
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
