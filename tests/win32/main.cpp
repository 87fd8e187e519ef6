// Runs every case, or those whose name contains the first argument; exits with the number of
// failed checks.
#include <objbase.h>

#include <cstring>

#include "check.h"

namespace pelux::wintest {

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

int& failures() {
    static int count = 0;
    return count;
}

void fail(const char* file, int line, const std::string& message) {
    ++failures();
    std::printf("  FAILED %s:%d: %s\n", file, line, message.c_str());
}

}  // namespace pelux::wintest

int main(int argc, char** argv) {
    using namespace pelux::wintest;
    if (FAILED(OleInitialize(nullptr))) {
        std::printf("OleInitialize failed\n");
        return 1;
    }
    int run = 0;
    for (const Case& one : cases()) {
        if (argc > 1 && !std::strstr(one.name, argv[1])) continue;
        const int before = failures();
        one.body();
        std::printf("%s %s\n", failures() == before ? "ok  " : "FAIL", one.name);
        std::fflush(stdout);
        ++run;
    }
    std::printf("%d cases, %d failed checks\n", run, failures());
    OleUninitialize();
    return failures() == 0 ? 0 : 1;
}
