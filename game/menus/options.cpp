// Entry point of the play options, which the title screen calls while
// `options` is set; it draws nothing until the play options are written.

#include "menus.h"

void play_options()
{
}
