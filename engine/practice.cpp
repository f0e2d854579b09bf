#include "engine/practice.h"

#include <algorithm>
#include <cmath>

namespace velistrad {

namespace {

double distance(float x0, float y0, float x1, float y1) {
    return std::hypot(x1 - x0, y1 - y0);
}

}  // namespace

std::vector<PracticeQuestion> practiceQuestions(const PlayedTimeline& played,
                                                std::string_view script, int officer,
                                                double framedelay) {
    std::vector<PracticeQuestion> out;
    if (!ChapterRoom::isOfficer(officer)) return out;
    const ChapterRoom room;
    const std::vector<Landmark> landmarks = roomLandmarks(room, officer);
    for (PartStep& step : officerPart(played, script, officer, framedelay)) {
        PracticeQuestion q;
        q.place = placeWords(room, officer, step.endX, step.endY);
        // A landmark within a marker's width of his place is as good as it.
        for (const Landmark& l : landmarks)
            if (distance(l.x, l.y, step.endX, step.endY) <= 2 * kAnswerRadius)
                q.rightPlaces.push_back(l);
        std::stable_sort(q.rightPlaces.begin(), q.rightPlaces.end(),
                         [&](const Landmark& a, const Landmark& b) {
                             return distance(a.x, a.y, step.endX, step.endY) <
                                    distance(b.x, b.y, step.endX, step.endY);
                         });
        q.step = std::move(step);
        out.push_back(std::move(q));
    }
    return out;
}

std::string practicePrompt(int officer) {
    return "Where does the " + officerTitle(officer) + " go now?";
}

bool rightClick(const PracticeQuestion& q, float x, float y) {
    if (distance(x, y, q.step.endX, q.step.endY) <= kAnswerRadius) return true;
    return std::any_of(q.rightPlaces.begin(), q.rightPlaces.end(), [&](const Landmark& l) {
        return distance(x, y, l.x, l.y) <= kAnswerRadius;
    });
}

bool rightPick(const PracticeQuestion& q, std::string_view name) {
    if (name == q.place) return true;
    return std::any_of(q.rightPlaces.begin(), q.rightPlaces.end(),
                       [&](const Landmark& l) { return l.name == name; });
}

std::vector<std::string> answerChoices(const ChapterRoom& room, int officer,
                                       const PracticeQuestion& q, std::size_t count) {
    std::vector<std::string> out;
    const auto add = [&](const std::string& name) {
        if (out.size() < count && std::find(out.begin(), out.end(), name) == out.end())
            out.push_back(name);
    };
    add(q.place);
    for (const Landmark& l : q.rightPlaces) add(l.name);
    // The others nearest his place, so that the list asks him to tell
    // neighbours apart.
    std::vector<Landmark> others = roomLandmarks(room, officer);
    const float fromX = q.step.endX;
    const float fromY = q.step.endY;
    std::stable_sort(others.begin(), others.end(), [&](const Landmark& a, const Landmark& b) {
        return distance(a.x, a.y, fromX, fromY) < distance(b.x, b.y, fromX, fromY);
    });
    for (const Landmark& l : others) add(l.name);
    // Sorted by name, the right one is not always first.
    std::sort(out.begin(), out.end());
    return out;
}

PracticeRound::PracticeRound(std::vector<PracticeQuestion> questions)
    : m_questions(std::move(questions)), m_missed(m_questions.size(), false) {
    for (std::size_t i = 0; i < m_questions.size(); ++i) m_queue.push_back(i);
}

void PracticeRound::answer(bool right) {
    if (finished()) return;
    const std::size_t q = m_queue.front();
    m_queue.erase(m_queue.begin());
    if (!right) {
        m_missed[q] = true;
        m_queue.push_back(q);
    }
}

std::size_t PracticeRound::rightFirstTime() const {
    return static_cast<std::size_t>(std::count(m_missed.begin(), m_missed.end(), false));
}

std::vector<PracticeQuestion> PracticeRound::missed() const {
    std::vector<PracticeQuestion> out;
    for (std::size_t i = 0; i < m_questions.size(); ++i)
        if (m_missed[i]) out.push_back(m_questions[i]);
    return out;
}

}  // namespace velistrad
