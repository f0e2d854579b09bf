// Shared by the tests of saving: dialogs answered from queues, and a fresh
// folder for custom.sim, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "simulations/custom_simulations.h"

namespace velistrad {

// Names come from `names` (none queued: cancelled), Yes or No from `answers`
// (none queued: No); every box is recorded as its title and text. The
// window's dialogs build on it.
template <class Base = Dialogs>
struct FakeDialogs : Base {
    std::vector<std::string> messages, questions, inputs;
    std::deque<std::optional<std::string>> names;
    std::deque<bool> answers;
    MessageIcon lastIcon = MessageIcon::None;

    using Base::message;
    void message(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back(title + ": " + text);
        lastIcon = icon;
    }
    bool question(const std::string& text, const std::string& title) override {
        questions.push_back(title + ": " + text);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& answer) override {
        inputs.push_back(title + ": " + prompt + (answer.empty() ? "" : " [" + answer + "]"));
        const auto name = names.empty() ? std::nullopt : names.front();
        if (!names.empty()) names.pop_front();
        return name;
    }
};

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
// `count` records S1, S2, ... with scripts of `length` characters.
inline std::vector<CustomSimulation> records(int count, std::size_t length = 10) {
    std::vector<CustomSimulation> out;
    for (int i = 1; i <= count; ++i)
        out.push_back({"S" + std::to_string(i), std::string(length, 'x')});
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
    // The list as the program starts with it.
    CustomSimulations& load() {
        list.emplace(dialogs, path);
        list->load();
        return *list;
    }
    std::optional<std::size_t> save(const std::string& name, const std::string& script,
                                    std::deque<bool> answers = {}) {
        dialogs.names = {name};
        dialogs.answers = answers;
        return list->saveAs(script);
    }
    bool shown(const std::string& part) const {
        return !dialogs.messages.empty() && dialogs.messages.back().find(part) != std::string::npos;
    }
    // The files in the folder besides custom.sim.
    std::size_t others() const {
        std::size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            n += entry.path() != path;
        return n;
    }

    std::string folder, path;
    FakeDialogs<> dialogs;
    std::optional<CustomSimulations> list;
};

}  // namespace velistrad
