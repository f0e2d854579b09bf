// The member's page as bytes: its data stays inside its script element
// whatever a script or a name holds, a script that does not play makes no
// page, and the book holds every movement in menu order. How the page plays
// is checked in a browser (page_check.py).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/script_runner.h"
#include "page/member_page.h"
#include "page/page_data.h"
#include "simulations/catalogue.h"

namespace velistrad {
namespace {

class Recorder : public DiagnosticSink {
public:
    void diagnose(const Diagnostic& d) override { texts.push_back(d.text); }
    std::vector<std::string> texts;
};

std::string json(std::string_view text) {
    std::string out;
    appendJsonString(out, text);
    return out;
}

TEST(PageText, NothingEndsTheScriptElementOrHidesAsMarkup) {
    struct Case {
        std::string text;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"</script><svg/onload=x>", R"("\u003c/script\u003e\u003csvg/onload=x\u003e")"},
        {"a & \"b\" \\ c", R"("a \u0026 \"b\" \\ c")"},
        {"line\r\nbreak\ttab\x01", R"("line\u000d\u000abreak\u0009tab\u0001")"},
        {"\xE2\x80\xA8\xE2\x80\xA9", R"("\u2028\u2029")"},  // ends lines in JavaScript
        {"X\xC3\x89 \xF0\x9F\x99\x82", "\"X\xC3\x89 \xF0\x9F\x99\x82\""},  // kept as they are
        {"\xC3 \xFF \xED\xA0\x80 \xC0\xAF", R"("\ufffd \ufffd \ufffd\ufffd\ufffd \ufffd\ufffd")"},
    };
    for (const Case& c : cases) EXPECT_EQ(json(c.text), c.want) << c.text;
    EXPECT_EQ(validUtf8("ok \xC3\x89 \xFF"), "ok \xC3\x89 \xEF\xBF\xBD");
}

TEST(MemberPage, WhatAScriptHoldsStaysInItsData) {
    // Marks of the page's own template, closing tags and markup in a name
    // and in a timing word: each shows up only escaped, inside the data.
    const std::string script = "Mar, XZTCEVU, {{SCRIPT}}</script><b>{{DATA}}";
    Recorder sink;
    const auto page =
        makeMemberPage("<i>{{POLICY}}</i>", {{"", "{{STYLE}}<u>", script}}, sink, true);
    ASSERT_TRUE(page);
    const std::string& html = page->html;
    const auto count = [&](std::string_view what) {
        std::size_t n = 0;
        for (std::size_t at = html.find(what); at != std::string::npos;
             at = html.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("</script>"), 2u);  // the data's and the program's
    EXPECT_EQ(count("<b>"), 0u);
    EXPECT_EQ(count("<u>"), 0u);
    EXPECT_EQ(count("<i>"), 0u);
    EXPECT_EQ(count("Content-Security-Policy"), 1u);
    EXPECT_NE(html.find("&lt;i&gt;{{POLICY}}&lt;/i&gt;"), std::string::npos);
    EXPECT_NE(html.find(json(script)), std::string::npos);
    EXPECT_EQ(html.find("http://w"), html.find("http://www.w3.org/2000/svg"));
    EXPECT_EQ(html.find("https:"), std::string::npos);
    EXPECT_TRUE(sink.texts.empty());
}

TEST(MemberPage, AScriptThatDoesNotPlayMakesNoPageOrIsLeftOutOfTheBook) {
    Recorder sink;
    EXPECT_FALSE(makeMemberPage("t", {{"", "bad", "XX, XZ, Now"}}, sink, true));
    EXPECT_EQ(sink.texts.front(), "Unknown officer: XX");

    const auto book = makeMemberPage(
        "t", memberBook({{"", "bad", "XX, XZ, Now"}, {"", "good", "Mar, XZ, Now"}}), sink, false);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->leftOut, std::vector<std::string>{"bad"});
    EXPECT_NE(book->html.find(R"("group":"My Simulations","name":"good")"), std::string::npos);
}

TEST(MemberPage, TheBookFollowsTheMenu) {
    const std::vector<PageMovement> book = memberBook({{"", "Mine", "Mar, XZ, Now"}});
    ASSERT_EQ(book.size(), kCatalogueSize + 1);
    for (std::size_t i = 0; i < kCatalogueSize; ++i) {
        EXPECT_EQ(book[i].group, catalogue()[i].submenu);
        EXPECT_EQ(book[i].name, catalogue()[i].caption);
    }
    EXPECT_EQ(book.back().group, "My Simulations");
}

}  // namespace
}  // namespace velistrad
