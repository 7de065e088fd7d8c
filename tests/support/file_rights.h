#pragma once

#include <QString>

namespace rur::testing {

// Root writes into read-only folders, so a check that a folder refuses a file means nothing
// when the tests run as root. While this lives, the process's file-system rights are those of
// the user nobody (setfsuid). Does nothing for other users.
class NobodysFileRights {
public:
    NobodysFileRights();
    ~NobodysFileRights();
    NobodysFileRights(const NobodysFileRights &) = delete;
    NobodysFileRights &operator=(const NobodysFileRights &) = delete;

    // False when the rights could not be taken (the check would prove nothing then).
    bool active() const { return active_ || !wasRoot_; }

private:
    bool wasRoot_ = false;
    bool active_ = false;
};

// Opens `folder` and everything under it to every user, so that under NobodysFileRights only
// what a test then makes read-only is refused.
void openToEveryone(const QString &folder);

}  // namespace rur::testing
