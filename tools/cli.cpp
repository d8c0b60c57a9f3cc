#include "cli.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/files.h"
#include "sample.h"

namespace vh::sample {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

constexpr std::string_view kUsage =
    "Usage: vhtool sample DIR [--size small|full] [--seed N] [--no-clubcomp] [--force]\n"
    "       vhtool --help\n"
    "\n"
    "  sample DIR         Write a sample data directory into DIR (created if needed): every\n"
    "                     file the editor opens, plus clubcomp.dat and index.dat.\n"
    "  --size small|full  small: a few hundred persons (the default); full: the largest\n"
    "                     tables the editor holds (50000 persons, 29998 clubs, ...).\n"
    "  --seed N           A whole number from 0 to 18446744073709551615 (default 1). The\n"
    "                     same seed and size always write the same files.\n"
    "  --no-clubcomp      Leave clubcomp.dat out.\n"
    "  --force            Write over the data files DIR already holds. Without it, a\n"
    "                     directory holding any of them is left untouched.\n";

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
    std::uint64_t v = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end) return std::nullopt;
    return v;
}

std::string Quoted(std::string_view before, std::string_view text) {
    std::string s(before);
    s.append("'").append(text).append("'");
    return s;
}

int Usage(std::ostream& err, const std::string& problem) {
    err << "vhtool: " << problem << "\nTry 'vhtool --help'.\n";
    return kBadArguments;
}

int Sample(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SampleOptions opt;
    std::optional<std::string> dir;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string_view a = args[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string_view::npos) {
            value = a.substr(eq + 1);
            a = a.substr(0, eq);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue) return true;
            if (i + 1 >= args.size()) return false;
            value = args[++i];
            return true;
        };
        if (a == "--size") {
            if (!takeValue()) return Usage(err, "--size needs a value: small or full");
            const auto size = ParseSize(value);
            if (!size) return Usage(err, Quoted("unknown size ", value) + ": use small or full");
            opt.size = *size;
        } else if (a == "--seed") {
            if (!takeValue()) return Usage(err, "--seed needs a value");
            const auto seed = ParseSeed(value);
            if (!seed)
                return Usage(err, Quoted("", value) +
                                      " is not a seed: use a whole number from 0 to "
                                      "18446744073709551615");
            opt.seed = *seed;
        } else if (hasValue && (a == "--no-clubcomp" || a == "--force")) {
            return Usage(err, std::string(a) + " takes no value");
        } else if (a == "--no-clubcomp") {
            opt.clubcomp = false;
        } else if (a == "--force") {
            opt.overwrite = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage(err, "unknown option '" + args[i] + "'");
        } else if (dir) {
            return Usage(err, "more than one directory given ('" + *dir + "', '" + args[i] + "')");
        } else {
            dir = args[i];
        }
    }
    if (!dir || dir->empty()) return Usage(err, "sample needs the directory to write into");

    const std::filesystem::path path = platform::Utf8Path(*dir);
    if (!opt.overwrite) {
        if (auto existing = ExistingDataFile(path)) {
            err << "vhtool: " << *dir << " already holds " << *existing
                << "; nothing was written. Use --force to write over its data files.\n";
            return kFailed;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    SampleSummary s;
    try {
        s = WriteSample(path, opt);
    } catch (const std::exception& e) {
        err << "vhtool: " << e.what() << "\n";
        return kFailed;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    out << "Wrote a " << SizeName(opt.size) << " sample (seed " << opt.seed << ") to " << *dir
        << " in " << ms << " ms:\n"
        << "  " << s.persons << " persons (" << s.players << " players, " << s.nonPlayers
        << " staff), " << s.clubs << " clubs, " << s.nations << " nations, " << s.cities
        << " cities, " << s.stadiums << " stadiums,\n"
        << "  " << s.competitions << " competitions, " << s.colours << " colours, " << s.continents
        << " continents, " << s.firstNames << " first, " << s.secondNames << " second and "
        << s.commonNames << " common names" << (opt.clubcomp ? "" : "; no clubcomp.dat") << ".\n";
    return kOk;
}

}  // namespace

int RunVhtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kBadArguments;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return kOk;
    }
    if (command == "sample") {
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--help" || args[i] == "-h") {
                out << kUsage;
                return kOk;
            }
        }
        return Sample(args, out, err);
    }
    return Usage(err, "unknown command '" + command + "'");
}

}  // namespace vh::sample
