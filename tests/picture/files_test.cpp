// Whole files written all or nothing under a disk that fills, and read within a limit from files,
// devices and pipes.
#include "picture_files.h"
#include "scratch_files.h"

#include <picture/files.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using picturetest::Folder;
using Bytes = std::vector<std::uint8_t>;

using testfiles::load;

void save(const std::string &path, const std::string &text) {
    EXPECT_TRUE(testfiles::saveText(path, text));
}

// Files of this process may grow to limit bytes (ulimit -f): past it a write fails with EFBIG,
// as it fails with ENOSPC on a full disk, at any byte the test chooses.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = previous_;
        lower.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit previous_{};
    void (*handler_)(int) = nullptr;
};

TEST(WriteWholeFile, AWriteThatFailsAtAnyByteLeavesTheOldFileAndNoOther) {
    Folder folder;
    const std::string target = folder.file("out.bin");
    const Bytes data(300000, 0x5a);
    for (const rlim_t failsAfter : {rlim_t{0}, rlim_t{1}, rlim_t{4096}, rlim_t{299999}}) {
        SCOPED_TRACE(failsAfter);
        save(target, "the old contents");
        std::string error;
        bool written = true;
        {
            const FileSizeLimit limit(failsAfter);
            written = picture::writeWholeFile(target, data.data(), data.size(), &error);
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(error,
                  "'" + target + "' cannot be written: File too large; it is left as it was.");
        EXPECT_EQ(load(target), Bytes({'t', 'h', 'e', ' ', 'o', 'l', 'd', ' ', 'c', 'o', 'n', 't',
                                       'e', 'n', 't', 's'}));
        EXPECT_EQ(testfiles::namesBeside(target), std::vector<std::string>{"out.bin"});
    }
    // A file that was not there is still not there.
    std::filesystem::remove(target);
    std::string error;
    {
        const FileSizeLimit limit(10);
        EXPECT_FALSE(picture::writeWholeFile(target, data.data(), data.size(), &error));
    }
    EXPECT_EQ(error, "'" + target + "' cannot be written: File too large.");
    EXPECT_TRUE(testfiles::namesBeside(target).empty());
}

TEST(WriteWholeFile, ReplacesTheFileALinkNamesAndWritesDevicesInPlace) {
    Folder folder;
    const std::string real = folder.file("real.bin"), link = folder.file("link.bin");
    save(real, "old");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink("real.bin", link.c_str()), 0);
    std::string error;
    ASSERT_TRUE(picture::writeWholeFile(link, "new", 3, &error)) << error;
    EXPECT_EQ(load(real), Bytes({'n', 'e', 'w'}));
    struct stat status {};
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode)) << "the link stays a link";
    ASSERT_EQ(stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u) << "a replaced file keeps its permissions";

    // A new file gets the permissions the umask leaves, as any program's new file.
    const mode_t mask = umask(022);
    ASSERT_TRUE(picture::writeWholeFile(folder.file("new.bin"), "x", 1, &error)) << error;
    umask(mask);
    ASSERT_EQ(stat(folder.file("new.bin").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);

    // A device is written, never replaced by a file.
    ASSERT_TRUE(picture::writeWholeFile("/dev/null", "x", 1, &error)) << error;
    ASSERT_EQ(stat("/dev/null", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));

    EXPECT_FALSE(picture::writeWholeFile(folder.file("no/such/folder/out"), "x", 1, &error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

TEST(ReadWholeFile, StopsAtItsLimitCountedInBytesRead) {
    Folder folder;
    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    save(folder.file("large"), std::string(1025, 'a'));
    save(folder.file("fits"), std::string(1024, 'b'));
    const picture::ReadLimit kilobyte{1024, "palette"};
    picture::ReadLimit onlyFiles = kilobyte;
    onlyFiles.regularOnly = true;
    picture::ReadLimit named{3 << 20, "copper list"};
    named.name = "“zero”";
    struct Case {
        std::string path;
        picture::ReadLimit limit;
        std::string error; // empty: read
    };
    const std::vector<Case> cases = {
        {folder.file("fits"), kilobyte, ""},
        {folder.file("large"), kilobyte,
         "'" + folder.file("large") +
             "' is larger than 1 KiB, larger than any palette that is read."},
        // A device that never ends, whose size says nothing.
        {"/dev/zero", kilobyte,
         "'/dev/zero' is larger than 1 KiB, larger than any palette that is read."},
        // Named as a window shows it.
        {"/dev/zero", named,
         "“zero” is larger than 3 MiB, larger than any copper list that is read."},
        // Refused before anything is read: no wait for a writer that never comes.
        {fifo, onlyFiles,
         "'" + fifo +
             "' is not a regular file (a device, a FIFO or a socket); only files are read."},
        {"/dev/zero", onlyFiles,
         "'/dev/zero' is not a regular file (a device, a FIFO or a socket); only files are read."},
        {folder.file("missing"), kilobyte,
         "'" + folder.file("missing") + "' cannot be opened: No such file or directory."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        Bytes bytes{1, 2, 3};
        std::string error;
        EXPECT_EQ(picture::readWholeFile(c.path, c.limit, &bytes, &error), c.error.empty());
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(bytes.size(), c.error.empty() ? 1024u : 0u);
    }
    // A caller that wants no sentence gets none (and no crash).
    Bytes bytes;
    EXPECT_FALSE(picture::readWholeFile(folder.file("large"), kilobyte, &bytes, nullptr));
}

TEST(ReadWholeFile, APipeThatNeverEndsStopsAtTheLimit) {
    // The standard input and a FIFO are pipes: a writer that goes on for ever is cut off.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        close(ends[0]);
        const std::vector<char> zeros(65536);
        while (write(ends[1], zeros.data(), zeros.size()) > 0) {
        }
        _exit(0);
    }
    close(ends[1]);
    const int standardInput = dup(0);
    dup2(ends[0], 0);
    close(ends[0]);
    Bytes bytes;
    std::string error;
    const bool read = picture::readWholeFile("-", {1 << 20, "picture"}, &bytes, &error);
    dup2(standardInput, 0);
    close(standardInput);
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    EXPECT_FALSE(read);
    EXPECT_EQ(error,
              "the standard input is larger than 1 MiB, larger than any picture that is read.");
}

} // namespace
