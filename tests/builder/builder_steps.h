#pragma once
// The user's steps in the rules builder, by entry text, as the window turns
// them into calls: pick a target, an action, a parameter; type a parameter
// or a value; pick a value.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "builder/rule_builder.h"
#include "platform/codepage.h"

namespace quorv::test {

inline const CodePage& BuilderCodePage() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    return *cp;
}

inline int EntryIndex(const BuilderBox& box, const std::string& text) {
    for (std::size_t i = 0; i < box.entries.size(); ++i)
        if (box.entries[i] == text) return static_cast<int>(i);
    ADD_FAILURE() << "no entry " << text;
    return -1;
}

struct Builder {
    BuilderState state = InitialBuilderState();

    Builder& Target(const std::string& t) {
        SelectTarget(state, EntryIndex(state.target, t));
        return *this;
    }
    Builder& Action(const std::string& a) {
        SelectAction(state, EntryIndex(state.action, a));
        return *this;
    }
    Builder& Pick(const std::string& p) {
        PickParameter(state, EntryIndex(state.parameter, p));
        return *this;
    }
    // Types the text character by character, one edit change each, as the
    // edit field reports it.
    Builder& Type(const std::string& p) {
        std::string typed;
        if (p.empty()) TypeParameter(state, typed);
        for (char c : p) TypeParameter(state, typed += c);
        return *this;
    }
    Builder& Value(const std::string& v) {
        TypeValue(state, v);
        return *this;
    }
    Builder& PickVal(const std::string& v) {
        PickValue(state, EntryIndex(state.value, v));
        return *this;
    }
    Builder& Folder(const std::string& f) {
        state.folder = f;
        return *this;
    }
    ComposedRule Compose() const { return quorv::Compose(state, BuilderCodePage()); }
    std::string Line() const {
        const ComposedRule r = Compose();
        EXPECT_TRUE(r.ok()) << r.text;
        return r.ok() ? r.text : std::string();
    }
};

}  // namespace quorv::test
