#include "m68k_assembler.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace m68k {

namespace {

// Runs a command line, its output appended to messages; true when it exits with 0.
bool run(const std::string &command, std::string &messages) {
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return false;
    char buffer[512];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        messages.append(buffer, n);
    const int status = pclose(pipe);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string buildEquates() {
    struct Register {
        const char *name;
        unsigned offset;
    };
    static const Register registers[] = {
        {"BLTDDAT", 0x000},  {"DMACONR", 0x002}, {"VPOSR", 0x004},   {"VHPOSR", 0x006},
        {"INTENAR", 0x01c},  {"INTREQR", 0x01e}, {"COPCON", 0x02e},  {"BLTCON0", 0x040},
        {"BLTCON1", 0x042},  {"BLTAFWM", 0x044}, {"BLTALWM", 0x046}, {"BLTCPTH", 0x048},
        {"BLTBPTH", 0x04c},  {"BLTAPTH", 0x050}, {"BLTDPTH", 0x054}, {"BLTSIZE", 0x058},
        {"BLTCON0L", 0x05a}, {"BLTSIZV", 0x05c}, {"BLTSIZH", 0x05e}, {"BLTCMOD", 0x060},
        {"BLTBMOD", 0x062},  {"BLTAMOD", 0x064}, {"BLTDMOD", 0x066}, {"BLTCDAT", 0x070},
        {"BLTBDAT", 0x072},  {"BLTADAT", 0x074}, {"COP1LCH", 0x080}, {"COP1LCL", 0x082},
        {"COP2LCH", 0x084},  {"COP2LCL", 0x086}, {"COPJMP1", 0x088}, {"COPJMP2", 0x08a},
        {"DIWSTRT", 0x08e},  {"DIWSTOP", 0x090}, {"DDFSTRT", 0x092}, {"DDFSTOP", 0x094},
        {"DMACON", 0x096},   {"CLXCON", 0x098},  {"INTENA", 0x09a},  {"INTREQ", 0x09c},
        {"ADKCON", 0x09e},   {"BPL1PTH", 0x0e0}, {"BPL1PTL", 0x0e2}, {"BPLCON0", 0x100},
        {"BPLCON1", 0x102},  {"BPLCON2", 0x104}, {"BPLCON3", 0x106}, {"BPL1MOD", 0x108},
        {"BPL2MOD", 0x10a},  {"BPLCON4", 0x10c}, {"CLXCON2", 0x10e}, {"SPR0PTH", 0x120},
        {"SPR0PTL", 0x122},  {"SPR0POS", 0x140}, {"SPR0CTL", 0x142}, {"BEAMCON0", 0x1dc},
        {"DIWHIGH", 0x1e4},  {"FMODE", 0x1fc},   {"NOOP", 0x1fe},
    };
    std::string text;
    char line[64];
    for (const Register &r : registers) {
        std::snprintf(line, sizeof line, "%s\tequ\t$%x\n", r.name, r.offset);
        text += line;
    }
    for (int i = 0; i < 32; ++i) {
        std::snprintf(line, sizeof line, "COLOR%02d\tequ\t$%x\n", i, 0x180 + 2 * i);
        text += line;
    }
    return text;
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
    static const std::string equates = buildEquates();
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
