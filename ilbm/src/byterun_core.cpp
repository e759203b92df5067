#include "ilbm/byterun.h"

#include <stdint.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <string.h>

size_t ILBM_byteRunRowWorstCase(size_t rowSize) {
    /* Every literal stretch but the last is followed by a run of at least three bytes, which
       pays for the stretch's control byte; so a row grows at most by one control byte per
       128 bytes and one more for its last stretch. */
    return rowSize + rowSize / 128 + 2;
}

namespace {

struct Output {
    unsigned char *data;
    size_t capacity;
    size_t length;
    bool full;
};

void emitRun(Output &out, unsigned char value, size_t count) {
    while (count > 0) {
        size_t n = count > 128 ? 128 : count;
        if (out.length + 2 > out.capacity) {
            out.full = true;
            return;
        }
        out.data[out.length++] =
            static_cast<unsigned char>(static_cast<signed char>(1 - static_cast<int>(n)));
        out.data[out.length++] = value;
        count -= n;
    }
}

/* available: the bytes readable from bytes on, at least count. */
void emitLiteral(Output &out, const unsigned char *bytes, size_t count, size_t available) {
    if (count <= 32 && available >= 32 && out.capacity - out.length >= 33) {
        /* Short stretches: one fixed-size copy; only count bytes of it are kept. */
        out.data[out.length] = static_cast<unsigned char>(count - 1);
        memcpy(out.data + out.length + 1, bytes, 32);
        out.length += count + 1;
        return;
    }
    while (count > 0) {
        size_t n = count > 128 ? 128 : count;
        if (out.length + 1 + n > out.capacity) {
            out.full = true;
            return;
        }
        out.data[out.length++] = static_cast<unsigned char>(n - 1);
        memcpy(out.data + out.length, bytes, n);
        out.length += n;
        bytes += n;
        count -= n;
    }
}

/* Length of the stretch of bytes equal to row[from] starting at from. */
[[gnu::always_inline]] inline size_t runLength(const unsigned char *row, size_t from, size_t size) {
    const unsigned char value = row[from];
    size_t i = from + 1;
#ifdef __SSE2__
    const __m128i broadcast = _mm_set1_epi8(static_cast<char>(value));
    while (i + 16 <= size) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i));
        unsigned int same =
            static_cast<unsigned int>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, broadcast)));
        if (same != 0xFFFF) {
            return i + static_cast<size_t>(__builtin_ctz(~same)) - from;
        }
        i += 16;
    }
#endif
    uint64_t pattern = 0x0101010101010101ULL * value;
    while (i + 8 <= size) {
        uint64_t word;
        memcpy(&word, row + i, 8);
        uint64_t difference = word ^ pattern;
        if (difference != 0) {
            return i + static_cast<size_t>(__builtin_ctzll(difference) / 8) - from;
        }
        i += 8;
    }
    while (i < size && row[i] == value) {
        i++;
    }
    return i - from;
}

/* The first position j >= from where three equal bytes start, or size when there is none. */
[[gnu::always_inline]] inline size_t findTriple(const unsigned char *row, size_t from,
                                                size_t size) {
    size_t j = from;
#ifdef __SSE2__
    while (j + 18 <= size) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + j));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + j + 1));
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + j + 2));
        unsigned int triples = static_cast<unsigned int>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, b), _mm_cmpeq_epi8(b, c))));
        if (triples != 0) {
            return j + static_cast<size_t>(__builtin_ctz(triples));
        }
        j += 16;
    }
#endif
    const uint64_t ones = 0x0101010101010101ULL;
    const uint64_t highs = 0x8080808080808080ULL;
    while (j + 10 <= size) {
        uint64_t a, b, c;
        memcpy(&a, row + j, 8);
        memcpy(&b, row + j + 1, 8);
        memcpy(&c, row + j + 2, 8);
        /* A zero byte in (a ^ b) | (b ^ c) marks a triple; the test may flag a false
           candidate above a real one, but the lowest flagged byte is always real. */
        uint64_t v = (a ^ b) | (b ^ c);
        uint64_t zeros = (v - ones) & ~v & highs;
        if (zeros != 0) {
            return j + static_cast<size_t>(__builtin_ctzll(zeros) / 8);
        }
        j += 8;
    }
    for (; j + 2 < size; j++) {
        if (row[j] == row[j + 1] && row[j + 1] == row[j + 2]) {
            return j;
        }
    }
    return size;
}

