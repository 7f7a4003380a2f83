// quorv: the rule engine and batch runs without a window, for scripts,
// tests and benchmarks.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/verbs.h"
#include "system/system.h"
#include "system/system_access.h"

namespace {

const char kUsage[] =
    "usage:\n"
    "  quorv apply   RULES [--first N] PATH...\n"
    "  quorv preview RULES FILES\n"
    "  quorv rename  RULES FILES [--save-batch F]\n"
    "  quorv undo    --batch F\n"
    "  quorv rules   F.qvr\n"
    "  quorv rules   --write F.qvr LINE...\n"
    "RULES: any mix of --rule LINE (repeatable) and --rules F.qvr, applied in the order given\n"
    "FILES: PATH... | --list F | --dir D [--subdir] [--filter TEXT] [--case] [--exclude]\n";

struct Verb {
    const char* name;
    int (*run)(const quorv::cli::Args&);
};

const Verb kVerbs[] = {
    {"apply", quorv::cli::RunApply},     {"preview", quorv::cli::RunPreview},
    {"rename", quorv::cli::RunRename},   {"undo", quorv::cli::RunUndo},
    {"rules", quorv::cli::RunRules},
};

}  // namespace

int main(int argc, char** argv) {
    // Libraries named without a path come from the system folder only.
    quorv::LoadLibrariesFromTheSystemOnly();
    const quorv::ConsoleOutputText consoleText;
    try {
        if (argc < 2) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        const std::string verb = argv[1];
        if (verb == "--help" || verb == "-h" || verb == "help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        quorv::cli::Args args(argv + 2, argv + argc);
        for (const Verb& v : kVerbs) {
            if (verb == v.name) {
                const int status = v.run(args);
                std::fflush(stdout);
                return status;
            }
        }
        std::fprintf(stderr, "quorv: unknown verb \"%s\" (try quorv --help)\n", verb.c_str());
        return 2;
    } catch (const quorv::cli::UsageError& e) {
        std::fprintf(stderr, "quorv: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorv: %s\n", e.what());
        return 2;
    } catch (...) {
        std::fprintf(stderr, "quorv: unexpected failure\n");
        return 2;
    }
}
