// Every test program runs with a home and XDG folders of its own, made before main() and
// removed at its end: nothing a test does (the installation guide copied into the cache, a
// data root made at a first start, settings) lands in the home of the user who runs the tests.
#include <QByteArray>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

struct PrivateHome {
    PrivateHome()
    {
        const char *tmp = std::getenv("TMPDIR");
        QByteArray pattern = QByteArray(tmp && *tmp ? tmp : "/tmp") + "/rur-test-home-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return;
        folder = pattern.toStdString();
        ::setenv("HOME", folder.c_str(), 1);
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
            const std::string sub = folder + "/" + name;
            std::filesystem::create_directory(sub);
            ::setenv(name, sub.c_str(), 1);
        }
    }
    ~PrivateHome()
    {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
};

// Built before main(): the tests' own code finds these folders from the start.
const PrivateHome privateHome;

}  // namespace
