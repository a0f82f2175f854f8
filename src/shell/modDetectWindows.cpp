#include "shell/modDetectWindows.h"

std::optional<OsVersionInfo> getVersionEx()
{
    return std::nullopt;
}

bool IsWindows95(const OsVersionInfo& v)
{
    return v.platformId == 1 && v.major == 4 && v.minor == 0;
}

bool IsWindows98(const OsVersionInfo& v)
{
    return (v.major == 4 && v.minor > 0) || (v.platformId == 1 && v.major >= 5);
}

bool IsWindows2000(const OsVersionInfo& v)
{
    return v.platformId == 2 && v.major == 5 && v.minor == 0;
}

bool IsWindowsXP(const OsVersionInfo& v)
{
    return v.platformId == 2 && v.major == 5 && v.minor == 1;
}

bool IsWindows95()
{
    const auto v = getVersionEx();
    return v && IsWindows95(*v);
}

bool IsWindows98()
{
    const auto v = getVersionEx();
    return v && IsWindows98(*v);
}

bool IsWindows2000()
{
    const auto v = getVersionEx();
    return v && IsWindows2000(*v);
}

bool IsWindowsXP()
{
    const auto v = getVersionEx();
    return v && IsWindowsXP(*v);
}
