// Text from a script for a one-line label, cut short. A status bar shows a
// few hundred characters at most, yet Qt measures a label's whole text at
// every layout: one field of a 200 KB line held the window for a fifth of a
// second each time the cursor moved.
#pragma once

#include <QString>

#include <string_view>

namespace velistrad {

inline constexpr qsizetype kLabelCharacters = 300;

inline QString labelText(QString text) {
    if (text.size() <= kLabelCharacters) return text;
    qsizetype cut = kLabelCharacters;
    if (text.at(cut - 1).isHighSurrogate()) --cut;  // keep a character whole
    text.truncate(cut);
    return text + QChar(0x2026);
}

inline QString labelText(std::string_view text) {
    // Only the start is shown: convert no more than can be (4 bytes a character).
    const std::size_t most = static_cast<std::size_t>(kLabelCharacters) * 4 + 4;
    if (text.size() <= most)
        return labelText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    QString start = QString::fromUtf8(text.data(), qsizetype(most));
    start.truncate(kLabelCharacters + 1);  // longer than the label keeps, so it is cut
    return labelText(std::move(start));
}

}  // namespace velistrad