/* Writes 128 bytes of value. */
[[gnu::always_inline]] inline void fillBlock(unsigned char *dst, unsigned char value) {
#ifdef __SSE2__
    const __m128i v = _mm_set1_epi8(static_cast<char>(value));
    for (int k = 0; k < 128; k += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + k), v);
    }
#else
    memset(dst, value, 128);
#endif
}

} // namespace

/*
 * The packer's state machine (START, RUN, LITERAL, LITERAL_PAIR) comes down to this: two
 * equal bytes at the start of a token make a run that takes every following equal byte; any
 * other token is a literal stretch that goes on until the first three equal bytes, which
 * begin the next run, or until the end of the row. Scanning for those boundaries a word at
 * a time gives exactly the state machine's output.
 */
size_t ILBM_packByteRunRow(const unsigned char *row, size_t rowSize, unsigned char *out,
                           size_t capacity) {
    Output output{out, capacity, 0, false};
    size_t s = 0;

    while (s < rowSize && !output.full) {
        if (s + 1 < rowSize && row[s] == row[s + 1]) {
            size_t length = runLength(row, s, rowSize);
            emitRun(output, row[s], length);
            s += length;
        } else {
            size_t j = findTriple(row, s + 1, rowSize);
            emitLiteral(output, row + s, j - s, rowSize - s);
            if (j < rowSize) {
                size_t length = 3 + runLength(row, j + 2, rowSize) - 1;
                emitRun(output, row[j], length);
                s = j + length;
            } else {
                s = rowSize;
            }
        }
    }

    return output.full ? 0 : output.length;
}

ILBM_ByteRunResult ILBM_unpackByteRunData(const unsigned char *packed, size_t packedSize,
                                          unsigned char *dst, size_t dstSize) {
    ILBM_ByteRunResult result{};
    size_t in = 0;
    size_t outPos = 0;

    /* While both buffers have room for the longest token, copy whole 128-byte blocks and
       advance by the token's length: fixed-size copies beat the calls for short tokens. */
    while (packedSize - in > 129 && dstSize - outPos >= 128) {
        int n = static_cast<signed char>(packed[in]);
        if (n >= 0) {
            memcpy(dst + outPos, packed + in + 1, 128);
            outPos += static_cast<size_t>(n) + 1;
            in += static_cast<size_t>(n) + 2;
        } else if (n != -128) {
            fillBlock(dst + outPos, packed[in + 1]);
            outPos += static_cast<size_t>(1 - n);
            in += 2;
        } else {
            result.unknownControls++;
            in++;
        }
    }

    while (outPos < dstSize) {
        if (in >= packedSize) {
            result.truncated = 1;
            break;
        }
        int n = static_cast<signed char>(packed[in++]);

        if (n >= 0) {
            size_t length = static_cast<size_t>(n) + 1;
            size_t available = packedSize - in;
            size_t room = dstSize - outPos;
            size_t copy = length;
            if (copy > room) {
                copy = room;
                result.overrun = 1;
            }
            if (copy > available) {
                copy = available;
                result.truncated = 1;
            }
            memcpy(dst + outPos, packed + in, copy);
            outPos += copy;
            in += copy;
            if (copy < length) {
                break;
            }
        } else if (n != -128) {
            size_t length = static_cast<size_t>(1 - n);
            if (in >= packedSize) {
                result.truncated = 1;
                break;
            }
            unsigned char value = packed[in++];
            size_t room = dstSize - outPos;
            if (length > room) {
                length = room;
                result.overrun = 1;
            }
            memset(dst + outPos, value, length);
            outPos += length;
        } else {
            result.unknownControls++;
        }
    }

    result.written = outPos;
    result.consumed = in;
    return result;
}
