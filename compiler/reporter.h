// How the compiler and the engine hand a message text to the user without
// knowing how it is shown: the window shows a message box and waits for OK,
// the command-line tool prints a line, tests record the text.
#pragma once

#include <string>

namespace velistrad {

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void message(const std::string& text) = 0;
};

}  // namespace velistrad
