// Practising a part: before each entry that moves him the learner says where
// the officer goes, by clicking the plan or picking a place by name. The
// window's practice rounds and velistrad-cli practice both ask these
// questions, so the answer key printed is the one the window marks by.
//
// Positions are twips, times seconds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/officer_part.h"
#include "engine/room_words.h"

namespace velistrad {

// A marker is drawn this far about an officer's position; a click within it
// is on the officer's place.
inline constexpr float kAnswerRadius = 150;

struct PracticeQuestion {
    PartStep step;                      // the entry that moves him
    std::string place;                  // where it leaves him, in words
    std::vector<Landmark> rightPlaces;  // the landmarks that also count as right
};

// One question per entry that moves `officer`, in playing order.
std::vector<PracticeQuestion> practiceQuestions(const PlayedTimeline& played,
                                                std::string_view script, int officer,
                                                double framedelay);

// "Where does the Senior Deacon go now?"
std::string practicePrompt(int officer);

// A click on the plan is right on his place or on a landmark that counts.
bool rightClick(const PracticeQuestion& q, float x, float y);
// A place picked by name is right when it names his place or one that counts.
bool rightPick(const PracticeQuestion& q, std::string_view name);

// A short list to pick from: the places that count first, then the nearest
// others, at most `count` names, nearest first within each.
std::vector<std::string> answerChoices(const ChapterRoom& room, int officer,
                                       const PracticeQuestion& q, std::size_t count = 6);

// One round over the questions: a question answered wrong comes back at the
// end until it is answered right; the score counts first tries.
class PracticeRound {
public:
    explicit PracticeRound(std::vector<PracticeQuestion> questions);

    bool finished() const { return m_queue.empty(); }
    // The question to answer now; only while not finished.
    const PracticeQuestion& current() const { return m_questions[m_queue.front()]; }
    // Whether this is its first try.
    bool firstTry() const { return !m_missed[m_queue.front()]; }
    // Marks the current question answered; a wrong one returns at the end.
    void answer(bool right);

    std::size_t questionCount() const { return m_questions.size(); }
    std::size_t rightFirstTime() const;
    // The questions missed at the first try, in playing order.
    std::vector<PracticeQuestion> missed() const;

private:
    std::vector<PracticeQuestion> m_questions;
    std::vector<std::size_t> m_queue;  // indexes into m_questions, next first
    std::vector<bool> m_missed;
};

}  // namespace velistrad
