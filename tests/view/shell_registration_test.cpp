// The main program's registration of the context-menu extension, through a
// scripted DLL: every message of the registration table, their order, what
// is called, and the state the "ShellMenu" box ends in.
#include "view/shell_registration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace quorv {
namespace {

using Messages = std::vector<std::string>;
using Exports = std::map<ShellExport, std::int32_t>;

constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005u);
constexpr std::int32_t kClassError = static_cast<std::int32_t>(0x80040201u);

// A DLL that exports what the script says; calls, loads and unloads are logged.
struct Script {
    bool loads = true;
    std::uint32_t loadError = 126;
    Exports exports;
    std::vector<std::string> log;
};

class ScriptedModule final : public ShellServerModule {
public:
    explicit ScriptedModule(Script& script) : script_(script) {}
    ~ScriptedModule() override { script_.log.push_back("unload"); }
    std::optional<std::int32_t> Call(ShellExport which) override {
        const auto it = script_.exports.find(which);
        if (it == script_.exports.end()) {
            script_.log.push_back(std::string("missing ") + ShellExportName(which));
            return std::nullopt;
        }
        script_.log.push_back(std::string("call ") + ShellExportName(which));
        return it->second;
    }

private:
    Script& script_;
};

class ScriptedLoader final : public ShellServerLoader {
public:
    explicit ScriptedLoader(Script& script) : script_(script) {}
    std::unique_ptr<ShellServerModule> Load(const std::string& path, std::uint32_t& lastError) override {
        script_.log.push_back("load " + path);
        if (!script_.loads) {
            lastError = script_.loadError;
            return nullptr;
        }
        return std::make_unique<ScriptedModule>(script_);
    }

private:
    Script& script_;
};

const std::string kFolder = "C:\\Program Files\\Quorvane 2\\";
const std::string kDll = "C:\\Program Files\\Quorvane 2\\QuorvShell.dll";
const Exports kAllExports = {{ShellExport::RegisterServer, kOk},
                             {ShellExport::UnregisterServer, kOk},
                             {ShellExport::CanUnloadNow, kOk}};

Exports With(Exports exports, ShellExport which, std::int32_t result) {
    exports[which] = result;
    return exports;
}
Exports Without(Exports exports, ShellExport which) {
    exports.erase(which);
    return exports;
}

struct BoxCase {
    const char* what;
    bool checkedAfterClick;
    bool loads;
    Exports exports;
    Messages messages;
    bool checkedAtEnd;
};

TEST(ShellRegistration, ClickOnTheShellMenuBox) {
    const BoxCase cases[] = {
        {"register", true, true, kAllExports, {}, true},
        {"register: the DLL is missing", true, false, kAllExports,
         {"Unable to load " + kDll + ", Error ID:126"}, false},
        {"register: no DllRegisterServer", true, true, Without(kAllExports, ShellExport::RegisterServer),
         {"Dll register error!"}, false},
        {"register: access denied", true, true, With(kAllExports, ShellExport::RegisterServer, kAccessDenied),
         {"Register failed! Error -2147024891"}, false},
        {"register: S_FALSE is success", true, true, With(kAllExports, ShellExport::RegisterServer, kFalse),
         {}, true},
        {"unregister", false, true, kAllExports, {}, false},
        {"unregister: the DLL is missing", false, false, kAllExports,
         {"Unable to load " + kDll + ", Error ID:126"}, true},
        {"unregister: the DLL is in use", false, true, With(kAllExports, ShellExport::CanUnloadNow, kFalse),
         {"Please close the opened \"Windows Explorer\" first."}, true},
        {"unregister: no DllCanUnloadNow, then success", false, true,
         Without(kAllExports, ShellExport::CanUnloadNow), {"UnLoad entry point get error!"}, false},
        {"unregister: no DllCanUnloadNow and no DllUnregisterServer", false, true,
         Without(Without(kAllExports, ShellExport::CanUnloadNow), ShellExport::UnregisterServer),
         {"UnLoad entry point get error!", "Unregister entry point get error!"}, true},
        {"unregister: no DllUnregisterServer", false, true, Without(kAllExports, ShellExport::UnregisterServer),
         {"Unregister entry point get error!"}, true},
        {"unregister fails", false, true, With(kAllExports, ShellExport::UnregisterServer, kClassError),
         {"Unregister failed! Error -2147220991"}, true},
        {"unregister: S_FALSE is a failure", false, true, With(kAllExports, ShellExport::UnregisterServer, kFalse),
         {"Unregister failed! Error 1"}, true},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.what);
        Script script;
        script.loads = c.loads;
        script.exports = c.exports;
        ScriptedLoader loader(script);
        const ShellMenuBoxOutcome outcome = OnShellMenuBoxClicked(loader, kFolder, c.checkedAfterClick);
        EXPECT_EQ(outcome.messages, c.messages);
        EXPECT_EQ(outcome.checked, c.checkedAtEnd);
        // Whatever happened, a loaded DLL is unloaded again.
        const auto loads = std::count_if(script.log.begin(), script.log.end(),
                                         [](const std::string& s) { return s.rfind("load ", 0) == 0; });
        const auto unloads = std::count(script.log.begin(), script.log.end(), std::string("unload"));
        EXPECT_EQ(unloads, c.loads ? loads : 0);
    }
}

