#pragma once

// A tiny check runner for the Windows-only modules, which build without Qt and run under Wine.

#include <cstdio>
#include <string>

namespace WinCheck {

inline int &passed() { static int n = 0; return n; }
inline int &failed() { static int n = 0; return n; }

inline void check(bool ok, const std::string &what)
{
    ++(ok ? passed() : failed());
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
}

inline int finish()
{
    std::printf("%d passed, %d failed\n", passed(), failed());
    return failed() == 0 ? 0 : 1;
}

} // namespace WinCheck
