#pragma once

#include "backup/ArchiveReader.h"
#include "base/Directories.h"

#include <QString>
#include <functional>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}

namespace rur::backup {

// What a backup or a restore works with: the open data set, the directories, the questions,
// and what the window wants to hear while the work goes on.
struct ArchiveJob {
    data::TDM1 &dm;
    const base::Directories &dirs;
    platform::Prompter &prompter;
    // The work begins: the questions are answered and the path is good.
    std::function<void()> started = {};
    // One file was stored or extracted.
    std::function<void()> tick = {};
    // The work is over and the tables are open again; the result is told next.
    std::function<void()> finished = {};
    // Most bytes a restore takes out of one archive.
    qint64 byteBudget = kMaxArchiveBytes;
};

inline constexpr char16_t kSetPathMessage[] = u"Nastavte správně cestu.";
inline constexpr char16_t kBackupDoneMessage[] = u"Data byla zazálohována.";

// "Zálo&hovat": asks "Opravdu chcete zazálohovat data ?", closes the tables, rebuilds the
// indexes when asked to, writes the archive of the data-set directory (without its ini)
// to completePath and reopens the tables. The archive replaces an older one of that name
// only when it is complete and holds every table file of the data set; otherwise the older
// one stays and "Soubor <path> nelze vytvořit." is shown. Returns true on success ("Data
// byla zazálohována."). Throws EngineError when the tables can't be reopened, after the
// result has been shown.
bool Zalohovat(ArchiveJob &job, const QString &completePath, bool rebuildIndexes);

// The safety archive of a restore: Zaloha/Zaloha.zip inside the data-set directory.
QString safetyArchivePath(const QString &dataSetPath);

}  // namespace rur::backup
