#ifndef IFF_ERROR_H
#define IFF_ERROR_H

#include "iff/id.h"

#include <stdarg.h>

/* Every message of the IFF and ILBM libraries goes through this function. It starts out as
   IFF_errorCallbackStderr; assign another function to send the messages elsewhere.

   Each thread has its own: a program may read files on several threads at once and catch each
   thread's messages apart (a loader that shows the messages of the file it read, say), so a
   function assigned on one thread receives the messages of that thread only, and every other
   thread starts out with IFF_errorCallbackStderr. */
extern thread_local void (*IFF_errorCallback)(const char *formatString, va_list ap);

/* Writes the formatted text to standard error. */
void IFF_errorCallbackStderr(const char *formatString, va_list ap);

/* Passes the format and its arguments to IFF_errorCallback. */
void IFF_error(const char *formatString, ...) __attribute__((format(printf, 1, 2)));

/* Reports the four characters of an ID, shown as IFF_printId shows them. */
void IFF_errorId(const IFF_ID id);

/* "Error reading 'ID'.attribute" and "Error writing 'ID'.attribute", each with a newline. */
void IFF_readError(const IFF_ID chunkId, const char *attributeName);
void IFF_writeError(const IFF_ID chunkId, const char *attributeName);

#endif
