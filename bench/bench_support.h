// What the benchmarks share.
#pragma once

#include "app/Directories.h"
#include "support/test_root.h"

namespace rur::bench {

// The directories of a temporary data root as the program finds them at start.
inline app::Directories directoriesOf(const testing::TestRoot &root)
{
    app::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = root.path();
    dirs.notFound = false;
    return dirs;
}

}  // namespace rur::bench
