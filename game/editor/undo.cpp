// The board's undo history. Until the history is kept, nothing is recorded.

#include "editor.h"

// Remembers the board before a change.
void undo_record()
{
}

// Forgets the history.
void undo_reset()
{
}
