// The boxes the program shows, as the window-free code sees them: the list
// of custom simulations asks and tells through this, so it runs under tests
// without a window. Text is UTF-8.
#pragma once

#include <optional>
#include <string>

namespace velistrad {

enum class MessageIcon { None, Exclamation };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An OK-only message box.
    virtual void message(const std::string& text, const std::string& title, MessageIcon icon) = 0;
    // Yes/No, no icon; true for Yes.
    virtual bool question(const std::string& text, const std::string& title) = 0;
    // An input box whose answer starts as `answer`; nullopt when cancelled.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& answer) = 0;
};

}  // namespace velistrad
