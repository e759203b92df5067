// The commands that work on any IFF-85 file: print, check and compare.
#include "command.h"

#include <cstdio>

namespace quillfen_iff {

int runPrint(Arguments &arguments) {
    int status = kSuccess;
    Tree tree = readFile(arguments, arguments.operands()[0].c_str(), &status);
    if (tree == nullptr) {
        return status;
    }
    IFF_print(tree.get(), 0, extension(), extensionLength());
    return fflush(stdout) == 0 ? kSuccess : kTrouble;
}

int runCheck(Arguments &arguments) {
    const char *path = arguments.operands()[0].c_str();
    int status = kSuccess;
    Tree tree = readFile(arguments, path, &status);
    if (tree == nullptr) {
        return status;
    }
    if (!IFF_check(tree.get(), extension(), extensionLength())) {
        report(arguments, "%s: not a valid IFF-85 file\n", path);
        return kNegative;
    }
    printf("%s: valid IFF-85 file\n", path);
    return kSuccess;
}

int runCompare(Arguments &arguments) {
    int status = kSuccess;
    Tree first = readFile(arguments, arguments.operands()[0].c_str(), &status);
    if (first == nullptr) {
        return status;
    }
    Tree second = readFile(arguments, arguments.operands()[1].c_str(), &status);
    if (second == nullptr) {
        return status;
    }
    const int equal = IFF_compare(first.get(), second.get(), extension(), extensionLength());
    printf("%s\n", equal ? "equal" : "different");
    return equal ? kSuccess : kNegative;
}

} // namespace quillfen_iff
