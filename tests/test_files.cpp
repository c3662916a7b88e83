// Files the game can trust: the one safe writer, leftovers, bad files kept
// aside, and loaders that never wait on a named pipe in place of a file.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>
#include <unistd.h>

#include "deadline.h"
#include "files.h"
#include "gl_context.h"
#include "graphics/graphics.h"
#include "player_folder.h"
#include "rules/rules.h"
#include "rules/savegame.h"
#include "rules/scores.h"
#include "settings.h"
#include "shell/shell.h"

namespace fs = std::filesystem;

namespace {

// Each case runs in its own scratch folder, which is both the working folder
// (the game's folder) and the player's data folder, so that no case touches
// the files of whoever runs the tests.
class ScratchFolder : public GLTest {
protected:
    player_folder folder{0};
    const fs::path dir = folder.path();
};

using SafeWriter = ScratchFolder;

// The program is linked with --wrap=fsync,--wrap=rename: while `calls` is set,
// each of these calls is noted, with the file a synced descriptor stands for.
std::vector<std::string> *calls;

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char *from, const char *to);

extern "C" int __wrap_fsync(int fd)
{
    if (calls) {
        char target[4096] = {};
        ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
        calls->push_back("fsync " + std::string(target, n > 0 ? (size_t)n : 0));
    }
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char *from, const char *to)
{
    if (calls)
        calls->push_back(std::string("rename ") + from + " " + to);
    return __real_rename(from, to);
}

