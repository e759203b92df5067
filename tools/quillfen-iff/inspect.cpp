// The commands that work on any IFF-85 file: print, check and compare.
#include "command.h"

#include <cstdio>

namespace quillfen_iff {

int runPrint(const Invocation &invocation) {
    int status = kSuccess;
    Tree tree = readFile(invocation, invocation.operands[0], &status);
    if (tree == nullptr) {
        return status;
    }
    IFF_print(tree.get(), 0, extension(), extensionLength());
    return fflush(stdout) == 0 ? kSuccess : kTrouble;
}

int runCheck(const Invocation &invocation) {
    const char *path = invocation.operands[0];
    int status = kSuccess;
    Tree tree = readFile(invocation, path, &status);
    if (tree == nullptr) {
        return status;
    }
    if (!IFF_check(tree.get(), extension(), extensionLength())) {
        report(invocation, "%s: not a valid IFF-85 file\n", path);
        return kNegative;
    }
    printf("%s: valid IFF-85 file\n", path);
    return kSuccess;
}

int runCompare(const Invocation &invocation) {
    int status = kSuccess;
    Tree first = readFile(invocation, invocation.operands[0], &status);
    if (first == nullptr) {
        return status;
    }
    Tree second = readFile(invocation, invocation.operands[1], &status);
    if (second == nullptr) {
        return status;
    }
    const int equal = IFF_compare(first.get(), second.get(), extension(), extensionLength());
    printf("%s\n", equal ? "equal" : "different");
    return equal ? kSuccess : kNegative;
}

} // namespace quillfen_iff
