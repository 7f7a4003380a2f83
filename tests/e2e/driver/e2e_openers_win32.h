#pragma once
// What the program hands to the system's opener (ShellExecute "open"), seen
// from a test: while an Openers object lives, a stand-in program is the
// registered opener of https and http addresses and of the manual's file
// type in the test prefix, and records every command line it is started
// with; the registry is put back as it was afterwards. And the address of a
// version file the program's online update asks instead of the maker's,
// while a TestUpdateAddress object lives.
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace quorv::e2e {

class Openers {
public:
    Openers();
    ~Openers();
    Openers(const Openers&) = delete;
    Openers& operator=(const Openers&) = delete;

    bool ok() const { return ok_; }
    // What the stand-in was asked to open so far, one entry a start: its
    // command line after the stand-in's own path (the address or file, in
    // quotes as the registry's command puts it), in the ANSI code page.
    std::vector<std::string> Opened() const;
    // Waits until count starts are recorded; what was recorded by then.
    std::vector<std::string> WaitForOpened(std::size_t count, int timeoutMs = 10000) const;

private:
    struct Saved {
        std::wstring key;      // below HKEY_CLASSES_ROOT
        bool existed = false;  // the key was there
        bool hadValue = false;
        std::wstring value;    // its default value
    };
    void Set(const std::wstring& key, const std::wstring& command);

    test::TempDir folder_;
    std::wstring standIn_;
    std::vector<Saved> saved_;
    bool ok_ = false;
};

// The test's version file address (http://127.0.0.1:port/...) in the
// program's test seam, HKEY_CURRENT_USER "Software\\Quorvane 2\\Test",
// value "UpdateAddress"; removed again when the object goes.
class TestUpdateAddress {
public:
    explicit TestUpdateAddress(const std::string& address);
    ~TestUpdateAddress();
    TestUpdateAddress(const TestUpdateAddress&) = delete;
    TestUpdateAddress& operator=(const TestUpdateAddress&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

}  // namespace quorv::e2e
