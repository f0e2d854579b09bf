// What a learner has practised: for each movement and officer the best score
// of a round and the day it was reached, and how many rounds he had all right
// at the first try. Kept per user in one small text file, replaced whole so a
// crash leaves the old or the new file; a file that cannot be read is moved
// aside and practice goes on from nothing.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

namespace velistrad {

inline constexpr const char* kProgressFileName = "progress.txt";

struct PracticeScore {
    std::size_t right = 0;          // right at the first try
    std::size_t total = 0;          // questions in the round
    std::string date;               // when this best was first reached, as given ("2026-12-07")
    std::size_t perfectRounds = 0;  // rounds with every answer right at the first try
};

class PracticeProgress {
public:
    // The file is `folder` + kProgressFileName; nothing is read yet.
    explicit PracticeProgress(std::string folder);

    // Reads the file. One that cannot be read is renamed to
    // progress.txt.unreadable (.2, .3, ... when taken) and progress starts
    // empty; returns what happened then, for the user, else "".
    std::string load();

    // A finished round of `total` questions with `right` at the first try;
    // saved at once. Returns why saving failed, or "".
    std::string record(const std::string& movement, const std::string& officer, std::size_t right,
                       std::size_t total, const std::string& date);

    // nullptr when he never finished a round of it.
    const PracticeScore* score(const std::string& movement, const std::string& officer) const;
    // All right at the first try twice.
    bool known(const std::string& movement, const std::string& officer) const;
    // He knows some officer's part in the movement.
    bool knowsSomePart(const std::string& movement) const;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::map<std::pair<std::string, std::string>, PracticeScore> m_scores;
};

}  // namespace velistrad
