// What the benchmarks share.
#pragma once

#include "base/Directories.h"
#include "support/test_root.h"

namespace rur::bench {

// The directories of a temporary data root as the program finds them at start.
inline base::Directories directoriesOf(const testing::TestRoot &root)
{
    base::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = root.path();
    dirs.notFound = false;
    return dirs;
}

}  // namespace rur::bench
