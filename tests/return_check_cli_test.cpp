// rur-cli check SET [--file PATH], and the check that follows rur-cli xml: one finding a line,
// exit status 1 only for errors.
#include "data/DataM1.h"
#include "support/filled_return.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;

namespace {

struct CheckLines {
    int exitCode = -1;
    QStringList out, err;
};

// The shared runner, its output a line per element.
CheckLines checkLines(const QStringList &args)
{
    const rur::testing::CliResult r = rur::testing::cli(args);
    return {r.exitCode, r.out.split(u'\n', Qt::SkipEmptyParts), r.err.split(u'\n', Qt::SkipEmptyParts)};
}

}  // namespace

TEST(ReturnCheckCli, OneLinePerFindingAndExitStatusOneOnlyForErrors)
{
    rur::testing::TestRoot root;
    root.createDataSet();
    root.addCatalogueRow(1, u"Alfa"_s);
    const auto change = [&](const std::function<void(data::TDM1 &)> &work) { rur::testing::withDataSet(root, work); };
    change([](data::TDM1 &dm) { rur::testing::fillValidReturn(dm); });
    CheckLines r = checkLines({u"--root"_s, root.path(), u"check"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringList{u"Kontrola nenašla v přiznání nic k opravě."_s});

    change([](data::TDM1 &dm) { setRow(*dm.Dtabn1, {{u"C210a"_s, 2110.0}}); });
    r = checkLines({u"--root"_s, root.path(), u"check"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 0) << "warnings alone";
    EXPECT_EQ(r.out, QStringList{u"Upozornění: ř. 1 (Dtabn1.C210a): daň 2110 Kč se liší od kontrolního výpočtu 2100 Kč o 10 Kč."_s});

    change([](data::TDM1 &dm) { setRow(*dm.Prp, {{u"Fuc"_s, QVariant()}}); });
    r = checkLines({u"--root"_s, root.path(), u"check"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, (QStringList{u"Chyba: Číslo FÚ (Prp.Fuc): není vyplněno číslo finančního úřadu."_s,
                                  u"Upozornění: ř. 1 (Dtabn1.C210a): daň 2110 Kč se liší od kontrolního výpočtu 2100 Kč o 10 Kč."_s}));

    // xml writes the file, reports the same on stderr and succeeds.
    QTemporaryDir out;
    const QString file = out.path() + u"/dp.xml"_s;
    r = checkLines({u"--root"_s, root.path(), u"xml"_s, u"1"_s, u"--out"_s, file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringList{file});
    EXPECT_TRUE(r.err.contains(u"Chyba: Číslo FÚ (Prp.Fuc): není vyplněno číslo finančního úřadu."_s)) << r.err.join(u'\n').toStdString();

    // --file: the file as it is.
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.replace(R"( rok="2018")", R"( rok="2O18")"));
    }
    r = checkLines({u"--root"_s, root.path(), u"check"_s, u"1"_s, u"--file"_s, file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(u"Chyba: Rok (Prp.R): musí být čtyřmístný rok."_s)) << r.out.join(u'\n').toStdString();
}

