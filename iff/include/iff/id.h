#ifndef IFF_ID_H
#define IFF_ID_H

#include <stdio.h>

/* A four-character chunk identifier, form type or contents type. It is not zero-terminated and
   trailing blanks are significant ("CAT ", "DPI "). */
typedef char IFF_ID[4];

/* Copies at most four characters of text into id; a shorter text leaves the remaining bytes
   zero. */
void IFF_createId(IFF_ID id, const char *text);

/* 0 when equal; otherwise negative or positive as strncmp(id1, id2, 4) orders them. Either side
   may be a longer zero-terminated text: only its first four characters count. */
int IFF_compareId(const IFF_ID id1, const IFF_ID id2);

/* Reads or writes the four bytes of an ID. chunkId and attributeName only name the field in the
   failure message. 1 on success, 0 on failure (already reported). */
int IFF_readId(FILE *file, IFF_ID id, const IFF_ID chunkId, const char *attributeName);
int IFF_writeId(FILE *file, const IFF_ID id, const IFF_ID chunkId, const char *attributeName);

/* 1 when every byte is printable ASCII and the first is not a blank, else 0 after a message. */
int IFF_checkId(const IFF_ID id);

/* Prints the four characters of the ID to standard output. A byte that is not printable ASCII is
   shown as \x and two hexadecimal digits (a zero byte as \x00), and a backslash as two. */
void IFF_printId(const IFF_ID id);

#endif
