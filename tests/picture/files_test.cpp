// Whole files written all or nothing under a disk that fills, and read within a limit from files,
// devices and pipes.
#include "picture_files.h"
#include "scratch_files.h"

#include <picture/files.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using picturetest::Folder;
using Bytes = std::vector<std::uint8_t>;

// Writes the data to path while files of this process may grow to limit bytes (ulimit -f): past
// it a write fails with EFBIG, as it fails with ENOSPC on a full disk, at any byte chosen.
bool writeUnder(rlim_t limit, const std::string &path, const Bytes &data, std::string *error) {
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit lower{limit, previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lower);
    const bool written = picture::writeWholeFile(path, data.data(), data.size(), error);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    return written;
}

TEST(WriteWholeFile, AllOrNothingThroughALinkAndInPlaceOnADevice) {
    Folder folder;
    const std::string target = folder.file("out.bin");
    const Bytes data(300000, 0x5a);
    for (const rlim_t failsAfter : {rlim_t{0}, rlim_t{1}, rlim_t{4096}, rlim_t{299999}}) {
        ASSERT_TRUE(testfiles::saveText(target, "the old contents"));
        std::string error;
        EXPECT_FALSE(writeUnder(failsAfter, target, data, &error));
        EXPECT_EQ(error,
                  "'" + target + "' cannot be written: File too large; it is left as it was.");
        EXPECT_EQ(testfiles::loadText(target), "the old contents") << failsAfter;
        EXPECT_EQ(testfiles::namesBeside(target), std::vector<std::string>{"out.bin"});
    }
    // A file that was not there is still not there.
    std::filesystem::remove(target);
    std::string error;
    EXPECT_FALSE(writeUnder(10, target, data, &error));
    EXPECT_EQ(error, "'" + target + "' cannot be written: File too large.");
    EXPECT_TRUE(testfiles::namesBeside(target).empty());

    // Through a link the file it names is replaced, the link kept.
    const std::string real = folder.file("real.bin"), link = folder.file("link.bin");
    ASSERT_TRUE(testfiles::saveText(real, "old"));
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink("real.bin", link.c_str()), 0);
    ASSERT_TRUE(picture::writeWholeFile(link, "new", 3, &error)) << error;
    EXPECT_EQ(testfiles::loadText(real), "new");
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

// Two files that go together: when the second cannot be written, the first is as it was.
TEST(WriteWholeFilePair, BothOrNeitherAndNothingElseTouched) {
    Folder folder;
    const std::string first = folder.file("tiles"), badSecond = folder.file("no/such/map");
    std::string error;
    EXPECT_FALSE(picture::writeWholeFilePair(first, "tiles", badSecond, "map", &error));
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_NE(error.find("'" + first + "' is not written either."), std::string::npos) << error;

    ASSERT_TRUE(testfiles::saveText(first, "the old tiles"));
    EXPECT_FALSE(picture::writeWholeFilePair(first, "tiles", badSecond, "map", &error));
    EXPECT_EQ(testfiles::loadText(first), "the old tiles");
    EXPECT_NE(error.find("is put back as it was."), std::string::npos) << error;

    // A link to a device is written through, and stays.
    const std::string link = folder.file("null");
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);
    EXPECT_FALSE(picture::writeWholeFilePair(link, "tiles", badSecond, "map", &error));
    struct stat status {};
    EXPECT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));

    // One file under two names would keep only the second: refused, the file untouched.
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_FALSE(
        picture::writeWholeFilePair(first, "tiles", folder.file("sub/../tiles"), "map", &error));
    EXPECT_EQ(testfiles::loadText(first), "the old tiles");
    EXPECT_NE(error.find("is named for both files; nothing is written."), std::string::npos)
        << error;

    ASSERT_TRUE(picture::writeWholeFilePair(first, "tiles", folder.file("map"), "map", &error))
        << error;
    EXPECT_EQ(testfiles::loadText(first) + testfiles::loadText(folder.file("map")), "tilesmap");
}

TEST(ReadWholeFile, StopsAtItsLimitCountedInBytesRead) {
    Folder folder;
    const std::string fifo = folder.file("fifo"), large = folder.file("large"),
                      missing = folder.file("missing");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(testfiles::saveText(large, std::string(1025, 'a')) &&
                testfiles::saveText(folder.file("fits"), std::string(1024, 'b')));
    const picture::ReadLimit kilobyte{1024, "palette"}, onlyFiles{1024, "palette", true},
        named{3 << 20, "copper list", false, "“zero”"}, megabyte{1 << 20, "picture"};
    const std::string overKilobyte = " is larger than 1 KiB, larger than any palette that is read.",
                      notAFile = " is not a regular file (a device, a FIFO or a socket); only "
                                 "files are read.";
    const struct {
        std::string path;
        picture::ReadLimit limit;
        std::string error; // empty: read
    } cases[] = {
        {folder.file("fits"), kilobyte, ""},
        {large, kilobyte, "'" + large + "'" + overKilobyte},
        // A device that never ends, whose size says nothing.
        {"/dev/zero", kilobyte, "'/dev/zero'" + overKilobyte},
        // Named as a window shows it.
        {"/dev/zero", named,
         "“zero” is larger than 3 MiB, larger than any copper list that is read."},
        // The standard input, a pipe whose writer goes on for ever.
        {"-", megabyte,
         "the standard input is larger than 1 MiB, larger than any picture that is read."},
        // Refused before anything is read: no wait for a writer that never comes.
        {fifo, onlyFiles, "'" + fifo + "'" + notAFile},
        {missing, kilobyte, "'" + missing + "' cannot be opened: No such file or directory."},
    };
    FILE *endless = popen("cat /dev/zero", "r");
    ASSERT_NE(endless, nullptr);
    const int standardInput = dup(0);
    dup2(fileno(endless), 0);
    for (const auto &c : cases) {
        Bytes bytes{1, 2, 3};
        std::string error;
        EXPECT_EQ(picture::readWholeFile(c.path, c.limit, &bytes, &error), c.error.empty())
            << c.path;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(bytes.size(), c.error.empty() ? 1024u : 0u) << c.path;
    }
    dup2(standardInput, 0);
    close(standardInput);
    pclose(endless); // cat ends on the pipe closed
    // A caller that wants no sentence gets none (and no crash).
    Bytes bytes;
    EXPECT_FALSE(picture::readWholeFile(large, kilobyte, &bytes, nullptr));
}

} // namespace
