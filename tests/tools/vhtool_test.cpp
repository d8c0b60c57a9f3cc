#include <gtest/gtest.h>

#include <sstream>

#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/cli.h"
#include "tools/sample.h"

namespace vh {
namespace {

using test::TempDir;

TEST(Vhtool, WritesTheSampleIntoANewDirectory) {
    TempDir tmp;
    const auto dir = tmp / "a" / "b";
    const Outcome r = Vhtool({"sample", dir.string(), "--seed=7", "--size", "small"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("seed 7"), std::string::npos);
    sample::SampleOptions opt;
    opt.seed = 7;
    for (const auto& f : sample::BuildSample(opt).files)
        EXPECT_TRUE(test::ReadFile(dir / f.name) == f.bytes) << f.name;

    EXPECT_EQ(Vhtool({"sample", "--no-clubcomp", (tmp / "c").string()}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(tmp / "c" / "clubcomp.dat"));
}

TEST(Vhtool, LeavesExistingDataAloneWithoutForce) {
    TempDir dir;
    test::WriteFile(dir / "stadium.dat", std::string("precious"));
    test::WriteFile(dir / "staff.dat", std::string("precious too"));
    const auto before = test::Snapshot(dir.Path());

    const Outcome r = Vhtool({"sample", dir.Str()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("already holds stadium.dat"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--force"), std::string::npos) << r.err;
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);

    EXPECT_EQ(Vhtool({"sample", dir.Str(), "--force"}).status, 0);
    EXPECT_TRUE(test::ReadFile(dir / "staff.dat") !=
                test::Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's', ' ', 't', 'o', 'o'}));
}

TEST(Vhtool, BadArgumentsWriteNothing) {
    TempDir tmp;
    const std::string dir = (tmp / "out").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "Usage"},
        {{"smaple", dir}, "unknown command 'smaple'"},
        {{"sample"}, "needs the directory"},
        {{"sample", dir, "--size", "huge"}, "unknown size 'huge'"},
        {{"sample", dir, "--size"}, "--size needs a value"},
        {{"sample", dir, "--seed", "-1"}, "'-1' is not a seed"},
        {{"sample", dir, "--seed", "12x"}, "'12x' is not a seed"},
        {{"sample", dir, "--seed", "18446744073709551616"}, "is not a seed"},
        {{"sample", dir, "--frce"}, "unknown option '--frce'"},
        {{"sample", dir, "--force=yes"}, "takes no value"},
        {{"sample", dir, "other"}, "more than one directory"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome r = Vhtool(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir)) << message;
    }

    const Outcome help = Vhtool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("vhtool sample DIR"), std::string::npos);
}

TEST(Vhtool, ReportsAFailureToWrite) {
    TempDir tmp;
    test::WriteFile(tmp / "file", std::string("x"));
    const Outcome r = Vhtool({"sample", (tmp / "file").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("vhtool: "), std::string::npos);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace vh
