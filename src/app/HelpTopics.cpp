#include "app/HelpTopics.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

struct IniEntry {
    QString section;  // lower case
    QString key;
    QString value;
    int line = 0;
};

bool readUtf8(const QString &path, QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return true;
}

// Keeps the order of the file; a line without "=" outside comments is reported.
std::vector<IniEntry> parseIni(const QString &text, QStringList &problems)
{
    std::vector<IniEntry> entries;
    QString section;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int lineNo = static_cast<int>(i) + 1;
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            problems << u"line %1: not a key=value line"_s.arg(lineNo);
            continue;
        }
        entries.push_back({section, line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), lineNo});
    }
    return entries;
}

std::optional<int> toContext(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

// Lower case without diacritics, so that "udaje" finds "Údaje".
QString plainFolded(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString result;
    result.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            result.append(c);
    }
    return result.toCaseFolded();
}

QString noticePage(const QString &heading, const QString &text)
{
    return u"<html><body><h1>%1</h1><p>%2</p></body></html>"_s.arg(heading.toHtmlEscaped(),
                                                                    text.toHtmlEscaped());
}

}  // namespace

HelpTopics::HelpTopics(QString root) : root_(std::move(root))
{
    if (!root_.isEmpty() && !root_.endsWith(u'/'))
        root_ += u'/';
    load();
}

void HelpTopics::load()
{
    QString text;
    if (!readUtf8(root_ + u"topics.ini"_s, text)) {
        problems_ << u"%1topics.ini can't be read"_s.arg(root_);
        return;
    }
    const std::vector<IniEntry> entries = parseIni(text, problems_);

    // Topics, then aliases, then the rest: an entry may name a topic or alias wherever it
    // stands in the file.
    for (const IniEntry &e : entries) {
        if (e.section == u"topics"_s)
            addTopic(e.key, e.value);
    }
    for (const IniEntry &e : entries) {
        if (e.section == u"aliases"_s)
            addAlias(e.key, e.value);
    }
    QString defaultText;
    for (const IniEntry &e : entries) {
        if (e.section == u"index"_s)
            addKeyword(e.key, e.value);
        else if (e.section == u"general"_s && e.key.compare(u"Default"_s, Qt::CaseInsensitive) == 0)
            defaultText = e.value;
        else if (e.section != u"topics"_s && e.section != u"aliases"_s)
            problems_ << u"line %1: unknown entry %2"_s.arg(e.line).arg(e.key);
    }

    if (topics_.empty()) {
        problems_ << u"no topics"_s;
        return;
    }
    const std::optional<int> wanted = toContext(defaultText);
    if (wanted && hasContext(*wanted)) {
        defaultContext_ = topic(*wanted).context;
    } else {
        if (!defaultText.isEmpty())
            problems_ << u"default topic %1 does not exist"_s.arg(defaultText);
        defaultContext_ = find(1) ? 1 : topics_.front().context;
    }

    QCollator collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(keywords_.begin(), keywords_.end(),
                     [&collator](const HelpKeyword &a, const HelpKeyword &b) {
                         return collator.compare(a.keyword, b.keyword) < 0;
                     });
}

void HelpTopics::addTopic(const QString &key, const QString &value)
{
    const std::optional<int> context = toContext(key);
    const qsizetype bar = value.indexOf(u'|');
    const QString file = (bar < 0 ? value : value.left(bar)).trimmed();
    QString title = bar < 0 ? QString() : value.mid(bar + 1).trimmed();
    if (!context || file.isEmpty()) {
        problems_ << u"topic %1 lacks a number or a file"_s.arg(key);
        return;
    }
    if (find(*context)) {
        problems_ << u"topic %1 appears twice"_s.arg(*context);
        return;
    }
    if (title.isEmpty()) {
        problems_ << u"topic %1 has no title"_s.arg(*context);
        title = QFileInfo(file).completeBaseName();
    }
    topics_.push_back({*context, file, title});
}

