// The rule driver: reads every rule line afresh and lets it change the name,
// the extension, the destination folder or the conversion marker.
#include "engine/apply_rules.h"

#include <string_view>

#include "engine/actions.h"
#include "engine/inserted_values.h"
#include "engine/rule_text.h"
#include "engine/timecode.h"
#include "platform/mbtext.h"

namespace quorv {

namespace {

// A name that grows beyond this (by rules that keep adding text) can never
// be a file name; a rule that would make it longer has no effect, so no rule
// list can exhaust memory.
constexpr std::size_t kMaxNameLength = std::size_t{1} << 20;

// Buffers grown beyond this are released after the call.
constexpr std::size_t kKeptCapacity = 64 * 1024;

enum class Target { Name, Extension };

// The split of the current name at its last dot into the part a rule works
// on and the text it keeps.
struct NameSplit {
    std::string_view kept;
    bool keptInFront = false;  // the extension's kept text is the name and dot before it
};

NameSplit SplitName(const CodePage& cp, std::string_view name, Target target, std::string& part) {
    const std::size_t dot = mb::FindLastChar(cp, name, '.');
    const std::size_t d = dot == mb::npos ? name.size() : dot;
    NameSplit split;
    if (target == Target::Name) {
        part.assign(name.data(), d);
        split.kept = name.substr(d);
    } else {
        const std::size_t partStart = d == name.size() ? name.size() : d + 1;
        part.assign(name.data() + partStart, name.size() - partStart);
        split.kept = name.substr(0, partStart);
        split.keptInFront = true;
    }
    return split;
}

void Join(const NameSplit& split, const std::string& part, std::string& name, std::string& scratch) {
    if (part.size() + split.kept.size() > kMaxNameLength) return;
    scratch.clear();
    if (split.keptInFront) {
        scratch.append(split.kept.data(), split.kept.size());
        scratch.append(part);
    } else {
        scratch.append(part);
        scratch.append(split.kept.data(), split.kept.size());
    }
    name.swap(scratch);
}

struct Run {
    const EngineContext& ctx;
    const std::string& path;
    std::int32_t fileNumber;
    std::string& name;
    std::string destination;
    std::string marker;
    std::string& part;
    std::string& scratch;
};

// Working buffers kept per thread, so that a run over many files does not
// allocate them again for every file.
struct Buffers {
    std::string name, part, scratch;
};

void ApplyLine(Run& run, std::string_view line) {
    const CodePage& cp = *run.ctx.codePage;
    std::string_view targetWord, targetRemainder;
    if (!SplitAtBlank(cp, line, targetWord, targetRemainder)) return;

    if (targetWord == "DESTDIR") {
        run.destination.assign(targetRemainder.data(), targetRemainder.size());
        return;
    }
    if (targetWord == "PICCONVERT") {
        run.marker = kConversionMarker;
        run.marker.append(targetRemainder.data(), targetRemainder.size());
        return;
    }
    if (targetWord == "FORMAT") {
        const NameSplit split = SplitName(cp, run.name, Target::Name, run.part);
        if (ApplyFormat(cp, targetRemainder, run.fileNumber, run.part)) Join(split, run.part, run.name, run.scratch);
        return;
    }

    // FILENAME, and every other word read as FILEEXT.
    const Target target = targetWord == "FILENAME" ? Target::Name : Target::Extension;
    std::string_view action, remainder;
    if (!SplitAtBlank(cp, targetRemainder, action, remainder)) return;
    const NameSplit split = SplitName(cp, run.name, target, run.part);
    bool changed = false;
    if (action == "PREFIX" || action == "SUFFIX") {
        changed = AddText(run.ctx, run.path, run.fileNumber, remainder, action == "PREFIX", run.part);
    } else if (action == "INSERT") {
        changed = InsertText(cp, remainder, run.part);
    } else if (action == "REPLACE") {
        changed = ReplaceText(cp, remainder, run.part);
    } else if (action == "REMOVE") {
        changed = ChangeCase(cp, CaseAction::Remove, remainder, run.part);
    } else if (action == "UPPERCASE") {
        changed = ChangeCase(cp, CaseAction::Upper, remainder, run.part);
    } else if (action == "LOWERCASE") {
        changed = ChangeCase(cp, CaseAction::Lower, remainder, run.part);
    }
    if (changed) Join(split, run.part, run.name, run.scratch);
}

}  // namespace

std::size_t FindConversionMarker(std::string_view path) {
    const std::size_t at = path.find(kConversionMarker);
    return at == 0 ? std::string_view::npos : at;
}

bool RuleReadsTagsOrPictures(const CodePage& cp, std::string_view line) {
    // The same words, in the same order, as ApplyLine and AddText read them.
    std::string_view targetWord, targetRemainder, action, remainder, kind, afterKind;
    if (!SplitAtBlank(cp, line, targetWord, targetRemainder)) return false;
    if (targetWord == "DESTDIR" || targetWord == "PICCONVERT" || targetWord == "FORMAT") return false;
    if (!SplitAtBlank(cp, targetRemainder, action, remainder)) return false;
    if (action != "PREFIX" && action != "SUFFIX") return false;
    if (mb::FindChar(cp, remainder, '"') != mb::npos) return false;  // a quoted text
    if (!SplitAtBlank(cp, remainder, kind, afterKind)) return false;
    return IsTagOrPictureKind(kind);
}

EngineContext EngineContextOf(const Services& services) {
    EngineContext ctx;
    ctx.codePage = &services.codePage();
    ctx.clock = &services.clock();
    ctx.fileSystem = &services.fileSystem();
    ctx.tags = &services.tags();
    ctx.pictures = &services.pictures();
    return ctx;
}

std::string ApplyRules(const EngineContext& ctx, const std::string& path, std::int32_t fileNumber,
                       const std::vector<std::string>& rules) {
    // A context without a code page cannot read a rule: nothing changes.
    if (!ctx.codePage) return path;
    const CodePage& cp = *ctx.codePage;

    const std::size_t sep = mb::FindLastChar(cp, path, ctx.Separator());
    const std::size_t nameStart = sep == mb::npos ? 0 : sep + 1;

    thread_local Buffers buffers;
    buffers.name.assign(path, nameStart, std::string::npos);
    Run run{ctx, path, fileNumber, buffers.name, {}, {}, buffers.part, buffers.scratch};
    for (const std::string& line : rules) ApplyLine(run, line);

    std::string result;
    if (!run.destination.empty()) {
        result.reserve(run.destination.size() + run.name.size() + run.marker.size());
        result = run.destination;
    } else {
        result.reserve(nameStart + run.name.size() + run.marker.size());
        result.assign(path, 0, nameStart);
    }
    result += run.name;
    result += run.marker;
    if (buffers.name.capacity() > kKeptCapacity || buffers.part.capacity() > kKeptCapacity ||
        buffers.scratch.capacity() > kKeptCapacity) {
        buffers = Buffers{};  // give back what an unusually long name took
    }
    return result;
}

}  // namespace quorv
