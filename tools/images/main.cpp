// corvale_images: draws every image the game loads and the brick textures into the
// game folder, and optionally renders all of them into one contact sheet.
//
//   corvale_images --game DIR --data DIR [--sheet FILE] [--icons DIR] [--list FILE]
// --icons writes the program icon for the desktop's icon theme below DIR.
// --list writes the game folder's files it made, one a line, last of all: the
// build takes that file for all of them, so no build file names them again.
#include "images.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "files.h"

static const char *const usage =
    "usage: corvale_images --game DIR --data DIR --version TEXT [--sheet FILE] [--icons DIR]"
    " [--list FILE]\n";

// Reads "--name value" pairs into opt; false on anything else.
static bool parse_options(int argc, char **argv, std::map<std::string, std::string> &opt)
{
  for (int i = 1; i < argc; i += 2) {
    if (strncmp(argv[i], "--", 2) != 0 || i + 1 >= argc) return false;
    opt[argv[i] + 2] = argv[i + 1];
  }
  return opt.count("game") && opt.count("data") && opt.count("version");
}

int main(int argc, char **argv)
{
  std::map<std::string, std::string> opt;
  if (!parse_options(argc, argv, opt)) {
    fputs(usage, stderr);
    return 2;
  }
  std::vector<Output> outputs;
  make_bricks(outputs);
  make_field_images(outputs);
  if (!make_screens(outputs, opt["data"], opt["version"])) return 1;
  make_backgrounds(outputs);
  make_sprites(outputs);
  make_icons(outputs);
  make_powerups(outputs);

  bool ok = true;
  for (const Output &o : outputs) ok = write_output(opt["game"], o) && ok;
  ok = write_app_icons(opt["game"], opt.count("icons") ? opt["icons"] : "") && ok;
  if (opt.count("sheet")) ok = write_png(opt["sheet"], contact_sheet(outputs)) && ok;
  if (ok && opt.count("list")) {
    std::string list;
    for (const Output &o : outputs) list += o.path + "\n";
    ok = replace_file(opt["list"].c_str(), list.data(), list.size()) != 0;
  }
  return ok ? 0 : 1;
}
