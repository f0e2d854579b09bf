// The member's page: one self-contained HTML file that plays movements as
// the window does, for members who learn their parts on a phone or any
// browser, offline. Markup, style, script and data are all inline; the page
// asks the network for nothing and its security policy forbids it to.
//
// The page draws the plan from the same drawing data as the window and plays
// the very frames the window plays (see page_data.h); its script is ours, in
// page/assets.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velistrad {

class DiagnosticSink;

struct PageMovement {
    std::string group;  // "Opening", ... or "My Simulations"; "" for a lone script
    std::string name;   // as the page shows it
    std::string script;
};

struct MemberPage {
    std::string html;
    std::vector<std::string> leftOut;  // names of movements whose scripts do not play
};

// A page of the movements that play. With `failOnError`, the first movement
// that does not play reports its messages to `sink` and no page is made;
// otherwise it is left out and named in leftOut.
std::optional<MemberPage> makeMemberPage(std::string_view title,
                                         const std::vector<PageMovement>& movements,
                                         DiagnosticSink& sink, bool failOnError);

// The book: the built-in movements grouped as in the Simulations menu, then
// `mine` (My Simulations) as they are saved.
std::vector<PageMovement> memberBook(const std::vector<PageMovement>& mine);

}  // namespace velistrad
