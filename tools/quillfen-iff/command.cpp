#include "command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillfen_iff {

namespace {

std::vector<Command> &commandTable() {
    static std::vector<Command> table;
    return table;
}

struct ExtensionTable {
    std::vector<IFF_Extension> rows;
    bool sorted = false;
};

ExtensionTable &extensionTable() {
    static ExtensionTable table;
    return table;
}

const std::vector<IFF_Extension> &mergedRows() {
    ExtensionTable &table = extensionTable();
    if (!table.sorted) {
        // Stable, so that of two tables for one form type the first registered wins.
        std::stable_sort(table.rows.begin(), table.rows.end(),
                         [](const IFF_Extension &a, const IFF_Extension &b) {
                             return IFF_compareId(a.formType, b.formType) < 0;
                         });
        table.rows.erase(std::unique(table.rows.begin(), table.rows.end(),
                                     [](const IFF_Extension &a, const IFF_Extension &b) {
                                         return IFF_compareId(a.formType, b.formType) == 0;
                                     }),
                         table.rows.end());
        table.sorted = true;
    }
    return table.rows;
}

} // namespace

bool registerCommand(const Command &command) {
    std::vector<Command> &table = commandTable();
    table.push_back(command);
    std::sort(table.begin(), table.end(),
              [](const Command &a, const Command &b) { return strcmp(a.name, b.name) < 0; });
    return true;
}

bool registerExtension(const IFF_Extension *extension, unsigned int extensionLength) {
    ExtensionTable &table = extensionTable();
    table.rows.insert(table.rows.end(), extension, extension + extensionLength);
    table.sorted = false;
    return true;
}

const std::vector<Command> &commands() {
    return commandTable();
}

const Command *findCommand(const char *name) {
    for (const Command &command : commandTable()) {
        if (strcmp(command.name, name) == 0) {
            return &command;
        }
    }
    return nullptr;
}

const IFF_Extension *extension() {
    const std::vector<IFF_Extension> &rows = mergedRows();
    return rows.empty() ? nullptr : rows.data();
}

unsigned int extensionLength() {
    return static_cast<unsigned int>(mergedRows().size());
}

int usageError(const Command &command) {
    fprintf(stderr, "usage: quillfen-iff %s %s\n", command.name, command.arguments);
    return kTrouble;
}

IFF_Chunk *readFile(const char *name, int *status) {
    const bool standardInput = strcmp(name, "-") == 0;
    FILE *file = standardInput ? stdin : fopen(name, "rb");
    if (file == nullptr) {
        fprintf(stderr, "quillfen-iff: %s: %s\n", name, strerror(errno));
        *status = kTrouble;
        return nullptr;
    }
    IFF_Chunk *chunk = IFF_readFd(file, extension(), extensionLength());
    if (!standardInput) {
        fclose(file);
    }
    if (chunk == nullptr) {
        fprintf(stderr, "quillfen-iff: %s: not a readable IFF-85 file\n", name);
        *status = kNegative;
    } else {
        *status = kSuccess;
    }
    return chunk;
}

} // namespace quillfen_iff
