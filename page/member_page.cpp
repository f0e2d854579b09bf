#include "page/member_page.h"

#include <cstdio>
#include <memory>

#include "engine/officer_part.h"
#include "engine/played_timeline.h"
#include "engine/room_words.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"
#include "model/plan_shapes.h"
#include "page/page_assets.h"
#include "page/page_data.h"
#include "simulations/catalogue.h"

namespace velistrad {

namespace {

// A hex digest as the base64 that a security policy's hash source takes.
std::string base64OfHex(std::string_view hex) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(value >> 18) & 63];
        out += kDigits[(value >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(value >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[value & 63] : '=';
    }
    return out;
}

std::string colourText(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

class Json {
public:
    Json& raw(std::string_view text) {
        m_out += text;
        return *this;
    }
    Json& str(std::string_view text) {
        appendJsonString(m_out, text);
        return *this;
    }
    Json& num(double value) {
        appendJsonNumber(m_out, value);
        return *this;
    }
    Json& key(std::string_view name) { return comma().str(name).raw(":"); }
    Json& comma() {
        const bool first = m_out.empty() || m_out.back() == '[' || m_out.back() == '{';
        return raw(first ? "" : ",");
    }
    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

void writeShape(Json& j, const PlanShape& s) {
    static constexpr const char* kKinds[] = {"rect", "ellipse", "line",     "path",
                                             "text", "boxtext", "labelbox", "word"};
    j.comma().raw("{").key("k").str(kKinds[static_cast<int>(s.kind)]);
    j.key("x").num(s.x).key("y").num(s.y).key("w").num(s.w).key("h").num(s.h);
    if (s.stroked || !s.text.empty()) {
        j.key("s").str(colourText(s.stroke));
        if (s.stroked) j.key("sw").num(s.strokeWidth);
    }
    if (s.filled) j.key("f").str(colourText(s.fill));
    if (!s.steps.empty()) {
        std::string d;
        for (const PathStep& p : s.steps) {
            const int count = p.op == 'C' ? 6 : p.op == 'R' ? 4 : p.op == 'Z' ? 0 : 2;
            d += p.op;
            for (int i = 0; i < count; ++i) {
                if (i > 0) d += ' ';
                appendJsonNumber(d, p.v[i]);
            }
        }
        j.key("d").str(d);
        if (s.unite) j.key("u").num(1);
    }
    if (!s.text.empty()) {
        j.key("t").str(s.text).key("fs").num(s.font.pixelSize).key("b").num(s.font.bold ? 1 : 0);
        j.key("al").num(static_cast<int>(s.align)).key("bl").num(static_cast<int>(s.baseline));
        if (s.angle != 0) j.key("a").num(s.angle);
    }
    j.raw("}");
}

// One movement's data, or false when its script does not play.
bool writeMovement(Json& j, const PageMovement& m, DiagnosticSink& sink) {
    ChapterRoom room;
    const auto played = composeScript(room, m.script, sink);
    if (!played) return false;
    const ChapterRoom stations;
    j.comma().raw("{").key("group").str(m.group).key("name").str(m.name);
    j.key("script").str(m.script);
    j.key("frames").str(encodeFrames(*played, stations));
    j.key("entries").raw("[");
    for (const EntryFrames& e : played->entries())
        j.comma()
            .raw("[")
            .num(static_cast<double>(e.entry))
            .raw(",")
            .num(static_cast<double>(e.first))
            .raw(",")
            .num(static_cast<double>(e.count))
            .raw("]");
    j.raw("]").key("texts").raw("[");
    for (const auto& [start, end] : played->entrySpans)
        j.comma().str(end <= m.script.size()
                          ? oneLine(std::string_view(m.script).substr(start, end - start))
                          : std::string());
    // Each officer's part: the entries that move him, and where to; the page
    // times them itself at the speed chosen, so any speed serves here.
    j.raw("]").key("parts").raw("[");
    for (int officer = 0; officer < kOfficerCount; ++officer) {
        j.comma().raw("[");
        for (const PartStep& step : officerPart(*played, m.script, officer, speedFrameDelay(3))) {
            j.comma().raw("[").num(static_cast<double>(step.entry)).raw(",");
            j.num(static_cast<double>(step.firstFrame)).raw(",");
            j.num(static_cast<double>(step.lastFrame)).raw(",").str(step.reading).raw("]");
        }
        j.raw("]");
    }
    j.raw("]}");
    return true;
}

std::string pageData(std::string_view title, const std::vector<PageMovement>& movements,
                     DiagnosticSink& sink, bool failOnError, std::vector<std::string>& leftOut,
                     bool& failed) {
    Json j;
    j.raw("{").key("title").str(title);
    const ChapterRoom room;
    j.key("officers").raw("[");
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = room.officer(i);
        j.comma().raw("[").str(o.abbreviation).raw(",").num(o.stationX).raw(",").num(o.stationY);
        j.raw(",").str(colourText(routeColour(i))).raw(",").str(officerTitleWithAbbreviation(i));
        j.raw("]");
    }
    j.raw("]").key("plan").raw("[");
    for (const PlanShape& s : planShapes(room)) writeShape(j, s);
    j.raw("]").key("floor").str(colourText(kPlanFloor));
    j.key("speeds").raw("[");
    for (int i = 1; i <= 5; ++i)
        j.comma().raw("[").str(speedName(i)).raw(",").num(speedFrameDelay(i)).raw("]");
    j.raw("]").key("movements").raw("[");
    for (const PageMovement& m : movements) {
        // A failed movement's half-written data is dropped with it.
        Json one;
        if (!writeMovement(one, m, sink)) {
            if (failOnError) {
                failed = true;
                return {};
            }
            leftOut.push_back(m.name);
            continue;
        }
        j.comma().raw(one.take());
    }
    j.raw("]}");
    return j.take();
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

struct Fill {
    std::string_view mark;
    std::string_view with;
};

// One pass over the template: what is filled in is never searched again, so
// no text of a script can be taken for a mark.
std::string fillTemplate(std::string_view page, std::initializer_list<Fill> fills) {
    std::string out;
    std::size_t i = 0;
    while (i < page.size()) {
        const std::size_t open = page.find("{{", i);
        if (open == std::string_view::npos) break;
        out.append(page.substr(i, open - i));
        i = open + 2;
        bool filled = false;
        for (const Fill& f : fills) {
            if (page.substr(open, f.mark.size()) == f.mark) {
                out.append(f.with);
                i = open + f.mark.size();
                filled = true;
                break;
            }
        }
        if (!filled) out.append("{{");
    }
    out.append(page.substr(i));
    return out;
}

}  // namespace

std::optional<MemberPage> makeMemberPage(std::string_view title,
                                         const std::vector<PageMovement>& movements,
                                         DiagnosticSink& sink, bool failOnError) {
    MemberPage page;
    bool failed = false;
    const std::string data = pageData(title, movements, sink, failOnError, page.leftOut, failed);
    if (failed) return std::nullopt;
    const std::string policy = "default-src 'none'; script-src 'sha256-" +
                               base64OfHex(kPageJsSha256) + "'; style-src 'sha256-" +
                               base64OfHex(kPageCssSha256) +
                               "'; img-src data:; base-uri 'none'; form-action 'none'";
    const std::string shownTitle = escapeHtml(validUtf8(title));
    page.html = fillTemplate(kPageHtml, {{"{{POLICY}}", policy},
                                         {"{{TITLE}}", shownTitle},
                                         {"{{STYLE}}", kPageCss},
                                         {"{{DATA}}", data},
                                         {"{{SCRIPT}}", kPageJs}});
    return page;
}

std::vector<PageMovement> memberBook(const std::vector<PageMovement>& mine) {
    std::vector<PageMovement> book;
    for (const CatalogueEntry& e : catalogue()) book.push_back({e.submenu, e.caption, e.script});
    for (const PageMovement& m : mine) book.push_back({"My Simulations", m.name, m.script});
    return book;
}

}  // namespace velistrad
