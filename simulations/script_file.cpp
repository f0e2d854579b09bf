#include "simulations/script_file.h"

#include <utility>

#include "simulations/custom_file.h"
#include "simulations/safe_file.h"

namespace velistrad {

std::string readScriptBytes(const std::string& path, std::string& bytes) {
    std::string error;
    std::optional<std::string> read = readWholeFile(path, error, kMaxScriptFileBytes);
    if (!read && error.empty()) error = "it does not exist";
    if (read) bytes = std::move(*read);
    return error;
}

std::string readScriptFile(const std::string& path, std::string& text) {
    std::string bytes;
    std::string error = readScriptBytes(path, bytes);
    if (error.empty() && bytes.find('\0') != std::string::npos) error = "it is not a text file";
    if (!error.empty()) return "The script file " + path + " could not be opened: " + error + ".";

    const std::string decoded = decodeTextFile(bytes);
    text.clear();
    text.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] != '\r') {
            text += decoded[i];
        } else if (i + 1 == decoded.size() || decoded[i + 1] != '\n') {
            text += '\n';
        }
    }
    return {};
}

std::string writeScriptFile(const std::string& path, const std::string& text) {
    const std::string error = replaceFile(followLink(path), text);
    if (error.empty()) return {};
    return "The script could not be saved to " + path + ": " + error +
           ". The file is left as it was.";
}

}  // namespace velistrad
