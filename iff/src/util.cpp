#include "iff/util.h"

#include <stdarg.h>
#include <stdio.h>

void IFF_printIndent(FILE *file, const unsigned int indentLevel, const char *formatString, ...) {
    for (unsigned int i = 0; i < indentLevel; i++) {
        fputs("  ", file);
    }
    va_list ap;
    va_start(ap, formatString);
    vfprintf(file, formatString, ap);
    va_end(ap);
}
