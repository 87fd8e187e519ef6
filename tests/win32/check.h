// A small test harness for the program that runs under Wine: named cases, checks that report
// file, line and both values, and a count of failures as the exit status.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace pelux::wintest {

struct Case {
    const char* name;
    void (*body)();
};

std::vector<Case>& cases();
int& failures();
void fail(const char* file, int line, const std::string& message);

struct Registrar {
    Registrar(const char* name, void (*body)()) { cases().push_back({name, body}); }
};

inline std::string show(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            char buffer[12];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}
inline std::string show(const wchar_t* text) { return show(std::wstring(text ? text : L"(null)")); }
inline std::string show(const std::string& text) { return text; }
inline std::string show(HRESULT value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(value));
    return buffer;
}
template <class T>
std::string show(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

}  // namespace pelux::wintest

#define WIN_TEST(name)                                                        \
    static void name();                                                       \
    static ::pelux::wintest::Registrar name##_registrar(#name, &name);        \
    static void name()

#define CHECK(condition)                                                      \
    do {                                                                      \
        if (!(condition)) ::pelux::wintest::fail(__FILE__, __LINE__, #condition); \
    } while (0)

#define CHECK_EQ(actual, expected)                                            \
    do {                                                                      \
        const auto& a_ = (actual);                                            \
        const auto& e_ = (expected);                                          \
        if (!(a_ == e_))                                                      \
            ::pelux::wintest::fail(__FILE__, __LINE__,                        \
                                   std::string(#actual " == " #expected ": got ") + \
                                       ::pelux::wintest::show(a_) + ", want " + \
                                       ::pelux::wintest::show(e_));           \
    } while (0)