namespace {

// The whole file is replaced. The new bytes reach the disk before the rename
// makes them the file, and the rename reaches it before the writer says it is done.
TEST_F(SafeWriter, ReplacesTheWholeFileSyncingItBeforeTheRenameAndTheFolderAfter)
{
    write_bytes("level_sets/data.sav", std::string(5000, 'o'));
    std::vector<std::string> seen;
    calls = &seen;
    int ok = replace_file("level_sets/data.sav", "new", 3);
    calls = nullptr;
    ASSERT_EQ(ok, 1);
    ASSERT_EQ(seen.size(), 3u) << ::testing::PrintToString(seen);
    const std::string folder = fs::canonical("level_sets").string();
    const std::string temp = seen[1].substr(7, seen[1].find(' ', 7) - 7);
    EXPECT_EQ(temp.rfind("level_sets/data.sav.tmp-", 0), 0u) << seen[1];
    EXPECT_EQ(seen[0], "fsync " + folder + "/" + temp.substr(11));
    EXPECT_EQ(seen[1], "rename " + temp + " level_sets/data.sav");
    EXPECT_EQ(seen[2], "fsync " + folder);
    EXPECT_EQ(file_bytes("level_sets/data.sav"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator("level_sets"), fs::directory_iterator()), 1);
}

TEST_F(SafeWriter, LinksPlantedAtTemporaryNamesAreNeverFollowedNorAFileSetAsideReplaced)
{
    // Links at the old fixed name and at names of the new pattern, pointing
    // at a file of the player's that must not change.
    write_bytes("precious", "keep me");
    const char *names[] = {"corvale.sav.tmp", "corvale.sav.tmp-XXXXXX", "corvale.sav.tmp-abc123",
                           "scores.hst.tmp", "scores.hst.tmp-Zz0099", "l1.raw.tmp-000000"};
    for (const char *n : names)
        fs::create_symlink(dir / "precious", fs::path("level_sets") / n);
    for (int k = 0; k < 50; k++)
        ASSERT_EQ(replace_file("level_sets/corvale.sav", "save", 4), 1);
    ASSERT_EQ(replace_file("level_sets/scores.hst", "table", 5), 1);
    const char *own[] = {"corvale.sav", "scores.hst", "l#.raw"};
    EXPECT_EQ(remove_temp_leftovers("level_sets", own, 3), 0);
    for (const char *n : names)
        EXPECT_TRUE(fs::is_symlink(fs::path("level_sets") / n)) << n;
    EXPECT_EQ(file_bytes("precious"), "keep me");
    EXPECT_EQ(file_bytes("level_sets/corvale.sav"), "save");

    // A file set aside never replaces an earlier one.
    char aside[256];
    write_bytes("level_sets/scores.hst", "first");
    ASSERT_EQ(rename_aside("level_sets/scores.hst", ".damaged", aside, sizeof aside), 1);
    EXPECT_STREQ(aside, "level_sets/scores.hst.damaged");
    write_bytes("level_sets/scores.hst", "second");
    ASSERT_EQ(rename_aside("level_sets/scores.hst", ".damaged", aside, sizeof aside), 1);
    EXPECT_STREQ(aside, "level_sets/scores.hst.damaged.2");
    EXPECT_EQ(file_bytes("level_sets/scores.hst.damaged"), "first");
    EXPECT_EQ(file_bytes("level_sets/scores.hst.damaged.2"), "second");
    EXPECT_FALSE(fs::exists("level_sets/scores.hst"));
    EXPECT_EQ(rename_aside("level_sets/scores.hst", ".damaged", aside, sizeof aside), 0);
}

// A write that fails part-way, through the writer itself and through each
// file the game writes: the failure is returned, the old file is kept whole
// and the temporary file is gone. What each caller then tells the player is
// tested with the caller.
TEST_F(SafeWriter, AFailedWriteKeepsTheOldFileAndRemovesItsTemporaryFile)
{
    unsetenv("DISPLAY");   // the game's failure messages go to standard error only
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const std::string old_table(sizeof hstable, 'o'), old_settings(sizeof(bset), 'o');
    write_bytes("level_sets/scores.hst", old_table);
    write_bytes("corvale.set", old_settings);
    auto files = [](const char *f) { return std::distance(fs::directory_iterator(f), fs::directory_iterator()); };
    const auto here = files("."), sets = files("level_sets");
    const std::string big(sizeof hstable, 'n');
    bset settings = {};
    testing::internal::CaptureStderr();
    {
        file_size_limit limit(1000);   // below either file: each write fails part-way
        EXPECT_EQ(replace_file("level_sets/scores.hst", big.data(), big.size()), 0);
        EXPECT_EQ(writescores(), 0);
        EXPECT_EQ(write_settings(&settings), 0);
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(file_bytes("level_sets/scores.hst"), old_table);
    EXPECT_EQ(file_bytes("corvale.set"), old_settings);
    EXPECT_EQ(files("."), here) << "a temporary file was left";
    EXPECT_EQ(files("level_sets"), sets) << "a temporary file was left";
}

// The settings folder is shared with every other program, so at start-up only
// the temporary names the writer makes for the game's own files are removed:
// a stranger's temporary files, with the same endings included, stay.
TEST_F(SafeWriter, StartUpRemovesOnlyTheTemporaryFilesOfOurOwnFiles)
{
    fs::create_directory("config");
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    struct place {
        const char *folder;
        std::vector<const char *> ours, theirs;
    };
    const place places[] = {
        {"config", {"corvale.set.tmp-QwErTy", "corvale.set.tmp"},
         {"other-app.json.tmp-Ab12Cd", "notes.set.tmp", "notes.sav.tmp", "x.hst.tmp", "y.raw.tmp",
          "z.bls.tmp", "corvale.sav.tmp-a1B2c3", "l1.raw.tmp-000000", "corvale.set.tmp-short",
          "corvale.set", "xcorvale.set.tmp-abcdef", "corvale.set.tmp-abc12!"}},
        {"level_sets", {"corvale.sav.tmp-a1B2c3", "scores.hst.tmp-000000", "scores.hst.tmp",
                        "mine2.bls.tmp-zzzzzz", "old.bls.tmp"},
         {"notes.tmp", "corvale.sav", "scores.hst.damaged", "x.tmp-short", "set.bls",
          "a.tmp-123456.bak", "other.json.tmp-Ab12Cd", "corvale.set.tmp-QwErTy", "my set.bls.tmp",
          ".bls.tmp-abcdef", "l1.raw.tmp"}},
        {"user_data", {"l3.raw.tmp", "l12.raw.tmp-Ab12Cd"},
         {"lx.raw.tmp-abcdef", "l.raw.tmp", "notes.raw.tmp", "l1.raw", "l1.raw.damaged",
          "scores.hst.tmp"}},
    };
    for (const place &p : places) {
        for (const char *n : p.ours)
            write_bytes(fs::path(p.folder) / n, "left");
        for (const char *n : p.theirs)
            write_bytes(fs::path(p.folder) / n, "mine");
    }
    fs::create_directory("level_sets/dir.sav.tmp-aaaaaa");
    fs::create_directory("level_sets/corvale.sav.tmp-bbbbbb");
    fs::create_symlink(dir / "level_sets/set.bls", "level_sets/scores.hst.tmp-cccccc");
    remove_write_leftovers();
    unsetenv("XDG_CONFIG_HOME");
    for (const place &p : places) {
        for (const char *n : p.ours)
            EXPECT_FALSE(fs::exists(fs::path(p.folder) / n)) << p.folder << "/" << n;
        for (const char *n : p.theirs)
            EXPECT_EQ(file_bytes(fs::path(p.folder) / n), "mine") << p.folder << "/" << n;
    }
    EXPECT_TRUE(fs::is_directory("level_sets/dir.sav.tmp-aaaaaa"));
    EXPECT_TRUE(fs::is_directory("level_sets/corvale.sav.tmp-bbbbbb"));
    EXPECT_TRUE(fs::is_symlink("level_sets/scores.hst.tmp-cccccc"));
    const char *own[] = {"corvale.sav"};
    EXPECT_EQ(remove_temp_leftovers("no_such_folder", own, 1), 0);
}

// ---- Named pipes and other odd files ----

// Runs a loader while a named pipe stands at path. Should the loader wait on
// the pipe, a watchdog opens its other end after a generous while, so the
// loader returns and the case fails instead of hanging.
bool returns_despite_pipe(const std::string &path, void (*loader)())
{
    fs::remove(path);
    if (mkfifo(path.c_str(), 0644) != 0)
        return false;
    std::atomic<bool> done{false}, released{false};
    std::thread watchdog([&] {
        if (!poll_until([&] { return done.load(); }, 20)) {
            released = true;
            int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                close(fd);
        }
    });
    loader();
    done = true;
    watchdog.join();
    fs::remove(path);
    return !released;
}

using OddFiles = ScratchFolder;

TEST_F(OddFiles, APipeInPlaceOfAnyFileIsTakenAsMissing)
{
    screen_reset();
    testing_level = 0;
    EXPECT_TRUE(returns_despite_pipe("level_sets/pipe.bls", [] {
        load_level_set("pipe.bls", 1);
        EXPECT_EQ(level_total, 0);
        EXPECT_EQ(level_set_readable("pipe.bls", nullptr), 0);
    }));
    EXPECT_TRUE(returns_despite_pipe(save_path(), [] {
        save_check();
        EXPECT_EQ(SAVE_AVAILABLE, 0);
        EXPECT_EQ(load_saved(), 0);
    }));
    EXPECT_TRUE(returns_despite_pipe(scores_path(), [] {
        readscores();
        EXPECT_EQ(hstable[0].entry_score, 0);
    }));
    EXPECT_TRUE(returns_despite_pipe("user_data/l1.raw", [] {
        edload();
        EXPECT_EQ(curlevel, 1);
    }));
    EXPECT_TRUE(returns_despite_pipe("bricks/b1.raw", [] {
        GLuint names[2] = {0, 0};
        EXPECT_EQ(load_brick_files(names, 1), 0);
    }));
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    EXPECT_TRUE(returns_despite_pipe(settings_path(), [] {
        bset rec;
        EXPECT_EQ(read_settings(&rec), 0);
    }));
    EXPECT_EQ(open_regular_file("level_sets"), nullptr);   // a folder is no file either
}

}  // namespace
