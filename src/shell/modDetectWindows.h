#pragma once

#include <optional>

// Tests of the running Windows version, which choose between the XP style pictures and the
// classic ones. This program runs on no Windows version, so the version query fails and every
// test answers False: the classic toolbar images and about-box picture, and the XP splash picture.
struct OsVersionInfo {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned platformId = 0; // 1 the Windows 95 family, 2 the NT family
};

// The version of the running Windows; nothing when the query fails (always, here).
std::optional<OsVersionInfo> getVersionEx();

bool IsWindows95();
bool IsWindows98();
bool IsWindows2000();
bool IsWindowsXP();

// The same tests on a given version record.
bool IsWindows95(const OsVersionInfo& v);
bool IsWindows98(const OsVersionInfo& v);
bool IsWindows2000(const OsVersionInfo& v);
bool IsWindowsXP(const OsVersionInfo& v);
