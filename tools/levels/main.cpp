// corvale_levelc: compiles data/levels/*.set into level_sets/*.bls of the game
// folder with previews of every level, or builds the manual page.
//
//   corvale_levelc levels --source DIR --game DIR [--bricks DIR] [--previews DIR] [--depfile FILE]
//   corvale_levelc manual --source DIR --game DIR [--depfile FILE]
#include "levelc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>

// Command-line options by name, without the leading dashes.
using Options = std::map<std::string, std::string>;

static const char *const usage =
  "usage: corvale_levelc levels --source DIR --game DIR [--bricks DIR] [--previews DIR] [--depfile FILE]\n"
  "       corvale_levelc manual --source DIR --game DIR [--depfile FILE]\n";

// Reads "--name value" pairs; false on anything else.
static bool parse_options(int argc, char **argv, Options &opt)
{
  for (int i = 2; i < argc; i += 2) {
    if (strncmp(argv[i], "--", 2) != 0 || i + 1 >= argc) return false;
    opt[argv[i] + 2] = argv[i + 1];
  }
  return opt.count("source") && opt.count("game");
}

// The *.set files of a folder, sorted by name so that runs are repeatable.
static std::vector<std::string> set_sources(const std::string &folder)
{
  std::vector<std::string> list;
  DIR *d = opendir(folder.c_str());
  if (!d) throw std::runtime_error(folder + ": cannot read the folder");
  for (dirent *e; (e = readdir(d));) {
    std::string n = e->d_name;
    if (n.size() > 4 && n.compare(n.size() - 4, 4, ".set") == 0) list.push_back(folder + "/" + n);
  }
  closedir(d);
  std::sort(list.begin(), list.end());
  return list;
}

// Writes a make-style dependency file: the outputs depend on every input.
static void write_depfile(const std::string &path, const std::vector<std::string> &outputs,
                          const std::vector<std::string> &inputs)
{
  std::string text;
  for (const std::string &o : outputs) text += (text.empty() ? "" : " ") + o;
  text += ":";
  for (const std::string &i : inputs) text += " \\\n  " + i;
  text += "\n";
  write_file(path, text.data(), text.size());
}

// The levels command: every source compiled, then the previews drawn.
static void compile_levels(const Options &opt)
{
  std::string game = opt.at("game");
  std::string bricks = opt.count("bricks") ? opt.at("bricks") : game + "/bricks";
  std::vector<std::string> inputs, outputs;

  Artwork art;
  art.bricks = read_brick_textures(bricks);
  if (art.bricks.empty()) throw std::runtime_error(bricks + ": no brick textures b1.raw, b2.raw, ...");
  for (size_t k = 1; k <= art.bricks.size(); k++)
    inputs.push_back(bricks + "/b" + std::to_string(k) + ".raw");

  std::vector<std::string> sources = set_sources(opt.at("source"));
  if (sources.empty()) throw std::runtime_error(opt.at("source") + ": no level-set sources (*.set)");
  std::vector<LevelSet> sets;
  for (const std::string &src : sources) sets.push_back(read_level_source(src, (int)art.bricks.size()));

  make_folder(game + "/level_sets");
  for (const LevelSet &set : sets) {
    std::string out = game + "/level_sets/" + set.name + ".bls";
    write_level_set(set, art.bricks, out);
    outputs.push_back(out);
    inputs.push_back(set.source);
    printf("%s: %zu levels, %d textures\n", out.c_str(), set.levels.size(), set.texture_count);
  }

  if (opt.count("previews")) {
    load_artwork(art, game);
    for (const LevelSet &set : sets) write_previews(set, art, opt.at("previews"));
    inputs.insert(inputs.end(), art.files_read.begin(), art.files_read.end());
    free_artwork(art);
  }
  if (opt.count("depfile")) write_depfile(opt.at("depfile"), outputs, inputs);
}

// The manual command: the page, its style and its pictures into manual/.
static void make_manual(const Options &opt)
{
  std::string game = opt.at("game");
  Artwork art;
  art.bricks = read_brick_textures(game + "/bricks");
  std::vector<std::string> inputs;
  for (size_t k = 1; k <= art.bricks.size(); k++)
    inputs.push_back(game + "/bricks/b" + std::to_string(k) + ".raw");
  load_artwork(art, game);
  build_manual(opt.at("source"), game, art, inputs);
  inputs.insert(inputs.end(), art.files_read.begin(), art.files_read.end());
  free_artwork(art);
  if (opt.count("depfile")) write_depfile(opt.at("depfile"), {game + "/manual/index.html"}, inputs);
}

int main(int argc, char **argv)
{
  Options opt;
  if (argc < 2 || !parse_options(argc, argv, opt)) {
    fputs(usage, stderr);
    return 2;
  }
  try {
    if (!strcmp(argv[1], "levels")) compile_levels(opt);
    else if (!strcmp(argv[1], "manual")) make_manual(opt);
    else { fputs(usage, stderr); return 2; }
  } catch (const std::exception &e) {
    fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
