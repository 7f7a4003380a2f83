// The main window's benchmark (figures only, never a failure): 100,000
// files in a folder tree, gathered with Add Dir, previewed, then 10,000 of
// them renamed and the rename undone, each timed in the window from the
// click until the window takes messages again, and the same work done by
// the command line; the ratios, whether the wait window repainted during a
// run, how long the window took to answer after each run, and the peak
// working set of Quorv2.exe.
//
// Run: build.sh bench (under Wine), or cmake/wine-run.sh e2e_window_bench.exe
// [folders files-per-folder] to try other sizes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/resource.h"
#include "tests/e2e/driver/e2e_files_win32.h"
#include "tests/e2e/driver/e2e_program_win32.h"
#include "tests/e2e/driver/e2e_screen_win32.h"
#include "tests/e2e/driver/e2e_window_win32.h"

namespace quorv::e2e {
namespace {

constexpr int kTimeout = 600000;  // ten minutes for any one step
const char kRule[] = "FILENAME PREFIX \"r_\"";
// Colour 3 of the default theme ("Silver") darkened by 25: the wait window's bar.
const COLORREF kBarColour = RGB(0xC5 - 25, 0xC7 - 25, 0xD1 - 25);

struct Tree {
    std::string root;
    int files = 0;
    int selected = 0;  // names starting with "sel_": what the filter "sel_*" shows
};

// folders x perFolder empty files; the first tenth of the folders hold
// the "sel_" names.
Tree MakeTree(const std::string& root, int folders, int perFolder) {
    Tree tree{root, 0, 0};
    MakeFolders(root);
    char name[64];
    for (int f = 0; f < folders; ++f) {
        std::snprintf(name, sizeof name, "\\d%04d", f);
        const std::string folder = root + name;
        MakeFolders(folder);
        const bool selected = f < folders / 10;
        for (int i = 0; i < perFolder; ++i) {
            std::snprintf(name, sizeof name, "\\%s_%05d.dat", selected ? "sel" : "oth", i);
            const HANDLE file = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            ::CloseHandle(file);
            ++tree.files;
            if (selected) ++tree.selected;
        }
    }
    return tree;
}

// Runs the command line with its output into a file; seconds, or -1.
double RunCommandLine(const std::string& arguments, const std::string& output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE out = ::CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return -1;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = out;
    std::string command = "\"" + Build().commandLine + "\" " + arguments;
    PROCESS_INFORMATION process{};
    const double started = Seconds();
    const BOOL ok = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                     &process);
    ::CloseHandle(out);
    if (!ok) return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = Seconds() - started;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return seconds;
}

struct Timing {
    double busy = -1;     // click until the window takes messages again
    double painted = -1;  // and until nothing waits to be painted
    double answer = -1;   // from the end of the run's loop (wait window gone) until idle
    int fillings = 0;     // different bar fillings the wait window showed
};

// Clicks a button and waits until the window is idle, watching the wait
// window meanwhile (it lives on a thread of its own; the window's thread is
// only asked whether it takes posted messages again).
Timing TimedClick(const Program& program, int button) {
    Timing t;
    const double started = Seconds();
    if (!program.Control(button).Click()) return t;
    double waitSeen = -1;
    int last = -1;
    for (;;) {
        Window wait;
        for (const Window& top : program.TopWindows())
            if (top != program.main() && top.Caption() == "Please Wait...") wait = top;
        if (wait) {
            const RECT client = wait.ClientOnScreen();
            const RECT row{client.left + 22, client.top + 106, client.left + 278, client.top + 107};
            const ScreenImage image(row);
            const int filled = (row.right - row.left) - image.CountOtherThan(kBarColour, row);
            if (wait.Visible()) {
                waitSeen = Seconds();
                if (filled != last) ++t.fillings;
                last = filled;
            }
        }
        if (program.WaitIdle(100)) break;
        if (Seconds() - started > kTimeout / 1000.0) return t;
    }
    const double idle = Seconds();
    t.busy = idle - started;
    if (waitSeen > 0) t.answer = idle - waitSeen;
    program.WaitPainted(kTimeout);
    t.painted = Seconds() - started;
    return t;
}

void PrintTiming(const char* what, const Timing& t) {
    std::printf("  %-34s %8.2f s  (painted after %.2f s", what, t.busy, t.painted);
    if (t.answer >= 0) std::printf("; idle %.2f s after the wait window was last seen", t.answer);
    if (t.fillings > 0) std::printf("; wait window showed %d bar fillings", t.fillings);
    std::printf(")\n");
}

void PrintRatio(const char* what, double window, double commandLine) {
    if (window > 0 && commandLine > 0)
        std::printf("  %-34s %8.2f x  (window %.2f s, command line %.2f s; goal: within 2 x)\n", what,
                    window / commandLine, window, commandLine);
}

struct CommandLineTimes {
    double preview = -1;
    double rename = -1;
    double undo = -1;
};

// The window's work through the command line: a preview of the whole tree
// (scan included), a rename of the "sel_" files (scan and filter included)
// saving a batch file, and the undo from that batch file.
CommandLineTimes CommandLineRun(const ProgramFolder& folder, const Tree& tree, const char* when) {
    const std::string rules = "--rule \"FILENAME PREFIX \\\"r_\\\"\"";
    const std::string files = "--dir \"" + tree.root + "\" --subdir";
    const std::string batch = folder.At("cli.qvb");
    CommandLineTimes t;
    std::printf("quorv.exe (under Wine), %s:\n", when);
    t.preview = RunCommandLine("preview " + rules + " " + files, folder.At("cli-preview.txt"));
    std::printf("  %-34s %8.2f s\n", ("preview --dir of " + std::to_string(tree.files) + " files").c_str(), t.preview);
    t.rename = RunCommandLine("rename " + rules + " " + files + " --filter \"sel_*\" --save-batch \"" + batch + "\"",
                              folder.At("cli-rename.txt"));
    std::printf("  %-34s %8.2f s\n", ("rename --filter of " + std::to_string(tree.selected) + " files").c_str(),
                t.rename);
    t.undo = RunCommandLine("undo --batch \"" + batch + "\"", folder.At("cli-undo.txt"));
    std::printf("  %-34s %8.2f s\n", "undo --batch", t.undo);
    if (!Exists(tree.root + "\\d0000\\sel_00000.dat")) std::printf("  (the files were not moved back)\n");
    return t;
}

// The working set now and at its peak so far.
void PrintMemory(const Program& program, const char* when) {
    const MemoryFigures m = program.Memory();
    std::printf("  %-34s %8.1f MB  (peak so far %.1f MB)\n", (std::string("working set ") + when).c_str(),
                static_cast<double>(m.workingSet) / (1024.0 * 1024.0),
                static_cast<double>(m.peakWorkingSet) / (1024.0 * 1024.0));
}

int Run(int folders, int perFolder) {
    ProgramFolder folder("window-bench");
    if (!folder.ok()) {
        std::printf("window benchmark: no program folder\n");
        return 0;
    }
    double started = Seconds();
    const Tree tree = MakeTree(folder.At("tree"), folders, perFolder);
    std::printf("window benchmark: %d files in %d folders (%d named sel_*), made in %.1f s\n", tree.files, folders,
                tree.selected, Seconds() - started);
    folder.WriteFavourite("Prefix", {kRule});
    SettingsRecord settings;
    settings.lastFolder = tree.root;
    settings.subdir = true;
    folder.WriteSettings(settings);
    const CommandLineTimes before = CommandLineRun(folder, tree, "before the window");

    Timing addDir, preview, filter, rename, undo;
    MemoryFigures memory;
    double closing = -1;
    int listed = 0, filtered = 0;
    LRESULT resultLength = 0;
    {
        Program program(folder, kTimeout);
        if (!program.running()) {
            std::printf("window benchmark: Quorv2.exe did not start\n");
            return 0;
        }
        std::printf("Quorv2.exe (under Wine):\n  %-34s %8.2f s\n", "start until idle and painted",
                    program.startSeconds());
        PrintMemory(program, "at start");

        // Add Dir: the browser opens on the tree; timed from OK.
        program.Click(IDC_ADD_DIR);
        const FolderBrowser browser = program.WaitForFolderBrowser();
        WaitFor([&] { return ::lstrcmpiA(browser.Status().c_str(), tree.root.c_str()) == 0; });
        started = Seconds();
        if (browser.window() && browser.Ok() && program.WaitIdle(kTimeout)) {
            addDir.busy = Seconds() - started;
            program.WaitPainted(kTimeout);
            addDir.painted = Seconds() - started;
        }
        const Window list = program.Control(IDC_FILE_LIST);
        listed = list.Count();
        PrintTiming(("Add Dir of " + std::to_string(listed) + " files").c_str(), addDir);
        std::printf("  %-34s %8d pixels\n", "file list horizontal extent", list.HorizontalExtent());
        PrintMemory(program, "after Add Dir");

        program.ChooseItem(IDC_FAVOURITES, 0);
        preview = TimedClick(program, IDC_PREVIEW);
        resultLength = program.Control(IDC_RESULT_LIST).Ask(WM_GETTEXTLENGTH, 0, 0, 0);
        PrintTiming(("Preview of " + std::to_string(listed) + " files").c_str(), preview);
        std::printf("  %-34s %8.1f MB\n", "result text", static_cast<double>(resultLength) / 1e6);
        PrintMemory(program, "after Preview");

        started = Seconds();
        program.TypeInto(IDC_FILTER, "sel_*");
        filter.busy = Seconds() - started;
        filter.painted = filter.busy;
        filtered = list.Count();
        PrintTiming(("filter \"sel_*\" typed (5 rebuilds) -> " + std::to_string(filtered)).c_str(), filter);

        rename = TimedClick(program, IDC_RENAME);
        PrintTiming(("Rename of " + std::to_string(filtered) + " files").c_str(), rename);
        const bool renamed = Exists(tree.root + "\\d0000\\r_sel_00000.dat");
        undo = TimedClick(program, IDC_UNDO);
        PrintTiming(("Undo of " + std::to_string(filtered) + " files").c_str(), undo);
        const bool undone = Exists(tree.root + "\\d0000\\sel_00000.dat");
        if (!renamed || !undone) std::printf("  (the files were not renamed and moved back as expected)\n");

        memory = program.Memory();
        started = Seconds();
        if (program.Close(true)) closing = Seconds() - started;
        std::printf("  %-34s %8.2f s\n", "closing (exit question, settings)", closing);
        std::printf("  %-34s %8.1f MB  (goal: under 150 MB)\n", "peak working set",
                    static_cast<double>(memory.peakWorkingSet) / (1024.0 * 1024.0));
    }

    const CommandLineTimes after = CommandLineRun(folder, tree, "after the window");
    const auto best = [](double a, double b) { return a < 0 ? b : b < 0 ? a : std::min(a, b); };
    const double cliPreview = best(before.preview, after.preview);
    const double cliRename = best(before.rename, after.rename);
    const double cliUndo = best(before.undo, after.undo);
    const long long cliBytes = FileSize(folder.At("cli-preview.txt"));
    if (cliBytes >= 0 && resultLength > 0)
        std::printf("  %-34s %8.1f MB (the window's: %.1f MB)\n", "preview output",
                    static_cast<double>(cliBytes) / 1e6, static_cast<double>(resultLength) / 1e6);

    std::printf("window / command line (the faster of its two runs):\n");
    PrintRatio("Add Dir + Preview / preview --dir", addDir.busy + preview.busy, cliPreview);
    PrintRatio("Rename / rename (with its scan)", rename.busy, cliRename);
    PrintRatio("Undo / undo", undo.busy, cliUndo);
    std::printf("cleaning up...\n");
    return 0;
}

}  // namespace
}  // namespace quorv::e2e

int main(int argc, char** argv) {
    const int folders = argc > 2 ? std::atoi(argv[1]) : 250;
    const int perFolder = argc > 2 ? std::atoi(argv[2]) : 400;
    return quorv::e2e::Run(folders > 0 ? folders : 250, perFolder > 0 ? perFolder : 400);
}
