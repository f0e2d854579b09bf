// Feeds arbitrary bytes to the reading of script files, as a file on disk:
// the window's Open, a dropped file, `velistrad FILE` and velistrad-cli all
// read through it, and the files come from anywhere. What is read must be
// UTF-8 text with LF line breaks only, a file with a NUL must be refused,
// and what was read must save and read back unchanged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "simulations/custom_file.h"
#include "simulations/safe_file.h"
#include "simulations/script_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// One file of this process's own, used for every input.
const std::string& scratchFile() {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string name = std::string(folder != nullptr ? folder : "/tmp") +
                           "/velistrad-script-fuzz-" + std::to_string(::getpid()) + ".vsim";
        return name;
    }();
    return path;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string& path = scratchFile();
    check(velistrad::replaceFile(path, bytes).empty());

    std::string raw;
    check(velistrad::readScriptBytes(path, raw).empty());
    check(raw == bytes);

    std::string text = "untouched";
    const std::string error = velistrad::readScriptFile(path, text);
    if (bytes.find('\0') != std::string::npos) {
        check(!error.empty() && text == "untouched");
        ::unlink(path.c_str());
        return 0;
    }
    check(error.empty());
    check(text.find('\r') == std::string::npos);
    // Valid UTF-8: decoding it again changes nothing but a leading mark.
    const std::string again = velistrad::decodeTextFile(text);
    check(again == text || (text.starts_with(kByteOrderMark) &&
                            again == std::string_view(text).substr(kByteOrderMark.size())));

    // Saved and read again, the text is the same, unless it begins with a
    // byte-order mark, which reading takes for the file's own.
    check(velistrad::writeScriptFile(path, text).empty());
    std::string reread;
    check(velistrad::readScriptFile(path, reread).empty());
    check(text.starts_with(kByteOrderMark) || reread == text);
    ::unlink(path.c_str());
    return 0;
}
