// Whole files read with a limit and written all or nothing.
#include "picture/files.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace picture {

namespace {

std::string limitText(std::size_t bytes) {
    if (bytes >= (std::size_t{1} << 30) && bytes % (std::size_t{1} << 30) == 0) {
        return std::to_string(bytes >> 30) + " GiB";
    }
    if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0) {
        return std::to_string(bytes >> 20) + " MiB";
    }
    if (bytes >= 1024 && bytes % 1024 == 0) {
        return std::to_string(bytes >> 10) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

std::string tooLarge(const std::string &name, const ReadLimit &limit) {
    return name + " is larger than " + limitText(limit.bytes) + ", larger than any " + limit.what +
           " that is read.";
}

// The new file of the write under way, for a signal handler: its path is complete before
// unfinished is set, and unfinished is cleared before the path changes.
char unfinishedPath[PATH_MAX];
volatile std::sig_atomic_t unfinished = 0;
std::mutex writing;

// The signals that end a program are held while the new file is made and while it is renamed,
// so that a handler finds it either not yet there or still to be removed.
class HeldSignals {
public:
    HeldSignals() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigaddset(&held, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    HeldSignals(const HeldSignals &) = delete;
    HeldSignals &operator=(const HeldSignals &) = delete;

private:
    sigset_t previous_;
};

bool writeAll(int fd, const void *data, std::size_t size) {
    const auto *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t done = ::write(fd, bytes, size);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            if (done == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string otherKindOf(const std::vector<std::uint8_t> &bytes) {
    auto startsWith = [&](const char *signature, std::size_t length) {
        return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
    };
    if (startsWith("\x89PNG\r\n\x1a\n", 8)) {
        return "a PNG picture";
    }
    if (startsWith("GIF87a", 6) || startsWith("GIF89a", 6)) {
        return "a GIF picture";
    }
    if (startsWith("\xff\xd8\xff", 3)) {
        return "a JPEG picture";
    }
    return {};
}

std::string fileName(const std::string &path) {
    return path == "-" ? std::string("the standard input") : "'" + path + "'";
}

bool readWholeFile(const std::string &path, const ReadLimit &limit,
                   std::vector<std::uint8_t> *bytes, std::string *error) {
    const bool standardInput = path == "-";
    const std::string name = limit.name.empty() ? fileName(path) : limit.name;
    std::string unused;
    if (error == nullptr) {
        error = &unused;
    }
    bytes->clear();
    // A FIFO opened without waiting for a writer, so that one that is refused is refused at once.
    const int fd =
        standardInput
            ? 0
            : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (limit.regularOnly ? O_NONBLOCK : 0));
    if (fd < 0) {
        *error = name + " cannot be opened: " + std::strerror(errno) + ".";
        return false;
    }
    auto done = [&](bool result) {
        if (!standardInput) {
            ::close(fd);
        }
        return result;
    };
    struct stat status {};
    if (::fstat(fd, &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            *error = name + " is a folder, not a file.";
            return done(false);
        }
        if (limit.regularOnly && !S_ISREG(status.st_mode)) {
            *error = name + " is not a regular file (a device, a FIFO or a socket); only files "
                            "are read.";
            return done(false);
        }
        if (S_ISREG(status.st_mode)) {
            if (static_cast<std::uint64_t>(status.st_size) > limit.bytes) {
                *error = tooLarge(name, limit);
                return done(false);
            }
            bytes->reserve(static_cast<std::size_t>(status.st_size) + 1);
        }
    }
    if (limit.regularOnly) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    // Counted as read: a file that grows, a device or a pipe stops at the limit all the same.
    std::vector<std::uint8_t> block(std::size_t{1} << 20);
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            *error = name + " cannot be read: " + std::strerror(errno) + ".";
            bytes->clear();
            return done(false);
        }
        if (got == 0) {
            break;
        }
        if (bytes->size() + static_cast<std::size_t>(got) > limit.bytes) {
            *error = tooLarge(name, limit);
            bytes->clear();
            bytes->shrink_to_fit();
            return done(false);
        }
        bytes->insert(bytes->end(), block.begin(), block.begin() + got);
    }
    return done(true);
}

bool writeWholeFile(const std::string &path, const void *data, std::size_t size, std::string *error,
                    const std::string &shownName) {
    return writeWholeFile(
        path,
        [&](const WritePiece &write) {
            write({static_cast<const char *>(data), size});
        },
        error, shownName);
}

bool writeWholeFilePair(const std::string &first, const std::string &firstData,
                        const std::string &second, const std::string &secondData,
                        std::string *error, const std::string &firstName,
                        const std::string &secondName) {
    const std::string shownFirst = firstName.empty() ? "'" + first + "'" : firstName;
    const bool inFiles = first != "-" && second != "-";
    // One file cannot hold both: the second would replace the first.
    if (inFiles) {
        std::error_code failedFirst, failedSecond;
        const std::filesystem::path one = std::filesystem::weakly_canonical(first, failedFirst);
        const std::filesystem::path two = std::filesystem::weakly_canonical(second, failedSecond);
        if ((!failedFirst && !failedSecond && one == two) || first == second) {
            *error = shownFirst + " is named for both files; nothing is written.";
            return false;
        }
    }
    // What is there now, to put back: the bytes of a regular file; anything else (a device, a
    // FIFO) is written in place and cannot be.
    struct stat status {};
    const bool existed = inFiles && ::lstat(first.c_str(), &status) == 0;
    std::optional<std::vector<std::uint8_t>> before;
    if (existed && ::stat(first.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        ReadLimit limit;
        limit.regularOnly = true;
        std::vector<std::uint8_t> bytes;
        std::string ignored;
        if (!readWholeFile(first, limit, &bytes, &ignored)) {
            *error = shownFirst +
                     " cannot be read to keep it as it was if writing fails; nothing is written.";
            return false;
        }
        before = std::move(bytes);
    }
    if (!writeWholeFile(first, firstData.data(), firstData.size(), error, firstName)) {
        return false;
    }
    if (writeWholeFile(second, secondData.data(), secondData.size(), error, secondName)) {
        return true;
    }
    if (!inFiles) {
        return false;
    }
    if (before) {
        std::string failed;
        *error += writeWholeFile(first, before->data(), before->size(), &failed, firstName)
                      ? " " + shownFirst + " is put back as it was."
                      : " " + shownFirst + " cannot be put back as it was: " + failed;
    } else if (!existed) {
        std::remove(first.c_str());
        *error += " " + shownFirst + " is not written either.";
    } else {
        *error += " " + shownFirst + " is not a file and has been written.";
    }
    return false;
}

namespace {

// Writes every piece that produce gives, up to the first that cannot be written.
bool writePieces(int fd, const ProducePieces &produce) {
    bool written = true;
    produce([&](std::string_view piece) {
        written = written && writeAll(fd, piece.data(), piece.size());
        return written;
    });
    return written;
}

} // namespace

bool writeWholeFile(const std::string &path, const ProducePieces &produce, std::string *error,
                    const std::string &shownName) {
    if (path == "-") {
        if (writePieces(1, produce)) {
            return true;
        }
        *error =
            std::string("the standard output cannot be written: ") + std::strerror(errno) + ".";
        return false;
    }
    const std::string name = shownName.empty() ? "'" + path + "'" : shownName;
    auto fail = [&](int cause, bool existed) {
        *error = name + " cannot be written: " + std::strerror(cause) +
                 (existed ? "; it is left as it was." : ".");
        return false;
    };

    // A link is followed: the file it names is replaced, the link stays.
    std::string target = path;
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (char *real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const bool existed = ::stat(target.c_str(), &status) == 0;
    if (existed && !S_ISREG(status.st_mode)) {
        // A device or a FIFO cannot be replaced by a file: it takes the bytes itself.
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            return fail(errno, false);
        }
        const bool written = writePieces(fd, produce);
        const int cause = errno;
        if (::close(fd) != 0 && written) {
            return fail(errno, false);
        }
        return written ? true : fail(cause, false);
    }
    const mode_t mode = existed ? (status.st_mode & 07777) : creationMode();

    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : target.substr(0, slash);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string pattern = folder + "/." + base + ".XXXXXX";
    if (pattern.size() >= sizeof unfinishedPath) {
        return fail(ENAMETOOLONG, existed);
    }

    const std::lock_guard<std::mutex> lock(writing);
    int fd = -1;
    {
        const HeldSignals held;
        std::memcpy(unfinishedPath, pattern.c_str(), pattern.size() + 1);
        fd = ::mkostemp(unfinishedPath, O_CLOEXEC);
        if (fd >= 0) {
            unfinished = 1;
        }
    }
    if (fd < 0) {
        return fail(errno, existed);
    }
    auto discard = [&](int cause) {
        const HeldSignals held;
        ::unlink(unfinishedPath);
        unfinished = 0;
        return fail(cause, existed);
    };
    // A file replaced keeps its owner where this process may give it (as root may).
    if (existed && ::fchown(fd, status.st_uid, status.st_gid) != 0) {
        errno = 0;
    }
    if (!writePieces(fd, produce) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        const int cause = errno;
        ::close(fd);
        return discard(cause);
    }
    if (::close(fd) != 0) {
        return discard(errno);
    }
    {
        const HeldSignals held;
        if (::rename(unfinishedPath, target.c_str()) != 0) {
            const int cause = errno;
            ::unlink(unfinishedPath);
            unfinished = 0;
            return fail(cause, existed);
        }
        unfinished = 0;
    }
    // The new name on the disk too; a folder that cannot be synced has the file all the same.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

void removeUnfinishedFile() noexcept {
    if (unfinished) {
        ::unlink(unfinishedPath);
        unfinished = 0;
    }
}

} // namespace picture
