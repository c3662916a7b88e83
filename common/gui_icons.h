// The GUI's button icons, named once for the game and the image tool: each
// icon's slot in the game's icon table and its file graphics/buttons/<name>.png.
#pragma once

// The slots of the game's icon table; 12, 20 and 21 stay empty.
enum icon_slot {
    ICON_ABOUT = 1, ICON_BRICKS, ICON_CREATE, ICON_DELETE, ICON_DIFFICULTY, ICON_EDIT,
    ICON_EXIT, ICON_GRID, ICON_HISCORES, ICON_LEVEL, ICON_LOAD, ICON_MINUS = 13, ICON_OFF,
    ICON_OK, ICON_ON, ICON_PLAY, ICON_PLUS, ICON_SAVE, ICON_TEST = 22, ICON_CANCEL,
    ICON_POWERUP, ICON_BACK, ICON_GRIDOFF, ICON_POWERUPSOFF, ICON_VISIBLE, ICON_VISIBLESQUARE,
    ICON_NOTVISIBLE, ICON_BRUSH, ICON_LINE, ICON_RECT, ICON_BOX, ICON_FILL, ICON_MIRROR,
    ICON_LEVELS, ICON_LEVEL_INSERT, ICON_LEVEL_COPY, ICON_LEVEL_EARLIER, ICON_LEVEL_LATER,
    ICON_SLOTS   // the size of the icon table
};

// One icon: its slot and its file's name without folder and ".png".
struct gui_icon {
    icon_slot slot;
    const char *name;
};

// Every icon the game loads, in loading order.
inline constexpr gui_icon GUI_ICONS[] = {
    {ICON_ABOUT, "about"},           {ICON_BRICKS, "bricks"},
    {ICON_CREATE, "create"},         {ICON_DELETE, "delete"},
    {ICON_DIFFICULTY, "difficulty"}, {ICON_EDIT, "edit"},
    {ICON_EXIT, "exit"},             {ICON_GRID, "grid"},
    {ICON_HISCORES, "hiscores"},     {ICON_LEVEL, "level"},
    {ICON_LOAD, "load"},             {ICON_MINUS, "minus"},
    {ICON_OFF, "off"},               {ICON_OK, "ok"},
    {ICON_ON, "on"},                 {ICON_PLAY, "play"},
    {ICON_PLUS, "plus"},             {ICON_SAVE, "save"},
    {ICON_TEST, "test"},             {ICON_CANCEL, "cancel"},
    {ICON_POWERUP, "powerup"},       {ICON_BACK, "back"},
    {ICON_GRIDOFF, "gridoff"},       {ICON_POWERUPSOFF, "powerupsoff"},
    {ICON_VISIBLE, "visible"},       {ICON_VISIBLESQUARE, "visiblesquare"},
    {ICON_NOTVISIBLE, "notvisible"}, {ICON_BRUSH, "brush"},
    {ICON_LINE, "line"},             {ICON_RECT, "rectangle"},
    {ICON_BOX, "box"},               {ICON_FILL, "fill"},
    {ICON_MIRROR, "mirror"},         {ICON_LEVELS, "levels"},
    {ICON_LEVEL_INSERT, "levelinsert"}, {ICON_LEVEL_COPY, "levelcopy"},
    {ICON_LEVEL_EARLIER, "levelearlier"}, {ICON_LEVEL_LATER, "levellater"},
};

// The file name of an icon slot; null for an empty slot.
constexpr const char *icon_name(icon_slot slot)
{
    for (const gui_icon &i : GUI_ICONS)
        if (i.slot == slot)
            return i.name;
    return nullptr;
}
