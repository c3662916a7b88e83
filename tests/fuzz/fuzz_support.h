// Shared ground of the fuzz targets: a scratch copy of the game folder to
// write inputs into, the offscreen GL context, the game's start-up, and
// frames of play without the frame lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes a scratch game folder (the built game's files linked in, level_sets/
// and user_data/ copied so inputs can be written there) and moves into it.
// XDG_CONFIG_HOME and XDG_DATA_HOME (the player's files) point into it too.
// Sound goes to OpenAL Soft's null output.
void fuzz_game_folder();

// Writes the bytes as the whole file at path (relative to the scratch folder,
// or absolute); the folders above it must exist.
void fuzz_write(const char *path, const uint8_t *data, size_t size);

// A small offscreen GL context, sized so that frames cost little.
void fuzz_gl();

// The game's own start-up after fuzz_gl: sound, fonts, every image, the
// editor's levels, the default set, the sound effects.
void fuzz_startup();

// A game on the board as it stands: the title gone, the ball launched, then
// up to frames frames, launching again after a lost ball, until game over.
void fuzz_play(int frames);
