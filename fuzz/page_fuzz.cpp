// Fuzz target: what the member's page carries of a script. The frames it
// encodes, read back as the page's script reads them, must put every officer
// exactly where playback puts him after every frame; and the script's text
// as the page's data must stay valid UTF-8 with nothing that could end its
// element or be read as markup.
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/played_timeline.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"
#include "page/page_data.h"

namespace {

using namespace velistrad;

void check(bool condition) {
    if (!condition) std::abort();
}

class Silent : public DiagnosticSink {
public:
    void diagnose(const Diagnostic&) override {}
};

// The page's reading of the frames (page.js, decode), one frame at a time.
class Reader {
public:
    explicit Reader(const ChapterRoom& stations) {
        for (int i = 0; i < kOfficerCount; ++i) {
            m_x[static_cast<std::size_t>(i)] = static_cast<float>(stations.officer(i).stationX);
            m_y[static_cast<std::size_t>(i)] = static_cast<float>(stations.officer(i).stationY);
        }
    }
    void frame(std::string_view line) {
        if (!line.empty() && line[0] == '@') {
            const std::size_t space = line.find(' ');
            line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        }
        while (!line.empty()) {
            const std::size_t space = line.find(' ');
            triple(line.substr(0, space));
            line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        }
    }
    float x(int k) const { return m_x[static_cast<std::size_t>(k)]; }
    float y(int k) const { return m_y[static_cast<std::size_t>(k)]; }

private:
    static void coordinate(std::string_view text, float& last) {
        if (text.empty()) return;
        double value = 0;
        if (text[0] == '=') {
            check(std::from_chars(text.data() + 1, text.data() + text.size(), value).ec ==
                  std::errc());
        } else {
            long long delta = 0;
            check(std::from_chars(text.data(), text.data() + text.size(), delta).ec == std::errc());
            value = static_cast<double>(last) + static_cast<double>(delta);
        }
        last = static_cast<float>(value);
    }
    void triple(std::string_view t) {
        const std::size_t a = t.find(',');
        const std::size_t b = t.find(',', a + 1);
        check(a != std::string_view::npos && b != std::string_view::npos);
        int k = -1;
        std::from_chars(t.data(), t.data() + a, k);
        check(ChapterRoom::isOfficer(k));
        coordinate(t.substr(a + 1, b - a - 1), m_x[static_cast<std::size_t>(k)]);
        coordinate(t.substr(b + 1), m_y[static_cast<std::size_t>(k)]);
    }
    std::array<float, kOfficerCount> m_x{};
    std::array<float, kOfficerCount> m_y{};
};

void checkText(std::string_view text) {
    std::string json;
    appendJsonString(json, text);
    check(json.size() >= 2 && json.front() == '"' && json.back() == '"');
    for (std::size_t i = 1; i + 1 < json.size(); ++i) {
        const auto c = static_cast<unsigned char>(json[i]);
        check(c >= 0x20 && c != '<' && c != '>' && c != '&' && c != 0x7F);
        if (c == '"') check(json[i - 1] == '\\');
    }
    const std::string valid = validUtf8(json);
    check(valid == json);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    checkText(script);
    ChapterRoom room;
    Silent sink;
    const auto played = composeScript(room, script, sink, 200000);
    if (!played) return 0;
    const ChapterRoom stations;
    const std::string frames = encodeFrames(*played, stations);

    Reader reader(stations);
    ChapterRoom playing;
    TimelineCursor cursor(*played, playing);
    cursor.seek(0);
    std::string_view rest = frames;
    std::string_view previous;
    std::size_t repeats = 0;
    while (!cursor.atEnd()) {
        std::string_view line;
        if (repeats > 0) {
            --repeats;
            line = previous;
        } else {
            const std::size_t end = rest.find('\n');
            line = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (!line.empty() && line[0] == '*') {
                std::from_chars(line.data() + 1, line.data() + line.size(), repeats);
                check(repeats > 0);
                --repeats;
                line = previous;
            } else {
                previous = line;
            }
        }
        reader.frame(line);
        cursor.step();
        for (int k = 0; k < kOfficerCount; ++k) {
            check(reader.x(k) == playing.officer(k).curX);
            check(reader.y(k) == playing.officer(k).curY);
        }
    }
    check(rest.empty() && repeats == 0);
    return 0;
}
