#include "ilbm/byterun.h"

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

void emitLiteral(Output &out, const unsigned char *bytes, size_t count) {
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

enum class State { Start, Run, Literal, LiteralPair };

} // namespace

size_t ILBM_packByteRunRow(const unsigned char *row, size_t rowSize, unsigned char *out,
                           size_t capacity) {
    Output output{out, capacity, 0, false};
    if (rowSize == 0) {
        return 0;
    }

    State state = State::Start;
    size_t count = 1;
    unsigned char current = row[0];

    for (size_t i = 1; i < rowSize && !output.full; i++) {
        unsigned char previous = current;
        current = row[i];
        bool equal = previous == current;

        switch (state) {
        case State::Start:
            count++;
            state = equal ? State::Run : State::Literal;
            break;
        case State::Run:
            if (equal) {
                count++;
            } else {
                emitRun(output, previous, count);
                count = 1;
                state = State::Start;
            }
            break;
        case State::Literal:
            if (equal) {
                state = State::LiteralPair;
            } else {
                count++;
            }
            break;
        case State::LiteralPair:
            if (equal) {
                /* The stretch ends before the last three bytes read, which start a run. */
                emitLiteral(output, row + i - 2 - (count - 1), count - 1);
                count = 3;
                state = State::Run;
            } else {
                count += 2;
                state = State::Literal;
            }
            break;
        }
    }

    if (!output.full) {
        switch (state) {
        case State::Run:
            emitRun(output, current, count);
            break;
        case State::LiteralPair:
            emitLiteral(output, row + rowSize - (count + 1), count + 1);
            break;
        case State::Start:
        case State::Literal:
            emitLiteral(output, row + rowSize - count, count);
            break;
        }
    }

    return output.full ? 0 : output.length;
}

ILBM_ByteRunResult ILBM_unpackByteRunData(const unsigned char *packed, size_t packedSize,
                                          unsigned char *dst, size_t dstSize) {
    ILBM_ByteRunResult result{};
    size_t in = 0;
    size_t outPos = 0;

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
