#pragma once
// Names for the cases of value-parameterised tests: the parameter as GoogleTest prints it
// (through its PrintTo or operator<<), made into a test name. "-12.6 with 0 decimals" becomes
// "minus12_6_with_0_decimals"; a printed text "\"textmsg\"" becomes "textmsg".

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace conf_test {

inline std::string NameFromText(const std::string& text) {
    std::string name;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
        } else if (c == '-') {
            name += "minus";
        } else if (!name.empty() && name.back() != '_') {
            name += '_';  // anything else separates words
        }
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "none" : name;
}

// The name generator for INSTANTIATE_TEST_SUITE_P.
struct PrintedName {
    template <class T>
    std::string operator()(const ::testing::TestParamInfo<T>& info) const {
        return NameFromText(::testing::PrintToString(info.param));
    }
};

}  // namespace conf_test
