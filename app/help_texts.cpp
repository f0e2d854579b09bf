#include "app/help_texts.h"

#include <iterator>

#include <QRegularExpression>
#include <QStringList>

namespace velistrad {

namespace {

// Lines 1, 4, 7, 9-10 and 12-15 are ours; the rest are fixed wording.
constexpr const char* kAboutLines[] = {
    "Velistrad Simulator project, 2026",
    "",
    "For comments and questions, contact:",
    "velistrad@example.org",
    "",
    "Version 1.3",
    "https://example.org/velistrad",
    "",
    "This program may be copied and given away freely, for no charge,",
    "provided it is passed on whole and unchanged.",
    "",
    "This program is provided as is, without warranty of any kind.",
    "The authors accept no liability for any loss or damage",
    "arising from its use.  The ceremonies themselves are governed",
    "by the ritual of the order, not by this simulation.",
};

constexpr const char* kHowToUseLines[] = {
    "1. Choose the velistrad you want to see from the Simulations menu.",
    "2. Click the Play button at the bottom of the screen.",
    "3. You can pause the simulation, and change the speed, at any time.",
};

constexpr const char* kBasicsLines[] = {
    "The shaded area on this diagram represents a walking band which is always wide enough for two "
    "Officers",
    "to walk side by side.  All Officers' movements about the Chapter room are directed by the "
    "letters on the diagram.",
    "\tX is the station of the Officer(s) being directed.",
    "\tZ is the point on the walking band nearest the station of the Officer(s) being directed.",
    "",
    "An Officer directed to move X Z moves directly forward from his station to the walking band, "
    "except the Councilors, ",
    "Scribe and Treasurer will move by the most direct route to the walking band, but around the "
    "pedestals or desks",
    "in their paths. An Officer directed to move Z X returns to his station by retracing his X Z "
    "route.",
    "",
    "Floor Movement Examples: ",
    "Movements of the Chaplain and Marshal from their stations by way of the South to the West "
    "side of the Altar ",
    "would be noted thus: Ch. and Mar. move X Z I J. Their return from the West side of the Altar "
    "by way of the ",
    "North to their stations would be noted: Ch. and Mar. move J K V Z X.",
};

constexpr const char* kReferenceLines[] = {
    "Each simulation is in this form:",
    "   Officer1, Direction1, Time1, Officer2, Direction2, Time2,...",
    "   All spaces are ignored.",
    "",
    "Officer: 2- or 3-letter abbreviation of the officer ",
    "   (MC, SC, JC, Ch, Sen, Scr,...)",
    "",
    "Direction: A list of steps the officer takes.  For instance, JKVZX.  ",
    "   There are special steps as well:",
    "   -AT-X-",
    "\tPositions the officer at the given point.",
    "   -AT_S-U-, AT_NW-U-, etc",
    "\tPositions the officer(s) next to the given point.  ",
    "\tS, NW, etc specifies where the officer goes.",
    "\tExample: -AT_S-U- puts the officer south of point U.",
    "   -AT_E-MC-",
    "\tPositions the officer(s) next to the given officer: ",
    "\tIn this example, to the east of MC.",
    "",
    "For the above 3 steps, the 'Officer' field may be 'ALL' to position",
    "all officers, or a list of officers separated by a + sign.",
    "   For instance: MC+SC+JC, -AT-X-, Now",
    "",
    "   -W-MC-, -NE-U-, etc.",
    "\tMoves the officer next to a point on the floor, ",
    "\tor next to another officer.",
    "   -DIAG-U-, -DIAG_NW-J, -DIAG_SE-MC-, etc.",
    "\tMoves the officer, diagonally, to a point on the floor, ",
    "\tnext to a point, or next to an officer.",
    "",
    "For the special DIAG_ and AT_ keywords, you can specify a",
    "distance away from the officer or point on the floor.  Use ",
    "\t-DIAG_S-MC+E+100-",
    "to specify that the officer should go South of the MC,",
    "plus 100 'twips' East of the MC.",
    "",
    "Time: When the officer moves.",
    "   Now\tImmediately",
    "   Simult\tArrive the same time as the previous officer",
    "   Unsync\tStart moving now, disregarding the other officers",
    "   After\tStart moving after the previous officer arrives",
    "",
    "To add delays in the simulation, use this special simulation syntax:",
    "\tAll, Delay, 0.5\tTo delay a half-second",
    "",
    "Examples:",
    "   Mar, XZTCEVU, Now, All, Delay, 1.0, Mar, UZX, Now",
    "\tMarshal sees if all present are members or visitors.",
    "",
    "   MC, XZR, Now, Ch, XZ-E-MC-, After, SC, XZE-N-Ch-,Simult,",
    "   JC, XZ-S-Ch-, Simult",
    "\tMC, SC, JC, Ch going into the shield formation.  ",
    "\tSC/JC/Ch arrive together after MC is at R.",
};

template <std::size_t N>
QString joined(const char* const (&lines)[N], const char* separator) {
    QStringList list;
    for (const char* line : lines) list.append(QString::fromUtf8(line));
    return list.join(QString::fromLatin1(separator));
}

}  // namespace

QString aboutText() {
    return joined(kAboutLines, "\r\n");
}
QString howToUseText() {
    return joined(kHowToUseLines, "\r\n");
}
QString basicsText() {
    return joined(kBasicsLines, "\r\n");
}
QString referenceText() {
    return joined(kReferenceLines, "\n");
}

QString flowedParagraphs(const QString& text) {
    // Shorter than this, a line stands on its own rather than being wrapped.
    constexpr qsizetype kShortLine = 40;
    static const QRegularExpression numbered(QStringLiteral("^\\d+\\. "));
    const QStringList lines = QString(text)
                                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                  .split(QLatin1Char('\n'));
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (i > 0) {
            const QString& before = lines[i - 1];
            const bool endsParagraph = before.trimmed().isEmpty() ||
                                       before.trimmed().endsWith(QLatin1Char(':')) ||
                                       before.size() < kShortLine;
            const bool startsParagraph = line.trimmed().isEmpty() ||
                                         line.startsWith(QLatin1Char('\t')) ||
                                         numbered.match(line).hasMatch();
            if (endsParagraph || startsParagraph)
                out += QLatin1Char('\n');
            else if (!before.endsWith(QLatin1Char(' ')))  // no second blank
                out += QLatin1Char(' ');
        }
        out += line;
    }
    return out;
}

static_assert(std::size(kReferenceLines) == kReferenceLineCount);
static_assert(std::size(kAboutLines) == 15);

}  // namespace velistrad
