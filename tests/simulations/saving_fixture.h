// What the tests of saving custom simulations share: dialogs answered from
// queues, and a fresh folder for custom.sim that is removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "simulations/custom_simulations.h"
#include "simulations/dialogs.h"

namespace velistrad {

// Answers input boxes (empty when none is queued) and questions (No when
// none is queued) from queues, and records every box.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageIcon icon = MessageIcon::None;
    };
    std::vector<Shown> messages, questions, inputs;
    std::deque<std::optional<std::string>> names;
    std::deque<bool> answers;

    void message(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    bool question(const std::string& text, const std::string& title) override {
        questions.push_back({text, title});
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title) override {
        inputs.push_back({prompt, title});
        std::optional<std::string> name;
        if (!names.empty()) {
            name = names.front();
            names.pop_front();
        }
        return name;
    }
};

// Printed by GoogleTest when a comparison fails.
inline void PrintTo(const CustomSimulation& s, std::ostream* os) {
    *os << "{\"" << s.name << "\", \"" << s.script << "\"}";
}

inline bool runningAsRoot() {
    return ::geteuid() == 0;
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// `count` records S1, S2, ... whose scripts are `length` characters long.
inline std::vector<CustomSimulation> records(int count, std::size_t length = 10) {
    std::vector<CustomSimulation> out;
    for (int i = 1; i <= count; ++i) {
        out.push_back({"S" + std::to_string(i), std::string(length, static_cast<char>('a' + i))});
    }
    return out;
}

class SavingTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "custom-sim-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        path = folder + "/custom.sim";
    }
    void TearDown() override {
        ::chmod(folder.c_str(), 0700);
        std::filesystem::remove_all(folder);
    }

    // A list on `path`, loaded as at start-up.
    CustomSimulations& load() {
        list.emplace(dialogs, path);
        list->loadcustom();
        return *list;
    }
    std::optional<std::size_t> save(const std::string& name, const std::string& script) {
        dialogs.names.push_back(name);
        return list->SaveSimulation(script);
    }
    // Names of the files in the folder other than custom.sim.
    std::vector<std::string> others() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().filename() != "custom.sim") out.push_back(entry.path().filename());
        }
        return out;
    }

    std::string folder;
    std::string path;
    FakeDialogs dialogs;
    std::optional<CustomSimulations> list;
};

}  // namespace velistrad
