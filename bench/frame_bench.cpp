// Frame benchmark: runs the real game under Xvfb, 640 x 480 in a window, with
// every presented frame stamped by the swapstamp shim.
//  - Idle screens (the title, help, the high scores, the editor, a paused
//    game over fire bricks and one without), the pointer still: the game's share of a core, the frames it
//    presented a second and its resident memory, with LBreakout2's menu
//    running beside it in the same X server as a yardstick where installed.
//  - Play (a continued game whose board is laced with exploding bricks): the
//    frame rate, the frame-interval percentiles, processor time per tick of
//    the logic and resident memory.
//  - The time from the game's exec to its first presented title frame.
//
//   frame_bench [--game DIR] [--mode all|idle|play] [--rounds N] [--seconds S]
//               [--frames N] [--alone 1]
//
// DIR is a built game folder (default: this build's); S is each idle screen's
// measured time, N the frames of play. The figures of each round are printed,
// then the medians with the machine's load average. --alone 1 runs the game by
// itself, without the yardstick. CORVALE_FULL_FRAMES=1 in the environment is
// handed on to the game, which then draws every frame in full.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "rules/savegame.h"
#include "settings.h"
#include "xshot.h"

#include <X11/Xlib.h>

namespace {

struct stamp {
    double t, cpu;  // seconds: monotonic time and the game's processor time after a swap
};

struct figures {
    double fps = 0, p50 = 0, p99 = 0, worst = 0, cpu_ms = 0, core = 0, rss_mb = 0, anon_mb = 0;
    double tick_ms = 0, first_frame = 0;
};

// One idle screen: the game's share of a core, the frames it presented a
// second, its resident memory, and the yardstick's share beside it.
struct idle_figures {
    std::string name;
    double core = 0, presented = 0, rss_mb = 0, anon_mb = 0, lb_core = 0;
};

const double TICKS_PER_SECOND = 62;

// Every process the benchmark started, ended when it is interrupted.
std::vector<pid_t> started;

void end_started(int)
{
    for (pid_t p : started)
        if (p > 0)
            kill(p, SIGKILL);
    _exit(2);
}

void pause_s(double s)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

double now_s()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Starts a program in the background with extra environment entries.
pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &env,
            const std::string &dir, const std::string &log)
{
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        for (const auto &e : env)
            putenv(strdup(e.c_str()));
        if (!dir.empty() && chdir(dir.c_str()) != 0)
            _exit(127);
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        std::vector<char *> args;
        for (const auto &a : argv)
            args.push_back(strdup(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    started.push_back(pid);
    return pid;
}

void stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int k = 0; k < 50; k++) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        pause_s(0.1);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Processor seconds a process has used, from /proc.
double process_cpu(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string s((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    size_t close = s.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream in(s.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int k = 3; k <= 15 && in >> field; k++) {
        if (k == 14) utime = atof(field.c_str());
        if (k == 15) stime = atof(field.c_str());
    }
    return (utime + stime) / sysconf(_SC_CLK_TCK);
}

// A field of the process's status in MB: "VmRSS:" all resident memory,
// "RssAnon:" the anonymous part (heaps and the rasteriser's buffers).
double process_mb(pid_t pid, const char *field)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(field, 0) == 0)
            return atof(line.c_str() + strlen(field)) / 1024.0;
    return 0;
}

std::vector<stamp> read_stamps(const std::string &path)
{
    std::vector<stamp> v;
    std::ifstream f(path);
    long long t, c;
    while (f >> t >> c)
        v.push_back({t / 1e9, c / 1e9});
    return v;
}

// Waits until the game has presented `count` frames (the load stamp aside).
bool wait_frames(const std::string &path, size_t count, double timeout_s)
{
    double end = now_s() + timeout_s;
    while (now_s() < end) {
        if (read_stamps(path).size() >= count + 1)
            return true;
        pause_s(0.05);
    }
    return false;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t k = (size_t)(p * (v.size() - 1) + 0.5);
    return v[k];
}

double median(std::vector<double> v)
{
    return percentile(v, 0.5);
}

// Rate, intervals and processor time of frames first..first+count.
void frame_figures(const std::vector<stamp> &s, size_t first, size_t count, figures *f)
{
    std::vector<double> gaps;
    for (size_t k = first + 1; k <= first + count && k < s.size(); k++)
        gaps.push_back((s[k].t - s[k - 1].t) * 1000);
    size_t last = std::min(first + count, s.size() - 1);
    double wall = s[last].t - s[first].t, cpu = s[last].cpu - s[first].cpu;
    f->fps = (last - first) / wall;
    f->p50 = percentile(gaps, 0.5);
    f->p99 = percentile(gaps, 0.99);
    f->worst = gaps.empty() ? 0 : *std::max_element(gaps.begin(), gaps.end());
    f->cpu_ms = cpu * 1000 / (last - first);
    f->core = cpu / wall * 100;
}

struct bench_run {
    std::string game_src, shim, scratch, disp, stamps;
    int frames = 600;
    pid_t xserver = 0, game = 0, lb = 0;
    bool alone = false;  // no yardstick beside the game
    std::string why;  // the step that failed
    unsigned long window = 0;

    ~bench_run()
    {
        stop(lb);
        stop(game);
        stop(xserver);
        if (!scratch.empty())
            system(("rm -rf '" + scratch + "'").c_str());
    }

    int x(const std::string &cmd)
    {
        return system(("DISPLAY=" + disp + " " + cmd + " >/dev/null 2>&1").c_str());
    }

    bool start_xserver()
    {
        for (int n = 600 + (int)(getpid() % 200), tries = 0; tries < 50; n++, tries++) {
            if (access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) == 0)
                continue;
            disp = ":" + std::to_string(n);
            xserver = spawn({"Xvfb", disp, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, "",
                            scratch + "/xvfb.log");
            for (int k = 0; k < 100; k++) {
                if (x("xdpyinfo") == 0)
                    return true;
                pause_s(0.1);
            }
            stop(xserver);
            xserver = 0;
        }
        return false;
    }

    // The saved game the play scene continues, in the player's folder dir:
    // level 1 of the default set, read from the game folder game, with every
    // third of its bricks made exploding (fire 1), so chains of explosions and
    // debris run, or with none.
    void write_save(const std::string &game, const std::string &dir, int fire)
    {
        static set_level_record first;
        std::ifstream set(game + "/level_sets/default.bls", std::ios::binary);
        set.seekg(SET_HEADER_BYTES);
        if (!set.read((char *)&first, sizeof first))
            return;
        const int32_t *bricks = first.block[LEVEL_TEXTURES].grid.cells;
        saved_game g = {};
        g.lcount = 1;
        g.counter = 1;
        g.oldlives = g.newlives = 4;
        g.level = 1;
        g.balls[1] = 1;
        strcpy(g.set_name, "default.bls");
        g.difficulty = 1;
        for (int r = 1; r <= 20; r++)
            for (int c = 1; c <= 20; c++) {
                int brick = bricks[grid_index(r, c)] > 0;
                g.presence[save_index(r, c)] = brick;
                g.types[save_index(r, c)] = !brick ? 0 : fire && (r + c) % 3 == 0 ? 3 : 1;
            }
        std::ofstream((dir + "/level_sets/corvale.sav").c_str(), std::ios::binary).write((const char *)&g, sizeof g);
    }

    bool start()
    {
        char tmpl[] = "/tmp/frame_bench.XXXXXX";
        if (!mkdtemp(tmpl))
            return false;
        scratch = tmpl;
        std::string dir = scratch + "/game", config = scratch + "/config";
        std::string player = scratch + "/data/corvale";
        if (system(("cp -a '" + game_src + "' '" + dir + "' && mkdir -p '" + config + "' '" + scratch +
                    "/home' '" + player + "/level_sets'").c_str()) != 0)
            return false;
        bset s = {};
        s.resolution = 1;  // 640 x 480
        s.windowed = 1;
        s.particle = 0;  // particles on
        strcpy(s.playlist, DEFAULT_PLAYLIST);
        std::ofstream(config + "/corvale.set", std::ios::binary).write((const char *)&s, sizeof s);
        write_save(dir, player, 1);
        if (!start_xserver())
            return false;
        stamps = scratch + "/stamps";
        game = spawn({dir + "/corvale"},
                     {"DISPLAY=" + disp, "XDG_CONFIG_HOME=" + config, "XDG_DATA_HOME=" + scratch + "/data",
                      "HOME=" + scratch + "/home", "LD_PRELOAD=" + shim, "SWAPSTAMP_FILE=" + stamps,
                      std::string("CORVALE_FULL_FRAMES=") + (getenv("CORVALE_FULL_FRAMES") ? getenv("CORVALE_FULL_FRAMES") : "")},
                     dir, scratch + "/game.log");
        if (!alone && access("/usr/games/lbreakout2", X_OK) == 0)
            lb = spawn({"/usr/games/lbreakout2"}, {"DISPLAY=" + disp, "HOME=" + scratch + "/home", "SDL_AUDIODRIVER=dummy"},
                       scratch + "/home", scratch + "/lbreakout2.log");
        return true;
    }

    // Moves the pointer to the GUI point (gx, gy) of a 640 x 480 window and
    // clicks there, holding the button across a few frames.
    void click_gui(double gx, double gy)
    {
        const double k = 0.7 / 640 * 8;  // the pointer's scale at this size
        int mx = (int)((gx - 0.25) / k + 0.5), my = (int)((2.0 - gy) / k + 0.5);
        click(mx, my);
    }

    void click(int mx, int my)
    {
        if (!window) {
            FILE *p = popen(("DISPLAY=" + disp + " xdotool search --name 'Corvale' 2>/dev/null").c_str(), "r");
            if (p) {
                if (fscanf(p, "%lu", &window) != 1)
                    window = 0;
                pclose(p);
            }
        }
        x("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(mx) + " " +
          std::to_string(my) + " sleep 0.25 mousedown 1 sleep 0.15 mouseup 1");
    }

    double game_cpu() { return process_cpu(game); }

    // Presses and releases a key, held down across a few frames.
    void key(const std::string &name)
    {
        x("xdotool keydown " + name + " sleep 0.2 keyup " + name);
    }

    void right_click(int mx, int my)
    {
        x("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(mx) + " " +
          std::to_string(my) + " sleep 0.25 mousedown 3 sleep 0.15 mouseup 3");
    }

    // An idle screen: the pointer still for `seconds` after the screen has
    // settled; the game's share of a core, and how many frames it presented.
    void idle(const char *name, double seconds, std::vector<idle_figures> *out)
    {
        pause_s(1.5);  // the screen opens and the pointer's last frames are drawn
        size_t f0 = read_stamps(stamps).size();
        double c0 = game_cpu(), l0 = lb ? process_cpu(lb) : 0, t0 = now_s();
        pause_s(seconds);
        double c1 = game_cpu(), l1 = lb ? process_cpu(lb) : 0, t1 = now_s();
        idle_figures f;
        f.name = name;
        f.core = (c1 - c0) / (t1 - t0) * 100;
        f.presented = (read_stamps(stamps).size() - f0) / (t1 - t0);
        f.rss_mb = process_mb(game, "VmRSS:");
        f.anon_mb = process_mb(game, "RssAnon:");
        f.lb_core = lb ? (l1 - l0) / (t1 - t0) * 100 : 0;
        out->push_back(f);
    }

    // The idle screens one after the other: the title, help, the high scores,
    // the editor (each opened from the title's menu and closed with Escape).
    bool run_idle(double seconds, std::vector<idle_figures> *out)
    {
        idle("title", seconds, out);
        const struct { const char *name; double gx; } screens[] = {
            {"help", 3.8}, {"scores", 3.3}, {"editor", 2.8}};
        for (const auto &sc : screens) {
            click_gui(sc.gx, -0.425);
            idle(sc.name, seconds, out);
            key("Escape");
            pause_s(1.0);
        }
        return true;
    }

    // Play on the main menu and Continue in the options, until play shows.
    bool continue_game()
    {
        click_gui(1.8, -0.425);
        pause_s(1.0);
        click_gui(3.575, 0.125);
        size_t now = read_stamps(stamps).size() - 1;
        why = "the fade-out into play";
        return wait_frames(stamps, now + 130, 120);
    }

    // Play: the continued game paused over its fire bricks, as an idle screen;
    // then launch and relaunch whenever a level ends, about once a second;
    // then, left with Escape, a game whose board has no fire bricks, paused.
    bool run_play(figures *play, double idle_seconds, std::vector<idle_figures> *out)
    {
        if (!continue_game())
            return false;
        right_click(320, 300);
        idle("pausefire", idle_seconds, out);
        right_click(320, 300);
        click(320, 300);
        size_t first = read_stamps(stamps).size() - 1 + 20;
        why = "the frames of play";
        if (!wait_frames(stamps, first, 60))
            return false;
        double c0 = game_cpu(), t0 = now_s();
        for (size_t k = first; read_stamps(stamps).size() < first + frames + 1; k += 62) {
            if (!wait_frames(stamps, k, 60))
                return false;
            click(320, 300);
        }
        double c1 = game_cpu(), t1 = now_s();
        auto s = read_stamps(stamps);
        frame_figures(s, first, frames, play);
        // Processor time per tick of the logic, presented or not.
        play->tick_ms = (c1 - c0) * 1000 / ((t1 - t0) * TICKS_PER_SECOND);
        play->core = (c1 - c0) / (t1 - t0) * 100;
        play->rss_mb = process_mb(game, "VmRSS:");
        play->anon_mb = process_mb(game, "RssAnon:");
        if (Display *d = XOpenDisplay(disp.c_str())) {
            x_window_png(d, DefaultRootWindow(d), scratch + "/../frame_bench_play.png");
            XCloseDisplay(d);
        }
        key("Escape");
        pause_s(3.0);  // the game is saved, the title fades in
        write_save(scratch + "/game", scratch + "/data/corvale", 0);
        if (!continue_game())
            return false;
        right_click(320, 300);
        idle("pause", idle_seconds, out);
        return true;
    }

    bool run(figures *title, figures *play, double idle_seconds, std::vector<idle_figures> *idles, bool want_idle,
             bool want_play)
    {
        why = "start-up";
        if (!start())
            return false;
        // The title fades in over 101 frames, each one presented.
        why = "the title's fade-in";
        if (!wait_frames(stamps, 100, 120))
            return false;
        auto s = read_stamps(stamps);
        title->first_frame = s[1].t - s[0].t;
        title->rss_mb = process_mb(game, "VmRSS:");
        if (want_idle && !run_idle(idle_seconds, idles))
            return false;
        return !want_play || run_play(play, idle_seconds, idles);
    }
};

void print_play(const figures &f)
{
    printf("  play     %6.2f fps  interval p50 %5.2f p99 %5.2f max %6.2f ms  CPU %5.2f ms/tick (%5.1f%% of a core)  RSS %5.1f MB (anon %5.1f)\n",
           f.fps, f.p50, f.p99, f.worst, f.tick_ms, f.core, f.rss_mb, f.anon_mb);
}

void print_idle(const idle_figures &f)
{
    printf("  %-9s %5.1f%% of a core  %5.1f frames/s presented  RSS %5.1f MB (anon %5.1f)", f.name.c_str(), f.core,
           f.presented, f.rss_mb, f.anon_mb);
    if (f.lb_core > 0)
        printf("  LBreakout2 menu %4.1f%%  ratio %4.2fx", f.lb_core, f.core / f.lb_core);
    printf("\n");
}

double loadavg()
{
    double l = 0;
    FILE *f = fopen("/proc/loadavg", "r");
    if (f) {
        if (fscanf(f, "%lf", &l) != 1)
            l = 0;
        fclose(f);
    }
    return l;
}

}  // namespace

