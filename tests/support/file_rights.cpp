#include "support/file_rights.h"

#include <QDirIterator>
#include <QFile>
#include <sys/fsuid.h>
#include <unistd.h>

namespace rur::testing {

namespace {

constexpr uid_t kNobody = 65534;

void openPath(const QString &path)
{
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                     | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                     | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QFile::setPermissions(path, all);
}

}  // namespace

void openToEveryone(const QString &folder)
{
    openPath(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        openPath(it.next());
}

NobodysFileRights::NobodysFileRights()
{
    wasRoot_ = ::geteuid() == 0;
    if (!wasRoot_)
        return;
    ::setfsgid(kNobody);
    ::setfsuid(kNobody);
    // setfsuid reports the previous id whatever happens: asking again tells whether it took.
    active_ = static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1))) == kNobody;
}

NobodysFileRights::~NobodysFileRights()
{
    if (!wasRoot_)
        return;
    ::setfsuid(0);
    ::setfsgid(0);
}

}  // namespace rur::testing
