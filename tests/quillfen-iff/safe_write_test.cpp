// quillfen-iff under hostile conditions: a file that can grow no further (as on a full disk), a
// signal in the middle of a large write, an input that never ends. The file written over stays byte
// for byte as it was and no new file is left beside it.
#include "run_program.h"
#include "scratch_files.h"
#include "testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ifftool;

namespace {

const Bytes kOld = {'o', 'l', 'd', '\n'};

} // namespace

TEST(QuillfenIffWrites, EveryCommandOnAFullDiskKeepsTheOldFile) {
    Folder folder;
    // Every output is larger than the 512 bytes the shell's ulimit -f 1 lets a file have (its
    // messages are smaller): a packed ILBM of 8 KiB (24 KiB unpacked), a colour map of 256, and
    // 128 x 64 of four colours in no order, so that a packed picture is large too.
    std::filesystem::create_directory_symlink(QUILLFEN_PICTURES, folder.file("pictures"));
    Indexed picture{128, 64, {}, {0, 0xff0000, 0x00ff00, 0x0000ff}};
    std::uint32_t seed = 1;
    for (unsigned i = 0; i < 128 * 64; i++) {
        seed = seed * 1103515245 + 12345;
        picture.pixels.push_back(static_cast<std::uint8_t>(seed >> 16 & 3));
    }
    savePng(folder.file("p.png"), picture, 2);
    // A file that can grow no further fails its writes as a full disk does (data/full-disk.txt).
    const std::string out = folder.file("out");
    save(out, kOld);
    runtable::expectRuns("ulimit -f 1; exec " QUILLFEN_IFF_TOOL, folder.path(),
                         QUILLFEN_IFF_DATA "/full-disk.txt", [&](const std::string &) {
                             EXPECT_EQ(load(out), kOld);
                             EXPECT_EQ(testfiles::namesBeside(out),
                                       (std::vector<std::string>{"out", "p.png", "pictures"}));
                             save(out, kOld);
                         });
}

TEST(QuillfenIffWrites, ASignalDuringALargeWriteKeepsTheOldFile) {
    Folder folder;
    // 8192 x 8192 of one plane: 8 MiB read, 64 MiB of chunky bytes written.
    save(folder.file("big.iff"),
         group("FORM", "ILBM", {bmhd(8192, 8192, 1), chunk("BODY", Bytes(8192 / 8 * 8192))}));
    const std::string out = folder.file("out");
    const struct { int signal, status; } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.signal);
        // On a busy machine the program may finish before the signal reaches it: then its new
        // file is whole and nothing is left beside it, and it is tried again.
        bool interrupted = false;
        for (int attempt = 0; attempt < 5 && !interrupted; ++attempt) {
            save(out, kOld);
            // The program is signalled as soon as its new file appears beside the old one.
            const int watch = inotify_init1(IN_CLOEXEC);
            ASSERT_GE(watch, 0);
            ASSERT_GE(inotify_add_watch(watch, std::filesystem::path(out).parent_path().c_str(),
                                        IN_CREATE),
                      0);
            std::string input = folder.file("big.iff");
            std::vector<char *> argv = {
                const_cast<char *>(QUILLFEN_IFF_TOOL), const_cast<char *>("raw"),
                const_cast<char *>("--chunky"),        input.data(),
                const_cast<char *>(out.c_str()),       nullptr};
            // The signals at their default, whatever this test was started with (a shell runs
            // a background job with SIGINT ignored, and the program keeps what it was given).
            posix_spawnattr_t attributes;
            posix_spawnattr_init(&attributes);
            sigset_t defaults;
            sigemptyset(&defaults);
            for (int signal : {SIGINT, SIGTERM, SIGHUP})
                sigaddset(&defaults, signal);
            posix_spawnattr_setsigdefault(&attributes, &defaults);
            posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
            pid_t pid = 0;
            const int spawned =
                posix_spawn(&pid, QUILLFEN_IFF_TOOL, nullptr, &attributes, argv.data(), environ);
            posix_spawnattr_destroy(&attributes);
            ASSERT_EQ(spawned, 0);
            pollfd created{watch, POLLIN, 0};
            ASSERT_EQ(poll(&created, 1, 30000), 1) << "no new file within 30 seconds";
            kill(pid, c.signal);
            int status = 0;
            ASSERT_EQ(waitpid(pid, &status, 0), pid);
            close(watch);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(testfiles::namesBeside(out), (std::vector<std::string>{"big.iff", "out"}));
            if (WEXITSTATUS(status) == 0) {
                EXPECT_EQ(load(out).size(), std::size_t{8192} * 8192);
                continue;
            }
            interrupted = true;
            EXPECT_EQ(WEXITSTATUS(status), c.status);
            EXPECT_EQ(load(out), kOld);
        }
        EXPECT_TRUE(interrupted) << "the program finished before the signal five times";
    }
}

TEST(QuillfenIffReads, AnInputThatNeverEndsStopsAtTheLimit) {
    // Within a memory limit that the old reader ran out of (its std::bad_alloc ended the
    // program): the new one stops at 1 GiB, counted as read (FIFOs and pipes stop the same way:
    // the picture library's tests).
    const testprogram::Outcome r =
        testprogram::run(std::string(testprogram::kSanitized ? "" : "ulimit -v 2500000; ") +
                             "exec " + QUILLFEN_IFF_TOOL,
                         "print /dev/zero");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quillfen-iff print: '/dev/zero' is larger than 1 GiB, larger than any "
                     "picture that is read.\n");
}
