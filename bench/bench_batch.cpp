// Figures for the batch operations on real files (printed, never judged):
//   - Add Dir of 100,000 files against a bare directory walk;
//   - preview of 100,000 files with 10 rules (with the new paths alone and
//     the planning alone);
//   - rename and undo of 10,000 files, each against the file system's own
//     safe moves there and back (the floor), the rename also with its journal,
//     the undo also against a status read per file (what it needs to clear
//     the marks before each move, read on a second thread beside the moves:
//     one after the other they would cost that much more);
//   - peak memory per listed file;
//   - AppendUnique, rebuild, remove selected and sort on 100,000 entries.
// Usage: bench_batch [FILES] (default 100000).
#include <algorithm>
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
#include "batch/run_journal.h"
#include "batch/run_plan.h"
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
        quorv::RunServices engine = quorv::MakeRunServices(quorv::EngineContextOf(system));
        engine.threads = quorv::NewPathThreads(cp, session.rules);
        // The new paths alone (the rule engine), the plan alone (the checks
        // and the order, the planning a preview adds), then the whole preview.
        std::vector<std::string> olds = session.files.DisplayedList(), news;
        news.reserve(olds.size());
        t = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < olds.size(); ++i)
            news.push_back(engine.newPath(olds[i], static_cast<std::int32_t>(i + 1), session.rules));
        const double newPaths = Seconds(t);
        quorv::PlanInput input;
        input.Reserve(olds.size());
        for (std::size_t i = 0; i < olds.size(); ++i)
            input.Add(news[i] == olds[i] ? quorv::PlanKind::Skip : quorv::PlanKind::Move, &olds[i], &news[i]);
        t = std::chrono::steady_clock::now();
        const quorv::RunPlan plan = quorv::PlanRun(sys, cp, input);
        const double planning = Seconds(t);
        t = std::chrono::steady_clock::now();
        const std::size_t refused = quorv::PreviewCommand(session, sys, engine).failures;
        const double preview = Seconds(t);
        std::printf("preview: %zu files, %zu rules in %.3f s (goal < 0.15 s; %zu refused); new paths alone on one thread %.3f s, "
                    "planning alone %.3f s (%zu steps); %u threads; result text %zu bytes\n",
                    session.files.DisplayedCount(), session.rules.size(), preview, refused, newPaths, planning,
                    plan.steps.size(), engine.threads, session.resultText.size());

        // ---- rename and undo of renameCount files, each against the floor:
        // the file system's own safe moves (failing when the target exists),
        // there and back.
        const std::string small = tmp.path() + "/small";
        fs::create_directories(small);
        MakeFiles(small, renameCount, "f");
        std::vector<std::string> names, targets;
        for (std::size_t i = 0; i < renameCount; ++i) {
            names.push_back(small + "/f" + std::to_string(i) + ".jpg");
            targets.push_back(names.back() + ".x");
        }
        BatchSession run(system);
        run.files.AddFiles(names);
        run.rules = {"FILEEXT SUFFIX \".x\""};
        quorv::RunServices suffix;
        suffix.newPath = [](const std::string& p, std::int32_t, const std::vector<std::string>&) { return p + ".x"; };
        quorv::RunServices journaled = suffix;
        const std::string journalPath = tmp.path() + "/RunJournal.qvb";
        journaled.journal = [&](const quorv::RunJournal& j) { return quorv::WriteRunJournal(sys, journalPath, j).saved(); };
        // Interleaved rounds, the best of each counted: the disk is shared.
        double there = 1e9, back = 1e9, rename = 1e9, undo = 1e9, renameJournal = 1e9, status = 1e9;
        std::size_t failures = 0;
        for (int round = 0; round < 3; ++round) {
            t = std::chrono::steady_clock::now();
            for (std::size_t i = 0; i < renameCount; ++i) failures += !sys.Move(names[i], targets[i]);
            there = std::min(there, Seconds(t));
            t = std::chrono::steady_clock::now();
            for (std::size_t i = 0; i < renameCount; ++i) failures += !sys.Move(targets[i], names[i]);
            back = std::min(back, Seconds(t));
            t = std::chrono::steady_clock::now();
            failures += quorv::RenameCommand(run, sys, suffix).failures;
            rename = std::min(rename, Seconds(t));
            // What Undo adds to the floor at least: a status read per file,
            // for the marks it clears before the move.
            t = std::chrono::steady_clock::now();
            for (std::size_t i = 0; i < renameCount; ++i) {
                quorv::FileStatus fileStatus;
                failures += !sys.GetStatus(targets[i], fileStatus);
            }
            status = std::min(status, Seconds(t));
            t = std::chrono::steady_clock::now();
            failures += quorv::UndoRename(run, sys);
            undo = std::min(undo, Seconds(t));
            t = std::chrono::steady_clock::now();
            failures += quorv::RenameCommand(run, sys, journaled).failures;
            sys.Delete(journalPath);
            renameJournal = std::min(renameJournal, Seconds(t));
            failures += quorv::UndoRename(run, sys);
        }
        std::printf("safe-move floor for %zu files: there %.3f s, back %.3f s (%zu failures)\n", renameCount, there, back,
                    failures);
        std::printf("rename: %.3f s, ratio %.2f to the floor (goal <= 1.2); with its journal on disk %.3f s, ratio %.2f\n",
                    rename, rename / there, renameJournal, renameJournal / there);
        std::printf("undo: %.3f s, ratio %.2f to the floor (goal <= 1.2); a status read per file alone %.3f s "
                    "(read beside the moves; floor plus that: ratio %.2f)\n",
                    undo, undo / back, status, (back + status) / back);

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
