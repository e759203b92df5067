#include "m68k_assembler.h"

#include "run_program.h"
#include "scratch_files.h"

namespace m68k {

namespace {

// Runs a command line, what it prints appended to messages; true when it exits with 0.
bool run(const std::string &command, std::string &messages) {
    const testprogram::Outcome outcome = testprogram::run(command, "");
    messages += outcome.out + outcome.err;
    return outcome.status == 0;
}

} // namespace

bool available() {
    static const bool found = [] {
        std::string messages;
        return run("command -v m68k-linux-gnu-as && command -v m68k-linux-gnu-objcopy", messages);
    }();
    return found;
}

const std::string &registerEquates() {
    static const std::string equates = testfiles::loadText(QUILLFEN_M68K_EQUATES);
    return equates;
}

Result assemble(const std::string &text) {
    return assemble(text, registerEquates());
}

Result assemble(const std::string &text, const std::string &equates) {
    Result result;
    const testfiles::Folder folder;
    const std::string source = folder.file("code.s"), object = folder.file("code.o"),
                      binary = folder.file("code.bin");
    if (folder.path().empty() ||
        !testfiles::saveText(source,
                             equates + text + (!text.empty() && text.back() != '\n' ? "\n" : ""))) {
        result.messages = "no temporary folder";
        return result;
    }
    // --fatal-warnings: a value that does not fit its word is a failure, not a note.
    if (run("m68k-linux-gnu-as --mri --fatal-warnings -o " + object + " " + source,
            result.messages) &&
        run("m68k-linux-gnu-objcopy -O binary -j .text " + object + " " + binary,
            result.messages)) {
        result.bytes = testfiles::load(binary);
        const std::vector<std::uint8_t> &bytes = result.bytes;
        result.words.emplace();
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            result.words->push_back(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
    }
    return result;
}

} // namespace m68k
