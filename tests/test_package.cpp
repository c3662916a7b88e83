// The Debian package, built from a clean copy of the source: its control
// fields, the files it installs and nothing else, and the game unpacked from
// it starting through to its title with its data found where it is installed.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "command.h"
#include "e2e.h"

namespace fs = std::filesystem;

namespace {

const std::string PACKAGE_DIR = CORVALE_BINARY_DIR "/package";

// The package file the build left, or "" when there is none.
std::string built_package()
{
    std::string arch;
    if (run_command("dpkg --print-architecture", &arch) != 0)
        return "";
    arch = arch.substr(0, arch.find('\n'));
    std::string deb = PACKAGE_DIR + "/corvale_" CORVALE_VERSION "_" + arch + ".deb";
    return fs::is_regular_file(deb) ? deb : "";
}

// One control field of the package.
std::string field(const std::string &deb, const char *name)
{
    std::string out;
    run_command("dpkg-deb -f '" + deb + "' " + name, &out);
    return out.substr(0, out.find_last_not_of('\n') + 1);
}

class Package : public ::testing::Test {
protected:
    std::string deb;
    void SetUp() override
    {
        deb = built_package();
        ASSERT_FALSE(deb.empty()) << "no corvale_" CORVALE_VERSION "_<arch>.deb in " << PACKAGE_DIR;
    }
};

TEST_F(Package, ControlFieldsNameTheGameItsVersionAndWhatItNeeds)
{
    EXPECT_EQ(field(deb, "Package"), "corvale");
    EXPECT_EQ(field(deb, "Version"), CORVALE_VERSION);
    EXPECT_EQ(field(deb, "Section"), "games");
    std::string depends = field(deb, "Depends");
    for (const char *needed : {"libgl1-mesa-dri", "fonts-liberation", "libsdl2-2.0-0", "libopenal1",
                               "libgtk-3-0", "libpng16-16"})
        EXPECT_NE(depends.find(needed), std::string::npos) << needed << " missing from: " << depends;
    // The X server's core fonts draw SDL's message boxes; without them the
    // setup program shows the boxes, so they are recommended, not required.
    EXPECT_EQ(field(deb, "Recommends"), "xfonts-base");
}

TEST_F(Package, HoldsTheProgramsDataMenuEntriesAndDocumentationOnlyBelowUsr)
{
    std::string listing;
    ASSERT_EQ(run_command("dpkg-deb -c '" + deb + "' | awk '{print $6}'", &listing), 0) << listing;
    std::set<std::string> files;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.rfind("./usr/", 0) == 0 || line == "./" || line == "./usr/", true)
            << line << " lies outside /usr";
        files.insert(line);
    }
    // The install rules' own files are checked by the install test; these are
    // the package's: the programs, and what the packaging tools add or change.
    for (const char *file : {"./usr/games/corvale", "./usr/games/corvale_setup", "./usr/share/man/man6/corvale.6.gz",
                             "./usr/share/man/man6/corvale_setup.6.gz", "./usr/share/doc/corvale/copyright"})
        EXPECT_EQ(files.count(file), 1u) << file << " is not in the package";
}

// The programs find the game's files from where they are unpacked, as from
// /usr/games, and the game starts through to its title.
TEST_F(Package, TheUnpackedGameStartsToItsTitle)
{
    scratch_dir unpacked;
    std::string out;
    ASSERT_EQ(run_command("dpkg-deb -x '" + deb + "' '" + unpacked.path() + "/root'", &out), 0) << out;
    game_run run;
    ASSERT_TRUE(run.start_program(windowed_settings(2), unpacked.path() + "/root/usr/games/corvale")) << run.error();
    ASSERT_NE(run.window(), 0u) << "no window; exit status " << run.wait_exit(0);
    ASSERT_TRUE(run.wait_for_title()) << "the title did not show";
    ASSERT_TRUE(run.close_window());
    EXPECT_EQ(run.wait_exit(60), 0);
}

}  // namespace
