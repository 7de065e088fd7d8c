#include "app/forms/HelpForm.h"

#include "app/HelpTopics.h"
#include "platform/ExecuteFile.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

constexpr int kContextRole = Qt::UserRole;

int contextOf(const QListWidgetItem *item)
{
    return item ? item->data(kContextRole).toInt() : 0;
}

}  // namespace

THelpForm::THelpForm(const HelpTopics &topics, QWidget *parent)
    : QWidget(parent, Qt::Window), topics_(topics)
{
    setWindowTitle(u"RUR - nápověda"_s);
    resize(820, 580);

    contents_ = new QListWidget;
    contents_->setObjectName(u"contents"_s);
    for (const HelpTopic &t : topics_.topics()) {
        auto *item = new QListWidgetItem(t.title, contents_);
        item->setData(kContextRole, t.context);
    }

    search_ = new QLineEdit;
    search_->setObjectName(u"search"_s);
    search_->setPlaceholderText(u"Hledané slovo"_s);
    search_->installEventFilter(this);
    index_ = new QListWidget;
    index_->setObjectName(u"index"_s);
    for (const HelpKeyword &k : topics_.keywords()) {
        auto *item = new QListWidgetItem(k.keyword, index_);
        item->setData(kContextRole, k.context);
    }
    auto *showButton = new QPushButton(u"Zo&brazit"_s);
    auto *indexPage = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(search_);
    indexLayout->addWidget(index_);
    indexLayout->addWidget(showButton);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(u"tabs"_s);
    tabs_->addTab(contents_, u"&Obsah"_s);
    tabs_->addTab(indexPage, u"&Rejstřík"_s);

    browser_ = new QTextBrowser;
    browser_->setObjectName(u"browser"_s);
    browser_->setOpenLinks(false);  // links are resolved through the topic list
    back_ = new QPushButton(u"&Zpět"_s);
    back_->setObjectName(u"back"_s);
    back_->setEnabled(false);
    auto *closeButton = new QPushButton(u"Zavří&t"_s);

    auto *pagePane = new QWidget;
    auto *pageLayout = new QVBoxLayout(pagePane);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    pageLayout->addLayout(buttons);
    pageLayout->addWidget(browser_);

    auto *splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(pagePane);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 570});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    connect(contents_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *item) { if (item) display(contextOf(item), true); });
    connect(search_, &QLineEdit::textEdited, this, &THelpForm::selectKeyword);
    connect(search_, &QLineEdit::returnPressed, this, &THelpForm::showSelectedKeyword);
    connect(index_, &QListWidget::itemActivated, this, &THelpForm::showSelectedKeyword);
    connect(index_, &QListWidget::itemClicked, this, &THelpForm::showSelectedKeyword);
    connect(showButton, &QPushButton::clicked, this, &THelpForm::showSelectedKeyword);
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpForm::openLink);
    connect(back_, &QPushButton::clicked, this, &THelpForm::goBack);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void THelpForm::showContext(int context)
{
    tabs_->setCurrentWidget(contents_);
    display(context, true);
}

void THelpForm::showKeyword(const QString &keyword)
{
    tabs_->setCurrentIndex(1);
    search_->setText(keyword);
    search_->setFocus();
    if (selectKeyword(keyword))
        showSelectedKeyword();
    else if (current_ == 0)
        display(topics_.defaultContext(), false);
}

void THelpForm::display(int context, bool remember)
{
    const HelpTopic topic = topics_.topic(context);
    if (remember && current_ != 0 && current_ != topic.context)
        history_.push_back(current_);
    current_ = topic.context;
    browser_->setHtml(topics_.html(topic.context));
    back_->setEnabled(!history_.empty());

    // Keep the contents in step without the selection signal showing the page again.
    const QSignalBlocker blocker(contents_);
    for (int row = 0; row < contents_->count(); ++row) {
        if (contextOf(contents_->item(row)) == current_) {
            contents_->setCurrentRow(row);
            break;
        }
    }
}

void THelpForm::goBack()
{
    if (history_.empty())
        return;
    const int previous = history_.back();
    history_.pop_back();
    display(previous, false);
}

void THelpForm::openLink(const QUrl &url)
{
    if (url.path().isEmpty() && url.hasFragment()) {
        browser_->scrollToAnchor(url.fragment());
        return;
    }
    if (const std::optional<int> context = topics_.contextForLink(current_, url.toString())) {
        display(*context, true);
        if (url.hasFragment())
            browser_->scrollToAnchor(url.fragment());
        return;
    }
    if (!url.scheme().isEmpty())
        rur::platform::ExecuteFile(url.toString());
}

bool THelpForm::selectKeyword(const QString &text)
{
    const std::optional<std::size_t> found = topics_.findKeyword(text);
    if (!found) {
        index_->setCurrentRow(-1);
        return false;
    }
    const int row = static_cast<int>(*found);
    index_->setCurrentRow(row);
    index_->scrollToItem(index_->item(row), QAbstractItemView::PositionAtTop);
    return true;
}

void THelpForm::showSelectedKeyword()
{
    if (const QListWidgetItem *item = index_->currentItem())
        display(contextOf(item), true);
}

void THelpForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool THelpForm::eventFilter(QObject *watched, QEvent *event)
{
    // Arrow and page keys in the search box walk the index, as in the index of a help viewer.
    if (watched == search_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(index_, &copy);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace rur::app
