#pragma once
// The fixed identifiers of the context-menu extension QuorvShell.dll: its
// class, the IQuorvaneShell interface, its application id and its type
// library. Chosen once; never change them (registrations on users' machines
// and the type library name them).
//
// This header is read both by the IDL compiler (the type library takes its
// identifiers from here) and by C++: the text forms are the one source, and
// the GUID values are computed from them at compile time.

#define QUORV_SHELL_CLSID_TEXT "A288D49F-24DD-4BD7-BA44-9D30987A6CDD"
#define QUORV_SHELL_IID_TEXT "B51D1351-B41E-4B3E-B59B-D76815BDA335"
#define QUORV_SHELL_APPID_TEXT "5FD694AE-FE75-4C09-8770-F0FD5BB75CE1"
#define QUORV_SHELL_LIBID_TEXT "DE45DF64-03CD-4D0F-9E47-1AF365316D9A"

// The same texts in braces, as UTF-16 literals for the registry.
#define QUORV_SHELL_WIDEN2(x) L##x
#define QUORV_SHELL_WIDEN(x) QUORV_SHELL_WIDEN2(x)
#define QUORV_SHELL_CLSID_KEY L"{" QUORV_SHELL_WIDEN(QUORV_SHELL_CLSID_TEXT) L"}"
#define QUORV_SHELL_APPID_KEY L"{" QUORV_SHELL_WIDEN(QUORV_SHELL_APPID_TEXT) L"}"
#define QUORV_SHELL_LIBID_KEY L"{" QUORV_SHELL_WIDEN(QUORV_SHELL_LIBID_TEXT) L"}"

#ifndef __WIDL__

#include <windows.h>

namespace quorv::shell {

namespace detail {

constexpr unsigned HexDigit(char c) {
    return c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
           : c >= 'A' && c <= 'F' ? static_cast<unsigned>(c - 'A' + 10)
           : c >= 'a' && c <= 'f' ? static_cast<unsigned>(c - 'a' + 10)
                                  : throw "not a hexadecimal digit";
}

constexpr unsigned long HexValue(const char* text, int from, int digits) {
    unsigned long value = 0;
    for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[from + i]);
    return value;
}

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" as a GUID; a malformed text stops
// the compilation (the throw is not a constant expression).
constexpr GUID ParseGuid(const char* text) {
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-' || text[36] != '\0')
        throw "not a GUID text";
    GUID g{};
    g.Data1 = HexValue(text, 0, 8);
    g.Data2 = static_cast<unsigned short>(HexValue(text, 9, 4));
    g.Data3 = static_cast<unsigned short>(HexValue(text, 14, 4));
    g.Data4[0] = static_cast<unsigned char>(HexValue(text, 19, 2));
    g.Data4[1] = static_cast<unsigned char>(HexValue(text, 21, 2));
    for (int i = 0; i < 6; ++i) g.Data4[2 + i] = static_cast<unsigned char>(HexValue(text, 24 + 2 * i, 2));
    return g;
}

}  // namespace detail

inline constexpr GUID kClsidQuorvaneShell = detail::ParseGuid(QUORV_SHELL_CLSID_TEXT);
inline constexpr GUID kIidQuorvaneShell = detail::ParseGuid(QUORV_SHELL_IID_TEXT);
inline constexpr GUID kAppIdQuorvShell = detail::ParseGuid(QUORV_SHELL_APPID_TEXT);
inline constexpr GUID kLibIdQuorvShell = detail::ParseGuid(QUORV_SHELL_LIBID_TEXT);

// The type library's version (library QuorvShellLib 1.0).
inline constexpr unsigned short kTypeLibMajor = 1;
inline constexpr unsigned short kTypeLibMinor = 0;

}  // namespace quorv::shell

#endif  // __WIDL__
