#ifndef IFF_IO_H
#define IFF_IO_H

#include "iff/id.h"

#include <stdint.h>
#include <stdio.h>

/* Scalar fields: native byte order in memory, big-endian in the file. */
typedef uint8_t IFF_UByte;
typedef uint16_t IFF_UWord;
typedef int16_t IFF_Word;
typedef uint32_t IFF_ULong;
typedef int32_t IFF_Long;

/* Each read and write returns 1 on success and 0 on failure, after reporting it as the field
   attributeName of the chunk chunkId. */
int IFF_readUByte(FILE *file, IFF_UByte *value, const IFF_ID chunkId, const char *attributeName);
int IFF_writeUByte(FILE *file, const IFF_UByte value, const IFF_ID chunkId,
                   const char *attributeName);
int IFF_readUWord(FILE *file, IFF_UWord *value, const IFF_ID chunkId, const char *attributeName);
int IFF_writeUWord(FILE *file, const IFF_UWord value, const IFF_ID chunkId,
                   const char *attributeName);
int IFF_readWord(FILE *file, IFF_Word *value, const IFF_ID chunkId, const char *attributeName);
int IFF_writeWord(FILE *file, const IFF_Word value, const IFF_ID chunkId,
                  const char *attributeName);
int IFF_readULong(FILE *file, IFF_ULong *value, const IFF_ID chunkId, const char *attributeName);
int IFF_writeULong(FILE *file, const IFF_ULong value, const IFF_ID chunkId,
                   const char *attributeName);
int IFF_readLong(FILE *file, IFF_Long *value, const IFF_ID chunkId, const char *attributeName);
int IFF_writeLong(FILE *file, const IFF_Long value, const IFF_ID chunkId,
                  const char *attributeName);

/* The padding byte that follows a body of odd size: nothing happens for an even size. A non-zero
   padding byte only warns. */
int IFF_readPaddingByte(FILE *file, const IFF_Long chunkSize, const IFF_ID chunkId);
int IFF_writePaddingByte(FILE *file, const IFF_Long chunkSize, const IFF_ID chunkId);

#endif
