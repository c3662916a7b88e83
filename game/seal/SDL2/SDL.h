// Found instead of SDL's header by game code, which reaches SDL only through
// the platform files in shell/ (built as a library of their own).
#error "SDL2/SDL.h is not for game code: only the platform files in game/shell include SDL"
