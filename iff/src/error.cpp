#include "iff/error.h"

#include "internal.h"

#include <stdarg.h>
#include <stdio.h>

void IFF_errorCallbackStderr(const char *formatString, va_list ap) {
    vfprintf(stderr, formatString, ap);
}

thread_local void (*IFF_errorCallback)(const char *formatString,
                                       va_list ap) = IFF_errorCallbackStderr;

void IFF_error(const char *formatString, ...) {
    va_list ap;
    va_start(ap, formatString);
    IFF_errorCallback(formatString, ap);
    va_end(ap);
}

void IFF_errorId(const IFF_ID id) {
    IFF_error("%s", iff_internal::ReadableId(id).text);
}

void IFF_readError(const IFF_ID chunkId, const char *attributeName) {
    IFF_error("Error reading '");
    IFF_errorId(chunkId);
    IFF_error("'.%s\n", attributeName);
}

void IFF_writeError(const IFF_ID chunkId, const char *attributeName) {
    IFF_error("Error writing '");
    IFF_errorId(chunkId);
    IFF_error("'.%s\n", attributeName);
}
