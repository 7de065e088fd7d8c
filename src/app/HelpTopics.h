#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace rur::app {

// One page of the help: the context number windows ask for with F1, the HTML file (relative
// to the help root) and the title shown in the contents.
struct HelpTopic {
    int context = 0;
    QString file;
    QString title;
};

// One entry of the help index.
struct HelpKeyword {
    QString keyword;
    int context = 0;
};

// Contents and index of the program's help, read from "topics.ini" under a root folder: the
// resource folder ":/help/" in the program, the source folder in tests. The file has the
// sections [General] Default=<context>, [Topics] <context>=<file>|<title>, [Aliases]
// <context>=<context of an existing topic> and [Index] <keyword>=<context>. Lines starting
// with ";" or "#" are comments. A broken entry is skipped and described in problems(), so
// that a slip in the help never stops the program.
class HelpTopics {
public:
    explicit HelpTopics(QString root = QStringLiteral(":/help/"));

    // True when the index file was read and names at least one topic.
    bool isLoaded() const { return !topics_.empty(); }
    QString root() const { return root_; }
    QStringList problems() const { return problems_; }

    // Topics in the order of the index file (the contents).
    const std::vector<HelpTopic> &topics() const { return topics_; }
    // Index entries sorted alphabetically (Czech order, ignoring case).
    const std::vector<HelpKeyword> &keywords() const { return keywords_; }

    int defaultContext() const { return defaultContext_; }
    // Whether the number names a topic, directly or through an alias.
    bool hasContext(int context) const;
    // The topic a context request opens: aliases followed, an unknown number gives the
    // default topic. Without any topic the result is empty (context 0).
    HelpTopic topic(int context) const;

    // The topic's page; a page that can't be read is replaced by a short Czech notice.
    QString html(int context) const;

    // The topic a link in the page of `fromContext` leads to (relative to that page's folder,
    // fragment ignored); nothing for links outside the help.
    std::optional<int> contextForLink(int fromContext, const QString &href) const;

    // The index entry a keyword request stands for: an equal keyword, else the first one
    // starting with the text, else the first one starting with it when diacritics are
    // ignored too. Case never matters. Nothing for an empty text or no match.
    std::optional<std::size_t> findKeyword(const QString &text) const;

private:
    void load();
    void addTopic(const QString &key, const QString &value);
    void addAlias(const QString &key, const QString &value);
    void addKeyword(const QString &key, const QString &value);
    const HelpTopic *find(int context) const;

    QString root_;
    std::vector<HelpTopic> topics_;
    std::vector<std::pair<int, int>> aliases_;
    std::vector<HelpKeyword> keywords_;
    int defaultContext_ = 0;
    QStringList problems_;
};

// The folder of the help installed with the program, for a program directory (the folder of
// the executable): "help/" beside the executable, else "../share/rur/help/" as a package
// installs it (/usr/bin/rur finds /usr/share/rur/help/). Empty when neither holds
// topics.ini; the program then shows the help compiled into it.
QString installedHelpRoot(const QString &programDir);

}  // namespace rur::app
