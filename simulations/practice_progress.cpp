#include "simulations/practice_progress.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "simulations/safe_file.h"

namespace velistrad {

namespace {

constexpr std::string_view kHeader = "velistrad practice 1";
constexpr std::size_t kKnownAfter = 2;

// Names are kept on one line of tab-separated fields.
std::string field(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return out;
}

std::optional<std::size_t> number(std::string_view text) {
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return n;
}

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0;;) {
        const std::size_t next = line.find(separator, at);
        out.push_back(line.substr(at, next == std::string_view::npos ? next : next - at));
        if (next == std::string_view::npos) return out;
        at = next + 1;
    }
}

// Moves an unreadable file out of the way under a name not yet taken.
std::string keepAside(const std::string& path) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        std::string aside = path + ".unreadable";
        if (n > 1) aside += "." + std::to_string(n);
        if (std::filesystem::exists(aside, ec)) continue;
        std::filesystem::rename(path, aside, ec);
        if (ec) return "it could not be moved aside: " + ec.message();
        return "it is kept as " + aside;
    }
    return "it was left where it is";
}

}  // namespace

PracticeProgress::PracticeProgress(std::string folder) : m_path(std::move(folder)) {
    if (!m_path.empty() && m_path.back() != '/') m_path += '/';
    m_path += kProgressFileName;
}

std::string PracticeProgress::load() {
    m_scores.clear();
    std::string error;
    const std::optional<std::string> text = readWholeFile(m_path, error);
    if (!text) {
        if (error.empty()) return {};  // nothing practised yet
        return "Your practice record " + m_path + " could not be read (" + error +
               "); practice starts afresh.";
    }
    std::vector<std::string_view> lines = split(*text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    bool good = !lines.empty() && lines[0] == kHeader;
    std::map<std::pair<std::string, std::string>, PracticeScore> scores;
    for (std::size_t i = 1; good && i < lines.size(); ++i) {
        const std::vector<std::string_view> f = split(lines[i], '\t');
        if (f.size() != 6) {
            good = false;
            break;
        }
        const auto right = number(f[2]);
        const auto total = number(f[3]);
        const auto perfect = number(f[5]);
        good = right && total && perfect && *right <= *total;
        if (good)
            scores[{std::string(f[0]), std::string(f[1])}] = {*right, *total, std::string(f[4]),
                                                              *perfect};
    }
    if (good) {
        m_scores = std::move(scores);
        return {};
    }
    return "Your practice record " + m_path + " could not be read; " + keepAside(m_path) +
           ", and practice starts afresh.";
}

std::string PracticeProgress::record(const std::string& movement, const std::string& officer,
                                     std::size_t right, std::size_t total,
                                     const std::string& date) {
    if (total == 0) return {};
    PracticeScore& s = m_scores[{field(movement), field(officer)}];
    // Better is a larger share right; the day a best was first reached stays.
    if (s.total == 0 || right * s.total > s.right * total)
        s = {right, total, field(date), s.perfectRounds};
    if (right == total) ++s.perfectRounds;
    std::string text(kHeader);
    text += '\n';
    for (const auto& [key, score] : m_scores)
        text += key.first + '\t' + key.second + '\t' + std::to_string(score.right) + '\t' +
                std::to_string(score.total) + '\t' + score.date + '\t' +
                std::to_string(score.perfectRounds) + '\n';
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ec);
    return replaceFile(m_path, text);
}

const PracticeScore* PracticeProgress::score(const std::string& movement,
                                             const std::string& officer) const {
    const auto found = m_scores.find({field(movement), field(officer)});
    return found == m_scores.end() ? nullptr : &found->second;
}

bool PracticeProgress::known(const std::string& movement, const std::string& officer) const {
    const PracticeScore* s = score(movement, officer);
    return s != nullptr && s->perfectRounds >= kKnownAfter;
}

bool PracticeProgress::knowsSomePart(const std::string& movement) const {
    for (const auto& [key, s] : m_scores)
        if (key.first == field(movement) && s.perfectRounds >= kKnownAfter) return true;
    return false;
}

}  // namespace velistrad
