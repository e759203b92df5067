#include "m68k_assembler.h"

#include "run_program.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

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
    static const std::string equates = [] {
        std::ifstream in(QUILLFEN_M68K_EQUATES, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return equates;
}

Result assemble(const std::string &text) {
    return assemble(text, registerEquates());
}

Result assemble(const std::string &text, const std::string &equates) {
    Result result;
    char folder[] = "/tmp/quillfen-m68k-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        result.messages = "no temporary folder";
        return result;
    }
    const std::string dir(folder);
    const std::string source = dir + "/code.s", object = dir + "/code.o",
                      binary = dir + "/code.bin";
    {
        std::ofstream out(source, std::ios::binary);
        out << equates << text;
        if (!text.empty() && text.back() != '\n')
            out << '\n';
    }
    // --fatal-warnings: a value that does not fit its word is a failure, not a note.
    const bool assembled =
        run("m68k-linux-gnu-as --mri --fatal-warnings -o " + object + " " + source,
            result.messages) &&
        run("m68k-linux-gnu-objcopy -O binary -j .text " + object + " " + binary, result.messages);
    if (assembled) {
        std::ifstream in(binary, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        std::vector<std::uint16_t> words;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            words.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                                       static_cast<unsigned char>(bytes[i + 1])));
        result.words = words;
    }
    std::remove(source.c_str());
    std::remove(object.c_str());
    std::remove(binary.c_str());
    rmdir(folder);
    return result;
}

} // namespace m68k
