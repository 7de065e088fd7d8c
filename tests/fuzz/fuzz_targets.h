#pragma once

// Targets for random input: each takes arbitrary bytes, runs one routine that reads
// untrusted text, and aborts on a broken promise of that routine. The sanitizers catch the
// rest. Driven by fuzz_driver.cpp (a fixed time in CI) or by libFuzzer (libfuzzer_main.cpp).

#include <QByteArray>
#include <QList>

namespace rur::fuzz {

struct Target {
    const char *name;
    void (*run)(const QByteArray &input);
    QList<QByteArray> seeds;
};

const QList<Target> &targets();

}  // namespace rur::fuzz