int main(int argc, char **argv)
{
    std::string game_dir = CORVALE_GAME_DIR, shim = SWAPSTAMP_SHIM, mode = "all";
    int rounds = 3, frames = 600;
    double seconds = 10;
    bool alone = false;
    for (int k = 1; k + 1 < argc; k += 2) {
        if (!strcmp(argv[k], "--game")) game_dir = argv[k + 1];
        else if (!strcmp(argv[k], "--rounds")) rounds = atoi(argv[k + 1]);
        else if (!strcmp(argv[k], "--frames")) frames = atoi(argv[k + 1]);
        else if (!strcmp(argv[k], "--seconds")) seconds = atof(argv[k + 1]);
        else if (!strcmp(argv[k], "--mode")) mode = argv[k + 1];
        else if (!strcmp(argv[k], "--alone")) alone = atoi(argv[k + 1]) != 0;
    }
    bool want_idle = mode != "play", want_play = mode != "idle";
    if (mode != "all" && mode != "idle" && mode != "play") {
        fprintf(stderr, "--mode is all, idle or play, not %s\n", mode.c_str());
        return 2;
    }
    signal(SIGINT, end_started);
    signal(SIGTERM, end_started);
    if (alone)
        printf("the game alone: no yardstick beside it\n");
    else if (access("/usr/games/lbreakout2", X_OK) != 0)
        printf("LBreakout2 is not installed; its figures are left out\n");
    printf("game %s, 640 x 480 windowed under Xvfb; idle screens %.0f s each, play %d frames\n", game_dir.c_str(),
           seconds, frames);
    std::vector<figures> titles, plays;
    std::vector<std::vector<idle_figures>> idles;
    std::vector<double> loads;
    for (int r = 1; r <= rounds; r++) {
        bench_run b;
        b.game_src = game_dir;
        b.shim = shim;
        b.frames = frames;
        b.alone = alone;
        figures t, p;
        std::vector<idle_figures> i;
        loads.push_back(loadavg());
        if (!b.run(&t, &p, seconds, &i, want_idle, want_play)) {
            printf("round %d: the game did not get through %s (%s, %zu frames); its output:\n", r, b.why.c_str(),
                   b.game > 0 && waitpid(b.game, nullptr, WNOHANG) == 0 ? "still running" : "ended",
                   read_stamps(b.stamps).size());
            fflush(stdout);
            system(("tail -n 20 '" + b.scratch + "/game.log'").c_str());
            continue;
        }
        printf("round %d (load average %.1f)  first title frame %.2f s after exec\n", r, loads.back(), t.first_frame);
        for (const auto &f : i)
            print_idle(f);
        if (want_play)
            print_play(p);
        fflush(stdout);
        titles.push_back(t);
        plays.push_back(p);
        idles.push_back(i);
    }
    if (titles.empty())
        return 1;
    auto med = [](std::vector<double> x) { return median(x); };
    std::vector<double> first;
    for (const auto &t : titles)
        first.push_back(t.first_frame);
    printf("median of %zu rounds (load average %.1f)  first title frame %.2f s after exec\n", titles.size(),
           med(loads), med(first));
    for (size_t n = 0; n < idles[0].size(); n++) {
        idle_figures m;
        m.name = idles[0][n].name;
        for (double idle_figures::*f : {&idle_figures::core, &idle_figures::presented, &idle_figures::rss_mb,
                                        &idle_figures::anon_mb, &idle_figures::lb_core}) {
            std::vector<double> x;
            for (const auto &round : idles)
                if (n < round.size())
                    x.push_back(round[n].*f);
            m.*f = med(x);
        }
        print_idle(m);
    }
    if (want_play) {
        figures m;
        for (double figures::*f : {&figures::fps, &figures::p50, &figures::p99, &figures::worst, &figures::cpu_ms,
                                   &figures::core, &figures::rss_mb, &figures::anon_mb, &figures::tick_ms}) {
            std::vector<double> x;
            for (const auto &p : plays)
                x.push_back(p.*f);
            m.*f = med(x);
        }
        print_play(m);
    }
    return 0;
}
