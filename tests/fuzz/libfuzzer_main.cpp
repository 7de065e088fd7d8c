// The fuzz targets for libFuzzer (clang -fsanitize=fuzzer): RUR_FUZZ_TARGET names the target.
#include "app/Subsystems.h"
#include "fuzz/fuzz_targets.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const rur::fuzz::Target *target = [] {
        rur::app::addSubsystemTableRules();
        const char *name = std::getenv("RUR_FUZZ_TARGET");
        for (const rur::fuzz::Target &t : rur::fuzz::targets())
            if (name && std::strcmp(name, t.name) == 0)
                return &t;
        return &rur::fuzz::targets().first();
    }();
    target->run(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
