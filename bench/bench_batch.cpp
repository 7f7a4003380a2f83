// Figures for the batch operations on real files (printed, never judged):
//   - Add Dir of 100,000 files against a bare directory walk;
//   - preview of 100,000 files with 10 rules;
//   - rename and undo of 10,000 files against a plain rename loop;
//   - peak memory per listed file;
//   - AppendUnique, rebuild, remove selected and sort on 100,000 entries.
// Usage: bench_batch [FILES] (default 100000).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "batch/file_list.h"
#include "batch/rename_run.h"
#include "batch/undo.h"
#include "engine/apply_rules.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "system/system.h"

namespace fs = std::filesystem;
using quorv::BatchSession;
using quorv::FileSystem;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Peak resident memory in KiB from /proc (0 where there is none).
long PeakKib() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 6, "VmHWM:") == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

class TempFolder {
public:
    TempFolder() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = (fs::temp_directory_path() / ("quorv-bench-" + std::to_string(stamp))).string();
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void MakeFiles(const std::string& folder, std::size_t count, const char* stem) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::string p = folder + "/" + stem + std::to_string(i) + ".jpg";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        if (!f) throw std::runtime_error("cannot create " + p);
        std::fputs("x", f);
        std::fclose(f);
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
        const std::size_t renameCount = count < 10000 ? count : 10000;
        const quorv::Services& system = quorv::SystemServices();
        FileSystem& sys = system.fileSystem();
        const quorv::CodePage& cp = system.codePage();
        TempFolder tmp;
        const std::string big = tmp.path() + "/big";
        fs::create_directories(big);
        auto t = std::chrono::steady_clock::now();
        MakeFiles(big, count, "IMG_");
        std::printf("bench_batch: made %zu files in %.2f s\n", count, Seconds(t));

        // ---- Add Dir against a bare walk (each run twice, the second counted: warm caches)
        double bare = 0;
        std::size_t bareCount = 0;
        for (int round = 0; round < 2; ++round) {
            t = std::chrono::steady_clock::now();
            std::vector<std::string> paths;
            for (const auto& e : fs::directory_iterator(big))
                if (!e.is_directory()) paths.push_back(e.path().string());
            bare = Seconds(t);
            bareCount = paths.size();
        }
        double listing = 0;
        std::size_t listed = 0;
        for (int round = 0; round < 2; ++round) {
            listed = 0;
            t = std::chrono::steady_clock::now();
            sys.FindEntries(big + "/*.*", [&](const quorv::DirEntry&) {
                ++listed;
                return true;
            });
            listing = Seconds(t);
        }
        std::printf("folder search alone: %zu entries in %.3f s\n", listed, listing);
        const long peakBefore = PeakKib();
        double addDir = 0;
        BatchSession session(system);
        for (int round = 0; round < 2; ++round) {
            session.files.RemoveAll();
            t = std::chrono::steady_clock::now();
            session.files.AddFolder(sys, big);
            addDir = Seconds(t);
        }
        const long peakAfter = PeakKib();
        std::printf("add dir: %zu files in %.3f s; bare walk (%zu files) %.3f s; ratio %.2f (goal <= 2)\n",
                    session.files.DisplayedCount(), addDir, bareCount, bare, bare > 0 ? addDir / bare : 0.0);
        if (peakAfter > 0)
            std::printf("peak memory: %.0f bytes per listed file (VmHWM %ld -> %ld KiB)\n",
                        1024.0 * static_cast<double>(peakAfter - peakBefore) /
                            static_cast<double>(session.files.DisplayedCount() ? session.files.DisplayedCount() : 1),
                        peakBefore, peakAfter);

        // ---- preview with 10 rules
        session.rules = {
            "FILENAME PREFIX \"holiday_\"",
            "FILENAME SUFFIX \"_2026\"",
            "FILENAME REPLACE \"IMG\" with \"pic\"",
            "FILENAME UPPERCASE all",
            "FILENAME LOWERCASE all",
            "FILEEXT UPPERCASE all",
            "FILENAME INSERT \"-\" position:3",
            "FILENAME REMOVE right length:1",
            "FILENAME PREFIX digit length:6",
            "FILEEXT LOWERCASE all",
        };
        const quorv::RunServices engine = quorv::MakeRunServices(quorv::EngineContextOf(system));
        t = std::chrono::steady_clock::now();
        quorv::PreviewCommand(session, sys, engine);
        const double preview = Seconds(t);
        std::printf("preview: %zu files, %zu rules in %.3f s (goal < 0.5 s); result text %zu bytes\n",
                    session.files.DisplayedCount(), session.rules.size(), preview, session.resultText.size());

        // ---- rename and undo of renameCount files against a plain rename loop
        const std::string small = tmp.path() + "/small";
        fs::create_directories(small);
        MakeFiles(small, renameCount, "f");
        std::vector<std::string> names;
        for (std::size_t i = 0; i < renameCount; ++i) names.push_back(small + "/f" + std::to_string(i) + ".jpg");
        BatchSession run(system);
        run.files.AddFiles(names);
        run.rules = {"FILEEXT SUFFIX \".x\""};
        quorv::RunServices suffix;
        suffix.newPath = [](const std::string& p, std::int32_t, const std::vector<std::string>&) { return p + ".x"; };
        // Interleaved rounds, the best of each counted: the disk is shared.
        double plain = 1e9, model = 1e9;
        std::size_t failures = 0;
        for (int round = 0; round < 3; ++round) {
            t = std::chrono::steady_clock::now();
            for (const auto& n : names) std::rename(n.c_str(), (n + ".x").c_str());
            for (const auto& n : names) std::rename((n + ".x").c_str(), n.c_str());
            const double p = Seconds(t);
            if (p < plain) plain = p;
            t = std::chrono::steady_clock::now();
            failures += quorv::RenameCommand(run, sys, suffix).failures;
            failures += quorv::UndoRename(run, sys);
            const double m = Seconds(t);
            if (m < model) model = m;
        }
        std::printf("rename + undo: %zu files in %.3f s (%zu failures); plain rename loop %.3f s; ratio %.2f (goal <= 1.3)\n",
                    renameCount, model, failures, plain, plain > 0 ? model / plain : 0.0);

        // ---- model operations on the whole list
        std::vector<std::string> all = session.files.DisplayedList();
        quorv::FileList list(cp, sys.Separator());
        t = std::chrono::steady_clock::now();
        for (const auto& p : all) list.AppendUnique(p);
        for (const auto& p : all) list.AppendUnique(p);  // every call replaces an entry
        const double append = Seconds(t);
        t = std::chrono::steady_clock::now();
        list.SetFilterText("*5.jpg");
        list.SetFilterText("");
        const double rebuild = Seconds(t) / 2;
        t = std::chrono::steady_clock::now();
        list.SortByName();
        const double sort = Seconds(t);
        for (std::size_t i = 0; i < list.DisplayedCount(); i += 2) list.SetSelected(i, true);
        t = std::chrono::steady_clock::now();
        const std::size_t removed = list.RemoveSelected();
        const double remove = Seconds(t);
        std::printf("model on %zu entries: 2 x AppendUnique %.3f s, rebuild %.3f s, sort %.3f s, remove %zu selected %.3f s\n",
                    all.size(), append, rebuild, sort, removed, remove);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_batch: %s\n", e.what());
        return 1;
    } catch (...) {
        std::fprintf(stderr, "bench_batch: unexpected failure\n");
        return 1;
    }
}
