#pragma once
// A stand-in player control for the preview tests: an in-process COM object
// with the embedding interface a control host needs and an automation
// interface that writes down every call (identifier, kind, argument) and
// answers the property reads. Registered for the running process only, so
// that the system's control hosting creates it by class identifier like an
// installed player.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace quorv::test {

// {5C0D2A71-3E5B-4F7A-9C1D-8B2E6A4F0C11}
inline const CLSID kFakePlayerClsid = {0x5C0D2A71, 0x3E5B, 0x4F7A, {0x9C, 0x1D, 0x8B, 0x2E, 0x6A, 0x4F, 0x0C, 0x11}};

struct PlayerCall {
    DISPID id = 0;
    WORD kind = 0;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT
    VARTYPE type = VT_EMPTY;
    std::wstring text;
    bool flag = false;
    bool operator==(const PlayerCall& o) const {
        return id == o.id && kind == o.kind && type == o.type && text == o.text && flag == o.flag;
    }
};

struct FakePlayerLog {
    std::vector<PlayerCall> calls;
    int live = 0;           // objects alive
    bool failAll = false;   // every call raises an automation exception
    long totalFrames = 10;  // Flash: TotalFrames, CurrentFrame, Playing
    long currentFrame = 0;
    bool playing = true;
};

FakePlayerLog& FakePlayers();

// Registers the class for this process while it lives.
class FakePlayerRegistration {
public:
    FakePlayerRegistration();
    ~FakePlayerRegistration();
    FakePlayerRegistration(const FakePlayerRegistration&) = delete;
    FakePlayerRegistration& operator=(const FakePlayerRegistration&) = delete;
    bool ok() const { return cookie_ != 0; }

private:
    DWORD cookie_ = 0;
};

}  // namespace quorv::test
