// What the member's page carries of a run, as text its script reads back to
// the very values the window plays: the frames, the entries they come from,
// and the delays.
//
// Frames are one line each, "\n" between them:
//   ""              an empty frame: one frame period, nothing moves
//   "@S"            a delay frame of S seconds, maybe followed by " " and triples
//   "O,X,Y O,X,Y"   a position frame: officer O (0..21) moves to X, Y
//   "*K"            the line before, K more times
// A coordinate is "" when playback leaves it as it was, "=V" for the value V
// (its single-precision value, written exactly), or a
// whole number of twips added to the last value when both are whole: most
// steps are then "20" or "-20". Positions are twips.
#pragma once

#include <string>
#include <string_view>

namespace velistrad {

class PlayedTimeline;
class ChapterRoom;

// The frames of a run played from the stations of `room`.
std::string encodeFrames(const PlayedTimeline& played, const ChapterRoom& room);

// `text` as a JSON string that may stand inside an HTML <script> element:
// bytes that are not UTF-8 become U+FFFD, and "<", ">", "&", the line and
// paragraph separators and control characters are written as \u escapes, so
// no text of a script can end the element or be read as markup.
void appendJsonString(std::string& out, std::string_view text);

// `text` with every byte that is not part of a UTF-8 character as U+FFFD.
std::string validUtf8(std::string_view text);

// A double as the shortest JSON number that reads back to it.
void appendJsonNumber(std::string& out, double value);

}  // namespace velistrad