void HelpTopics::addAlias(const QString &key, const QString &value)
{
    const std::optional<int> alias = toContext(key);
    const std::optional<int> target = toContext(value);
    if (!alias || !target || !find(*target)) {
        problems_ << u"alias %1 does not lead to a topic"_s.arg(key);
        return;
    }
    if (hasContext(*alias)) {
        problems_ << u"alias %1 names a number already in use"_s.arg(*alias);
        return;
    }
    aliases_.emplace_back(*alias, *target);
}

void HelpTopics::addKeyword(const QString &key, const QString &value)
{
    const std::optional<int> context = toContext(value);
    if (!context || !hasContext(*context)) {
        problems_ << u"keyword %1 does not lead to a topic"_s.arg(key);
        return;
    }
    const bool duplicate = std::any_of(keywords_.begin(), keywords_.end(), [&key](const HelpKeyword &k) {
        return k.keyword.compare(key, Qt::CaseInsensitive) == 0;
    });
    if (duplicate) {
        problems_ << u"keyword %1 appears twice"_s.arg(key);
        return;
    }
    keywords_.push_back({key, topic(*context).context});
}

const HelpTopic *HelpTopics::find(int context) const
{
    const auto it = std::find_if(topics_.begin(), topics_.end(),
                                 [context](const HelpTopic &t) { return t.context == context; });
    return it == topics_.end() ? nullptr : &*it;
}

bool HelpTopics::hasContext(int context) const
{
    if (find(context))
        return true;
    return std::any_of(aliases_.begin(), aliases_.end(),
                       [context](const std::pair<int, int> &a) { return a.first == context; });
}

HelpTopic HelpTopics::topic(int context) const
{
    if (const HelpTopic *direct = find(context))
        return *direct;
    for (const auto &[alias, target] : aliases_) {
        if (alias == context)
            return *find(target);
    }
    if (const HelpTopic *fallback = find(defaultContext_))
        return *fallback;
    return {};
}

QString HelpTopics::html(int context) const
{
    const HelpTopic t = topic(context);
    if (t.file.isEmpty())
        return noticePage(u"Nápověda"_s, u"Nápověda není k dispozici."_s);
    QString text;
    if (!readUtf8(root_ + t.file, text))
        return noticePage(t.title, u"Stránku nápovědy se nepodařilo načíst."_s);
    return text;
}

std::optional<int> HelpTopics::contextForLink(int fromContext, const QString &href) const
{
    const QUrl url(href);
    if (!url.scheme().isEmpty() || url.path().isEmpty() || url.path().startsWith(u'/'))
        return std::nullopt;
    const QString folder = QFileInfo(topic(fromContext).file).path();
    const QString wanted = QDir::cleanPath(folder + u'/' + url.path());
    for (const HelpTopic &t : topics_) {
        if (QDir::cleanPath(t.file) == wanted)
            return t.context;
    }
    return std::nullopt;
}

std::optional<std::size_t> HelpTopics::findKeyword(const QString &text) const
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    const auto firstIndex = [this](auto matches) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < keywords_.size(); ++i) {
            if (matches(keywords_[i].keyword))
                return i;
        }
        return std::nullopt;
    };
    if (auto i = firstIndex([&](const QString &k) { return k.compare(wanted, Qt::CaseInsensitive) == 0; }))
        return i;
    if (auto i = firstIndex([&](const QString &k) { return k.startsWith(wanted, Qt::CaseInsensitive); }))
        return i;
    const QString plain = plainFolded(wanted);
    return firstIndex([&](const QString &k) { return plainFolded(k).startsWith(plain); });
}

QString installedHelpRoot(const QString &programDir)
{
    if (programDir.isEmpty())
        return {};
    const QDir program(programDir);
    for (const QString &relative : {u"help"_s, u"../share/rur/help"_s}) {
        const QString folder = QDir::cleanPath(program.absoluteFilePath(relative));
        if (QFileInfo(folder + u"/topics.ini"_s).isFile())
            return folder + u'/';
    }
    return {};
}

}  // namespace rur::app
