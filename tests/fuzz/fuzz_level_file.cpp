// Fuzz target: an editor level file, read at start-up by the editor's loader
// and again on moving to the next level, drawn in the editor (canvas, toolbar,
// power-up layer) while the eyedropper copies its bricks, and played as a test
// game.

#include "fuzz_support.h"

#include <filesystem>

#include "editor/editor.h"
#include "editor_view.h"
#include "menus/menus.h"
#include "paths.h"
#include "rules/progress.h"
#include "rules/rules.h"
#include "shell/shell.h"
#include "shell/winmsg.h"

namespace fs = std::filesystem;

// The editor open over the loaded board with no stroke or fade; one frame
// shows any notice about the file, then the notice and dialogs are closed.
static void open_editor()
{
    screen_set(SCREEN_EDITOR);
    grid = 1;
    test = testing_level = pupedit = 0;
    drag = edrag = dropped = get_drops = 0;
    texnumber = curbrick = guibrick = curpup = 1;
    editor();
    close_dialogs();
    notice[0] = 0;
}

// Arms the eyedropper, then passes over both diagonals of the grid so every
// row's copied brick becomes the current one and is drawn on the toolbar; the
// power-up layer is drawn over the canvas once.
static void eyedrop_the_board()
{
    point_at(1.15f, -1.3f);  // the Eyedropper button
    editor();
    mouse(WM_LBUTTONDOWN);
    mouse(WM_LBUTTONUP);
    for (int r = 1; r <= 20; r++) {
        over(r, r);
        over(r, 21 - r);
    }
    pupedit = 1;
    editor();
    pupedit = 0;
    dropped = 0;
}

// Removes the damaged files the editor set aside, so they do not pile up.
static void remove_set_aside()
{
    for (const fs::directory_entry &e : fs::directory_iterator(player_path("user_data")))
        if (e.path().filename().string().find(".damaged") != std::string::npos)
            fs::remove(e.path());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_startup();
    fuzz_write(player_path("user_data/l1.raw").c_str(), data, size);
    fuzz_write(player_path("user_data/l2.raw").c_str(), data, size);
    classic = (int)(size % 2);
    gameover = 0;
    edload();
    open_editor();
    eyedrop_the_board();
    editor_next_level();
    open_editor();
    eyedrop_the_board();
    testing_level = 1;
    new_game();
    fuzz_play(120);
    testing_level = 0;
    remove_set_aside();
    return 0;
}
