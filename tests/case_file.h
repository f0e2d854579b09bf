// Test cases kept in a data file beside the test: one case a line, fields
// split at ';', '#' starts a comment line. Escapes \n \r \t \\ \; and \xNN
// let any byte into a field, and "<100ab>" stands for "ab" a hundred times.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace velistrad {

struct Case {
    std::string line;  // as written, for SCOPED_TRACE
    std::vector<std::string> fields;
    const std::string& operator[](std::size_t i) const { return fields.at(i); }
    double f(std::size_t i) const { return std::stod(fields.at(i)); }
    std::size_t n(std::size_t i) const { return std::stoul(fields.at(i)); }
    bool yes(std::size_t i) const { return fields.at(i) == "1"; }
};

inline std::vector<Case> readCases(const char* source, const char* name, std::size_t columns) {
    std::ifstream in(std::filesystem::path(source).parent_path() / name);
    EXPECT_TRUE(in) << name;
    std::vector<Case> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        Case row{line, {""}};  // split by hand: escapes may hide separators
        for (std::size_t i = 0; i < line.size(); ++i) {
            char ch = line[i];
            if (ch == ';') {
                row.fields.emplace_back();
                continue;
            }
            if (ch == '\\' && i + 1 < line.size()) {
                ch = line[++i];
                if (ch == 'x') {
                    ch = static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                } else if (ch == 'n' || ch == 'r' || ch == 't') {
                    ch = ch == 'n' ? '\n' : ch == 'r' ? '\r' : '\t';
                }
            }
            row.fields.back() += ch;
        }
        for (std::string& field : row.fields)
            for (std::size_t at, end; (at = field.find('<')) != std::string::npos &&
                                      (end = field.find('>', at)) != std::string::npos;) {
                std::size_t digits = 0;
                const int times = std::stoi(field.substr(at + 1), &digits);
                std::string text;
                for (int i = 0; i < times; ++i)
                    text += field.substr(at + 1 + digits, end - at - 1 - digits);
                field.replace(at, end - at + 1, text);
            }
        EXPECT_EQ(row.fields.size(), columns) << name << ": " << line;
        row.fields.resize(columns);
        cases.push_back(std::move(row));
    }
    EXPECT_FALSE(cases.empty()) << name;
    return cases;
}

// The pieces of text between separators; none for an empty text.
inline std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        pieces.push_back(text.substr(start, end - start));
    if (!text.empty()) pieces.push_back(text.substr(start));
    return pieces;
}

// The cases of a data file in the test's own folder.
#define CASES(name, columns) ::velistrad::readCases(__FILE__, name, columns)

// Runs the statement that follows once for each of those cases, naming the
// case's line in every failure.
#define FOR_EACH_CASE(c, name, columns)                                                 \
    for (const ::velistrad::Case& c : CASES(name, columns))                             \
        if (const ::testing::ScopedTrace c##Trace(__FILE__, __LINE__, c.line); false) { \
        } else

}  // namespace velistrad
