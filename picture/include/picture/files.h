// Reading and writing whole files, as the window and both programs do: a read stops at a limit
// counted in bytes read (a device, a FIFO or the standard input says nothing of its size), and a
// write replaces its target only when every byte reached the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace picture {

// The most that is read of a picture file: no picture that is read takes more (256 Mi pixels of
// 32 planes, unpacked).
constexpr std::size_t kPictureFileLimit = std::size_t{1} << 30;
// The most that is read of a copper list, as text, data or binary.
constexpr std::size_t kCopperListLimit = std::size_t{64} << 20;

// What a read is of, for its messages: the limit and the kind of file it is for
// ("picture", "copper list", "palette").
struct ReadLimit {
    std::size_t bytes = kPictureFileLimit;
    const char *what = "picture";
    // Only a regular file is read (the window reads nothing else: a device or a FIFO could keep
    // it waiting).
    bool regularOnly = false;
    // How the messages name the file, as a window shows it ("“a.iff”"); empty for fileName(path).
    std::string name = {};
};

// The bytes of a whole file ("-" is the standard input), at most limit.bytes of them. false with
// *error (when it is not null) a sentence naming the file ("'a.iff' cannot be opened: No such
// file or directory.", "'/dev/zero' is larger than 1 GiB, larger than any picture that is read.").
bool readWholeFile(const std::string &path, const ReadLimit &limit,
                   std::vector<std::uint8_t> *bytes, std::string *error);

// What kind of file bytes of another format are, by their signature, for a message that names it
// ("a PNG picture", "a GIF picture", "a JPEG picture"); empty when the bytes are of no kind known
// here (an IFF file among them).
std::string otherKindOf(const std::vector<std::uint8_t> &bytes);

// How a file is named in messages: 'path', or "the standard input" for "-".
std::string fileName(const std::string &path);

// Writes data as the whole of path ("-" is the standard output): into a new file in the target's
// folder, every write and the close checked and the file synced, then renamed over the target.
// On any failure the target is as it was, the new file is gone, and *error is a sentence naming
// the target ("'out.bin' cannot be written: No space left on device; it is left as it was."), or
// by name when that is given (as a window shows it, "“out.bin”").
// A target that is not a regular file (a device, a FIFO) is written in place.
bool writeWholeFile(const std::string &path, const void *data, std::size_t size, std::string *error,
                    const std::string &name = {});

// Writes two files that go together (data and its map, say), both or neither: the first as
// writeWholeFile writes it, then the second; when the second cannot be written, the first is put
// back as it was, or removed when it was not there (a device or a FIFO, written in place, cannot
// be put back). *error is writeWholeFile's of the file that failed and, after the second's, what
// became of the first. Two names of one file are refused, nothing written. The standard output
// ("-") cannot be put back: with it, the files are written in turn.
bool writeWholeFilePair(const std::string &first, const std::string &firstData,
                        const std::string &second, const std::string &secondData,
                        std::string *error, const std::string &firstName = {},
                        const std::string &secondName = {});

// The same, for data made while it is written: produce hands each piece in order to the write
// it is given, which answers false once writing has failed (what follows is then dropped).
using WritePiece = std::function<bool(std::string_view piece)>;
using ProducePieces = std::function<void(const WritePiece &write)>;
bool writeWholeFile(const std::string &path, const ProducePieces &produce, std::string *error,
                    const std::string &name = {});

// Removes the new file of a write under way, if there is one. Safe in a signal handler: a program
// calls it on SIGINT, SIGTERM and SIGHUP before it ends.
void removeUnfinishedFile() noexcept;

} // namespace picture
