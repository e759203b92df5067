#ifndef IFF_UTIL_H
#define IFF_UTIL_H

#include <stdio.h>

/* Writes two blanks per indentation level, then the formatted text, to file. */
void IFF_printIndent(FILE *file, const unsigned int indentLevel, const char *formatString, ...)
    __attribute__((format(printf, 3, 4)));

#endif
