// The setup dialog's fields on a real GTK dialog (never shown, on a private
// Xvfb display): what populate_list shows for a settings file or its absence,
// what save_settings writes back, and a preview that cannot sound.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "player_folder.h"
#include "setup.h"
#include "setup_run.h"

namespace {

// One X server and one dialog for the whole program.
class DialogEnvironment : public ::testing::Environment {
public:
    x_server xserver;
    void SetUp() override
    {
        ASSERT_TRUE(xserver.start(30));
        setenv("DISPLAY", xserver.display().c_str(), 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        setenv("GSETTINGS_BACKEND", "memory", 1);
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
        create_dialog();
        create_list();
    }
    void TearDown() override { xserver.stop(); }
};
::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new DialogEnvironment);

class SetupFields : public ::testing::Test {
protected:
    scratch_dir tmp;
    const std::string folder = tmp.path();

    void SetUp() override { setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }
    std::string path() const { return folder + "/corvale.set"; }
    void write_record(const bset &s) { write_bytes(path(), bytes_of(s)); }
    bset file_record() const
    {
        bset s;
        std::string bytes = file_bytes(path());
        EXPECT_EQ(bytes.size(), sizeof s);
        memcpy(&s, bytes.data(), std::min(bytes.size(), sizeof s));
        return s;
    }
    // Opens the file in the dialog and saves it straight back.
    void open_and_save()
    {
        populate_list();
        ASSERT_EQ(save_settings(), SAVE_OK);
    }
};

TEST_F(SetupFields, WithoutAFileTheDialogProposesItsDefaultsAnEmptyFileIsAllZeroAndOddValuesShowAsTheGameTakesThem)
{
    populate_list();
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(resolution_list)), 2);
    gchar *label = gtk_combo_box_text_get_active_text(resolution_list);
    EXPECT_STREQ(label, "800x600");
    g_free(label);
    EXPECT_EQ(slider_position(effects_slider), 15);
    EXPECT_EQ(slider_position(music_slider), 0);
    EXPECT_FALSE(gtk_toggle_button_get_active(windowed_box));
    EXPECT_FALSE(gtk_toggle_button_get_active(particle_box));
    EXPECT_FALSE(gtk_toggle_button_get_active(force_box));
    EXPECT_STREQ(gtk_entry_get_text(playlist_box), "sounds/songs/corvale.m3u");

    ASSERT_EQ(save_settings(), SAVE_OK);
    EXPECT_EQ(file_bytes(path()), bytes_of(setup_default_record()));

    // An empty file is the smallest screen, silence and no playlist.
    write_bytes(path(), "");
    populate_list();
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(resolution_list)), 0);
    EXPECT_EQ(slider_position(effects_slider), 100);
    EXPECT_EQ(slider_position(music_slider), 100);
    EXPECT_FALSE(gtk_toggle_button_get_active(windowed_box));
    EXPECT_STREQ(gtk_entry_get_text(playlist_box), "");
    ASSERT_EQ(save_settings(), SAVE_OK);
    bset zero = {};
    EXPECT_EQ(file_bytes(path()), bytes_of(zero));

    // A screen size outside the list shows no selection and saves -1; volumes
    // that are no volume show as the game plays them.
    for (int index : {-1, 11, 1000}) {
        bset s = setup_default_record();
        s.resolution = index;
        write_record(s);
        populate_list();
        EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(resolution_list)), -1) << index;
        ASSERT_EQ(save_settings(), SAVE_OK);
        EXPECT_EQ(file_record().resolution, -1) << index;
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf, -inf, -0.25f, 1.5f}) {
        bset s = setup_default_record();
        s.seffects = bad;
        s.music = bad;
        write_record(s);
        populate_list();
        EXPECT_EQ(slider_position(effects_slider), 20) << bad;  // the game's 0.8
        EXPECT_EQ(slider_position(music_slider), 0) << bad;     // the game's 1.0
    }
}