TEST(ShellRegistration, WhatIsCalledInWhichOrder) {
    Script script;
    script.exports = kAllExports;
    ScriptedLoader loader(script);
    EXPECT_TRUE(RegisterShellExtension(loader, kFolder).succeeded);
    EXPECT_EQ(script.log, (std::vector<std::string>{"load " + kDll, "call DllRegisterServer", "unload"}));

    script.log.clear();
    EXPECT_TRUE(UnregisterShellExtension(loader, kFolder).succeeded);
    EXPECT_EQ(script.log, (std::vector<std::string>{"load " + kDll, "call DllCanUnloadNow",
                                                    "call DllUnregisterServer", "unload"}));

    // In use: DllUnregisterServer is never called.
    script.log.clear();
    script.exports[ShellExport::CanUnloadNow] = kFalse;
    EXPECT_FALSE(UnregisterShellExtension(loader, kFolder).succeeded);
    EXPECT_EQ(script.log, (std::vector<std::string>{"load " + kDll, "call DllCanUnloadNow", "unload"}));
}

TEST(ShellRegistration, AtStartANoneWritableRegistrationOfThisDllIsLeftAlone) {
    Script script;
    script.exports = With(kAllExports, ShellExport::RegisterServer, kAccessDenied);
    ScriptedLoader loader(script);
    // Registered from this very DLL (letter case aside): nothing is loaded or shown.
    const ShellRegistrationResult same =
        RegisterShellExtensionAtStart(loader, kFolder, "c:\\program files\\quorvane 2\\QuorvShell.dll");
    EXPECT_TRUE(same.succeeded);
    EXPECT_TRUE(same.messages.empty());
    EXPECT_TRUE(script.log.empty());
    // Not registered, or from another folder: registered as usual, and a
    // refusal is reported.
    for (const std::string& registered : {std::string(), std::string("D:\\Old\\QuorvShell.dll")}) {
        script.log.clear();
        const ShellRegistrationResult other = RegisterShellExtensionAtStart(loader, kFolder, registered);
        EXPECT_FALSE(other.succeeded);
        EXPECT_EQ(other.messages, Messages{RegisterFailedMessage(kAccessDenied)});
        EXPECT_EQ(script.log, (std::vector<std::string>{"load " + kDll, "call DllRegisterServer", "unload"}));
    }
}

TEST(ShellRegistration, LoadErrorCodesAreShownAsSignedNumbers) {
    EXPECT_EQ(UnableToLoadMessage("x.dll", 193), "Unable to load x.dll, Error ID:193");
    EXPECT_EQ(UnableToLoadMessage("x.dll", 0xFFFFFFFFu), "Unable to load x.dll, Error ID:-1");
    EXPECT_EQ(UnableToLoadMessage("50%s %d.dll", 2), "Unable to load 50%s %d.dll, Error ID:2");
    EXPECT_EQ(ShellExtensionPath("D:\\Q\\"), "D:\\Q\\QuorvShell.dll");
}

}  // namespace
}  // namespace quorv
