#!/usr/bin/env python3
"""Writes the hand-made seed files of the fuzz targets into corpus/<target>/.

Each seed is a small, valid file of its format or an edge case of it; the
files named regress_* reproduce faults once found and must stay harmless.
The shipped files the build makes (level sets, sounds, images) are added as
seeds when the targets run; they are not kept here. Run from this folder:
    python3 make_seeds.py [path of a small Ogg Vorbis file for the sound seeds]
"""
import math
import os
import struct
import sys
import zlib

GRID = 21 * 21
INT_MIN, INT_MAX = -2**31, 2**31 - 1


def put(target, name, data):
    folder = os.path.join("corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def grid(values=None, fill=0):
    """A 21 x 21 int32 grid; values maps (row, column) to a number."""
    cells = [fill] * GRID
    for (r, c), v in (values or {}).items():
        cells[r * 21 + c] = v
    return struct.pack("<441i", *cells)


def level_blocks(tex, red, green, blue, types, pups):
    return [grid(tex), grid(red, 128), grid(green, 128), grid(blue, 128), grid(types, 1),
            grid(pups)]


def sample_level(colour=100):
    """Every brick type and a few power-ups across two rows."""
    tex, red, green, blue, types, pups = {}, {}, {}, {}, {}, {}
    for c in range(1, 21):
        for r in (1, 2):
            tex[(r, c)] = (c % 3) + 1
            red[(r, c)] = colour
            green[(r, c)] = 127 - c
            blue[(r, c)] = c * 6
            types[(r, c)] = (c % 5) + 1
            pups[(r, c)] = c % 18 if r == 2 else 0
    return level_blocks(tex, red, green, blue, types, pups)


def level_set(levels, textures=1, counts=None, title=b"Seed set"):
    n_levels, n_tex = counts if counts else (len(levels), textures)
    head = struct.pack("<ii", n_levels, n_tex) + title.ljust(255, b"\0")[:255]
    head += b"Seeder".ljust(255, b"\0") + b"A set for the fuzzer.".ljust(255, b"\0") + b"\0" * 3
    out = head + b"SEPARATR"
    for blocks in levels:
        for b in blocks:
            out += b + b"SEPARATR"
    for t in range(textures):
        out += bytes((t * 40 + i) % 256 for i in range(6144)) + b"SEPARATR"
    return out


def level_sets():
    put("level_set", "one_level.bls", level_set([sample_level()]))
    put("level_set", "two_levels.bls", level_set([sample_level(), sample_level(5)], 2))
    put("level_set", "empty.bls", level_set([], 0))
    put("level_set", "short_of_counts.bls", level_set([sample_level()], 1, (3, 2)))
    put("level_set", "negative_counts.bls", level_set([sample_level()], 1, (-1, -5)))
    put("level_set", "header_only.bls", level_set([], 0)[:776])
    # A colour of INT_MIN on 2- and 3-hit bricks overflowed when darkened.
    blocks = level_blocks({(1, 1): 1, (1, 2): 1}, {(1, 1): INT_MIN, (1, 2): INT_MIN},
                          {(1, 1): INT_MAX}, {(1, 2): INT_MIN}, {(1, 1): 2, (1, 2): 5}, {})
    put("level_set", "regress_colour_int_min.bls", level_set([blocks], 0))
    odd = level_blocks({(3, 3): 1, (3, 4): 700, (3, 5): -1}, {}, {}, {},
                       {(3, 3): 0, (3, 4): 6, (3, 5): -7}, {(3, 3): 99, (3, 4): -1})
    put("level_set", "unknown_types_and_textures.bls", level_set([odd], 0))


def level_files():
    put("level_file", "l_sample.raw", b"".join(sample_level()))
    blocks = level_blocks({(1, 1): 1, (2, 2): 3}, {(1, 1): INT_MIN, (2, 2): INT_MAX},
                          {(1, 1): -1}, {(2, 2): 129}, {(1, 1): 5, (2, 2): 2}, {})
    put("level_file", "regress_colour_int_min.raw", b"".join(blocks))
    put("level_file", "short.raw", b"".join(sample_level())[:5000])
    # Texture numbers past the editor's texture table once overran it when
    # drawn: one cell of 1500, the largest number, and random bytes.
    put("level_file", "regress_texture_1500.raw",
        b"".join(level_blocks({(5, 5): 1500}, {}, {}, {}, {}, {})))
    put("level_file", "regress_texture_int_max.raw",
        b"".join(level_blocks({(1, 1): INT_MAX, (20, 20): 2000}, {}, {}, {}, {}, {})))
    seed = 12345
    noise = []
    for _ in range(6 * GRID):
        seed = (seed * 1103515245 + 12345) % 2**32
        noise.append(seed)
    put("level_file", "regress_texture_random.raw", struct.pack("<%dI" % len(noise), *noise))


def saved_game(**fields):
    f = dict(lcount=1, counter=1, oldlives=4, score=120, newlives=0, level=1, difficulty=1,
             classic=0, set_name=b"default.bls", presence=1, type=1)
    f.update(fields)
    out = struct.pack("<6i", f["lcount"], f["counter"], f["oldlives"], f["score"],
                      f["newlives"], f["level"])
    out += struct.pack("<10i", *([1] * 10)) + struct.pack("<17i", *([0, 1] + [0] * 15))
    out += f["set_name"].ljust(256, b"\0")
    side = [0] * (22 * 22)
    types = [0] * (22 * 22)
    for r in range(1, 21):
        for c in range(1, 21):
            side[r * 22 + c] = f["presence"] if r <= 8 else 0
            types[r * 22 + c] = f["type"] if r <= 8 else 0
    out += struct.pack("<484i", *side) + struct.pack("<ii", f["difficulty"], f["classic"])
    out += struct.pack("<484i", *types)
    assert len(out) == 4268
    return out


def saved_games():
    put("saved_game", "level1.sav", saved_game())
    put("saved_game", "hard_level3_classic.sav", saved_game(level=3, difficulty=2, classic=1,
                                                            score=9000, counter=-2))
    put("saved_game", "beginner.sav", saved_game(set_name=b"beginner.bls", level=2, type=2))
    put("saved_game", "at_game_over.sav", saved_game(counter=6))
    # Values at the int limits overflowed in the level end, the extra-life
    # check and the lives shown.
    put("saved_game", "regress_score_int_max.sav", saved_game(score=INT_MAX))
    put("saved_game", "regress_level_int_max.sav", saved_game(level=INT_MAX))
    put("saved_game", "regress_lcount_int_max.sav", saved_game(lcount=INT_MAX))
    put("saved_game", "regress_counter_int_min.sav", saved_game(counter=INT_MIN))
    put("saved_game", "regress_type_unknown.sav", saved_game(type=9))
    put("saved_game", "escaping_name.sav", saved_game(set_name=b"../default.bls"))


def score_table(entries):
    out = b""
    for name, title, diff, points in entries:
        out += name.ljust(80, b"\0")[:80] + title.ljust(80, b"\0")[:80]
        out += struct.pack("<ii", diff, points)
    return out


def score_tables():
    full = [(b"Player %d" % n, b"Corvale", n % 3, 10000 - n * 500) for n in range(10)]
    full += [(b"Classic %d" % n, b"Beginner", 1, 5000 - n * 100) for n in range(10)]
    table = score_table(full)
    put("scores", "full.hst", table)
    put("scores", "one_short.hst", table[:-1])
    put("scores", "empty.hst", b"")
    odd = [(b"N" * 80, b"T" * 80, 7, INT_MIN)] * 10 + [(b"", b"", -1, INT_MAX)] * 10
    put("scores", "unterminated_and_extremes.hst", score_table(odd))


def settings(resolution=2, windowed=1, particle=0, force=0, effects=0.85, music=1.0,
             playlist=b"sounds/songs/corvale.m3u"):
    return struct.pack("<iiiiff", resolution, windowed, particle, force, effects, music) + \
        playlist.ljust(1024, b"\0")[:1024]


def settings_files():
    put("settings", "defaults.set", settings())
    put("settings", "quiet_random_playlist.set", settings(5, 0, 1, 1, 0.0, 0.0,
                                                          b"fuzz_missing.m3u"))
    put("settings", "empty.set", b"")
    put("settings", "short.set", settings()[:20])
    # Volumes that are not numbers, infinite or huge ended the game at start-up.
    put("settings", "regress_volume_nan.set", settings(effects=float("nan"), music=float("nan")))
    put("settings", "regress_volume_inf.set", settings(effects=float("inf"), music=-float("inf")))
    put("settings", "regress_volume_huge.set", settings(effects=3e38, music=3e38))
    put("settings", "unterminated_playlist.set", settings(11, playlist=b"x" * 1024))


def png(width, height, colour_type, bit_depth=8, palette=None, trns=None):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    row_bytes = (width * channels * bit_depth + 7) // 8
    raw = b""
    for y in range(height):
        raw += b"\0" + bytes((x * 37 + y * 11) % 256 for x in range(row_bytes))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette:
        out += chunk(b"PLTE", palette)
    if trns:
        out += chunk(b"tRNS", trns)
    out += chunk(b"IDAT", zlib.compress(raw))
    return out + chunk(b"IEND", b"")


def pngs():
    put("png", "rgb_4x4.png", png(4, 4, 2))
    put("png", "rgba_4x2.png", png(4, 2, 6))
    put("png", "grey_3x3.png", png(3, 3, 0))
    put("png", "grey_alpha_2x2.png", png(2, 2, 4))
    put("png", "palette_4x4.png", png(4, 4, 3, palette=bytes(range(12)), trns=b"\x80"))
    put("png", "rgb16_2x2.png", png(2, 2, 2, 16))
    put("png", "huge_claimed.png", png(4, 4, 2)[:16] + struct.pack(">II", 1 << 30, 1 << 30) +
        png(4, 4, 2)[24:])
    put("png", "truncated.png", png(4, 4, 2)[:40])


def playlists():
    songs = ["sounds/songs/rebound.ogg", "sounds/songs/overdrive.ogg", "sounds/songs/low_orbit.ogg"]
    put("playlist", "plain.m3u", ("\n".join(songs) + "\n").encode())
    ext = "#EXTM3U\n" + "".join("#EXTINF:120,Song %d\n%s\n" % (n, s) for n, s in enumerate(songs))
    put("playlist", "extended.m3u", ext.encode())
    put("playlist", "crlf_bom_missing.m3u",
        b"\xef\xbb\xbf#EXTM3U\r\n#EXTINF:-1,Gone\r\nsounds\\songs\\gone.ogg\r\n" +
        songs[0].encode() + b"\r\n")
    put("playlist", "odd_extinf.m3u",
        b'#EXTINF:12 tvg-name="a,b",Title, with comma\nsounds/effects/blip.wav\n#EXTINF:\n'
        b"/dev/null\n" + b"x" * 1500 + b".ogg\n")
    # A playlist naming itself or another playlist ended the game.
    put("playlist", "regress_nested.m3u", b"fuzz.m3u\nsounds/songs/corvale.m3u\n" +
        songs[1].encode() + b"\n")
    put("playlist", "binary.m3u", b"song.ogg\n\0\1\2")


def wav(samples, rate=22050, channels=1, bits=16):
    data = b"".join(struct.pack("<h", int(8000 * math.sin(i / 5))) for i in range(samples))
    if bits == 8:
        data = bytes((i * 7) % 256 for i in range(samples))
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * channels * bits // 8,
                      channels * bits // 8, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + \
        struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def sounds(ogg_path):
    put("sound", "mono16.wav", wav(400))
    put("sound", "stereo8.wav", wav(300, 8000, 2, 8))
    put("sound", "claims_more.wav", wav(400)[:300])
    if ogg_path:
        with open(ogg_path, "rb") as f:
            ogg = f.read()
        put("sound", "tone.ogg", ogg)
        # An Ogg Vorbis file with damaged headers leaked inside the decoder's open.
        put("sound", "regress_vorbis_headers_cut.ogg", ogg[:200])
        flipped = bytearray(ogg)
        for at in range(60, min(400, len(flipped)), 37):
            flipped[at] ^= 0xff
        put("sound", "regress_vorbis_headers_flipped.ogg", bytes(flipped))
        # A damaged first page, then a Vorbis stream with cut headers: libogg
        # skips the bad page and libsndfile took the file for Vorbis all the same.
        # (regress_vorbis_found_later.ogg is the fuzzer's own input for it.)
        spoilt = bytearray(ogg[:58])
        spoilt[30] ^= 0x20
        put("sound", "regress_vorbis_first_page_later.ogg", bytes(spoilt) + ogg[:1000])


def replay(ops, continued=None, set_name=b"default.bls", frames=None, level=1, end=1):
    head = b"CRVREPLY" + struct.pack("<IIQiiiiii", 2, 1234, 0, 1, 0, 1, 1 if continued else 0, level, 0)
    head += b"0".ljust(32, b"\0") + set_name.ljust(256, b"\0")
    assert len(head) == 336
    body = head + (continued or b"") + ops
    return body + b"\0" + struct.pack("<IiiI", frames, 0, end, 0)


def replays():
    # A launch, the paddle swept right and back (a change of its move, then a
    # run each way), small changes two to a byte and one to a byte, a slow
    # stretch and a pause.
    def varint(v):
        out = b""
        while v >= 0x80:
            out += bytes([v & 0x7f | 0x80])
            v >>= 7
        return out + bytes([v])

    def step(change):
        return bytes([2]) + varint(((change << 1) ^ (change >> 31)) & 0xffffffff)
    ops = bytes([4, 1]) + step(200) + bytes([0x08 + 28]) + step(-400) + bytes([1]) + varint(29)
    ops += step(200) + bytes([0x40 + 8 * (1 + 4) + (-1 + 4), 0x80 + 5 + 64, 0x80 - 5 + 64])
    ops += bytes([3, 1, 1, 120, 3, 0, 4, 3, 1, 10, 4, 3]) + bytes([1]) + varint(200)
    frames = 30 + 30 + 1 + 2 + 2 + 120 + 10 + 200
    put("replay", "new_game.crp", replay(ops, frames=frames))
    put("replay", "continued.crp", replay(ops, continued=saved_game(level=2), frames=frames))
    put("replay", "beginner_hard.crp", replay(bytes([4, 1, 1]) + varint(250), set_name=b"beginner.bls",
                                               frames=250))
    put("replay", "cut.crp", replay(ops, frames=frames)[:-5])


if __name__ == "__main__":
    os.chdir(os.path.dirname(os.path.abspath(__file__)))
    level_sets()
    level_files()
    saved_games()
    score_tables()
    replays()
    settings_files()
    pngs()
    playlists()
    sounds(sys.argv[1] if len(sys.argv) > 1 else None)