// Each field, set in the dialog, reaches its own place in the file and nothing
// else (an edited playlist replaces its whole field, bytes after the old
// path's end included); and read back from the file, the dialog shows it again.
TEST_F(SetupFields, EachFieldRoundTripsOnItsOwn)
{
    struct field_case {
        const char *name;
        void (*change)();
        void (*expect)(bset *);
    };
    const field_case cases[] = {
        {"resolution", [] { gtk_combo_box_set_active(GTK_COMBO_BOX(resolution_list), 10); },
         [](bset *s) { s->resolution = 10; }},
        {"windowed", [] { gtk_toggle_button_set_active(windowed_box, TRUE); },
         [](bset *s) { s->windowed = 1; }},
        {"particle", [] { gtk_toggle_button_set_active(particle_box, TRUE); },
         [](bset *s) { s->particle = 1; }},
        {"force", [] { gtk_toggle_button_set_active(force_box, TRUE); },
         [](bset *s) { s->force = 1; }},
        {"effects", [] { set_slider_position(effects_slider, 100); },
         [](bset *s) { s->seffects = 0.0f; }},
        {"music", [] { set_slider_position(music_slider, 50); },
         [](bset *s) { s->music = 0.5f; }},
        {"playlist", [] { gtk_entry_set_text(playlist_box, "/home/player/Music/all 100%.m3u"); },
         [](bset *s) {
             memset(s->playlist, 0, sizeof s->playlist);
             strcpy(s->playlist, "/home/player/Music/all 100%.m3u");
         }},
    };
    bset base = setup_default_record();
    memcpy(base.playlist + 100, "left over", 9);
    for (const field_case &c : cases) {
        SCOPED_TRACE(c.name);
        write_record(base);
        populate_list();
        c.change();
        ASSERT_EQ(save_settings(), SAVE_OK);
        bset expected = base;
        c.expect(&expected);
        EXPECT_EQ(file_bytes(path()), bytes_of(expected));

        // Back through the dialog: shown as set, saved unchanged.
        set_slider_position(music_slider, 77);
        gtk_toggle_button_set_active(windowed_box, FALSE);
        open_and_save();
        EXPECT_EQ(file_bytes(path()), bytes_of(expected));
    }
}

// Opening and saving without touching anything must not drift: every slider
// position, every tick, odd playlist bytes and whatever follows the path's end.
TEST_F(SetupFields, OpenAndSaveLeavesTheFileByteIdentical)
{
    for (int p = 0; p <= 100; p++) {
        bset s = setup_default_record();
        s.seffects = volume_for_position(p);
        s.music = volume_for_position(100 - p);
        s.resolution = p % 11;
        s.windowed = p & 1;
        s.particle = (p >> 1) & 1;
        s.force = (p >> 2) & 1;
        write_record(s);
        open_and_save();
        ASSERT_EQ(file_bytes(path()), bytes_of(s)) << "position " << p;
    }

    bset odd = setup_default_record();
    odd.seffects = 0.85f;  // the value that truncation turned into 0.86
    strcpy(odd.playlist, "/home/j\xf6rg/M\xfcsik/list.m3u");  // Latin-1, not UTF-8
    memcpy(odd.playlist + 100, "left over", 9);
    write_record(odd);
    open_and_save();
    EXPECT_EQ(file_bytes(path()), bytes_of(odd));
    open_and_save();
    EXPECT_EQ(file_bytes(path()), bytes_of(odd));
}

TEST_F(SetupFields, APlaylistOver1023BytesOrAFailedWriteIsReportedAndNothingWritten)
{
    write_record(setup_default_record());
    populate_list();
    std::string longest = "/" + std::string(1022, 'a');
    gtk_entry_set_text(playlist_box, (longest + "b").c_str());
    EXPECT_EQ(save_settings(), SAVE_PLAYLIST_TOO_LONG);
    EXPECT_EQ(file_bytes(path()), bytes_of(setup_default_record()));

    // Multi-byte characters count as their bytes.
    std::string wide;
    while (wide.size() < 1024)  // 512 characters, 1024 bytes
        wide += "\xc3\xa9";  // e-acute, two bytes
    gtk_entry_set_text(playlist_box, wide.c_str());
    EXPECT_EQ(save_settings(), SAVE_PLAYLIST_TOO_LONG);

    gtk_entry_set_text(playlist_box, longest.c_str());
    ASSERT_EQ(save_settings(), SAVE_OK);
    EXPECT_EQ(std::string(file_record().playlist), longest);

    // A folder where the file should be: it can be neither read nor replaced.
    unlink(path().c_str());
    ASSERT_EQ(mkdir(path().c_str(), 0755), 0);
    populate_list();
    EXPECT_EQ(save_settings(), SAVE_WRITE_FAILED);
}

// A sound call that fails while the dialog runs (here a preview sound freed
// behind the preview's back) is reported without waiting for an answer; the
// program goes on with a silent preview, and says it once.
TEST(SetupPreview, ASoundFailureIsReportedOnceAndTheDialogGoesOn)
{
    char *here = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(CORVALE_GAME_DIR), 0);
    init_fmod();
    ASSERT_EQ(chdir(here), 0);
    free(here);
    ASSERT_NE(sound1, nullptr);
    FMOD_Sound_Release(sound1);
    auto message_boxes = [] {
        int n = 0;
        GList *all = gtk_window_list_toplevels();
        for (GList *w = all; w; w = w->next)
            if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
                n++;
        g_list_free(all);
        return n;
    };
    int before = message_boxes();
    play_preview(40);
    EXPECT_EQ(message_boxes(), before + 1);
    EXPECT_EQ(sound1, nullptr);
    EXPECT_EQ(fsystem, nullptr);
    play_preview(40);
    EXPECT_EQ(message_boxes(), before + 1) << "said once";
    close_fmod();
}

}  // namespace
