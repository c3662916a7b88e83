// Frame benchmark: runs the real game under Xvfb, 640 x 480 in a window, for
// a set number of frames on the title screen and in play (a continued game
// whose board is laced with exploding bricks), with every presented frame
// stamped by the swapstamp shim. Prints the frame rate, the frame-interval
// percentiles, processor time per frame and resident memory, and LBreakout2's
// menu running beside the title in the same X server as a yardstick.
//
//   frame_bench [--game DIR] [--rounds N] [--frames N] [--alone 1]
//
// DIR is a built game folder (default: this build's); the figures of each
// round are printed, then the medians with the machine's load average.
// --alone 1 runs the game by itself, without the yardstick.

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
    double fps = 0, p50 = 0, p99 = 0, worst = 0, cpu_ms = 0, core = 0, rss_mb = 0;
    double lb_core = 0, ratio = 0, first_frame = 0;
};

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

double process_rss_mb(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return atof(line.c_str() + 6) / 1024.0;
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
    // third of its bricks made exploding, so chains of explosions and debris run.
    void write_save(const std::string &game, const std::string &dir)
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
                g.types[save_index(r, c)] = !brick ? 0 : (r + c) % 3 == 0 ? 3 : 1;
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
        write_save(dir, player);
        if (!start_xserver())
            return false;
        stamps = scratch + "/stamps";
        game = spawn({dir + "/corvale"},
                     {"DISPLAY=" + disp, "XDG_CONFIG_HOME=" + config, "XDG_DATA_HOME=" + scratch + "/data",
                      "HOME=" + scratch + "/home", "LD_PRELOAD=" + shim, "SWAPSTAMP_FILE=" + stamps},
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

    bool run(figures *title, figures *play)
    {
        double began = now_s();
        why = "start-up";
        if (!start())
            return false;
        // The title fades in over 101 frames; measure once it stands still.
        why = "the title's first frames";
        if (!wait_frames(stamps, 150, 120))
            return false;
        size_t first = read_stamps(stamps).size() - 1;
        double lb0 = lb ? process_cpu(lb) : 0, t0 = now_s();
        why = "the title's measured frames";
        if (!wait_frames(stamps, first + frames, 300))
            return false;
        double lb1 = lb ? process_cpu(lb) : 0, t1 = now_s();
        auto s = read_stamps(stamps);
        frame_figures(s, first, frames, title);
        title->rss_mb = process_rss_mb(game);
        title->first_frame = s[1].t - s[0].t;
        title->lb_core = (lb1 - lb0) / (t1 - t0) * 100;
        title->ratio = title->lb_core > 0 ? title->core / title->lb_core : 0;
        (void)began;

        // Play: Play on the main menu, Continue in the options, then launch.
        stop(lb);
        lb = 0;
        click_gui(1.8, -0.425);
        pause_s(1.0);
        click_gui(3.575, 0.125);
        size_t now = read_stamps(stamps).size() - 1;
        why = "the fade-out into play";
        if (!wait_frames(stamps, now + 130, 120))
            return false;
        click(320, 300);
        first = read_stamps(stamps).size() - 1 + 20;
        // Relaunch whenever a level ends, about once a second.
        for (size_t k = first; read_stamps(stamps).size() < first + frames + 1; k += 62) {
            why = "the frames of play";
            if (!wait_frames(stamps, k, 60))
                return false;
            click(320, 300);
        }
        s = read_stamps(stamps);
        frame_figures(s, first, frames, play);
        play->rss_mb = process_rss_mb(game);
        if (Display *d = XOpenDisplay(disp.c_str())) {
            x_window_png(d, DefaultRootWindow(d), scratch + "/../frame_bench_play.png");
            XCloseDisplay(d);
        }
        return true;
    }
};

void print_figures(const char *scene, const figures &f)
{
    printf("  %-6s %6.2f fps  interval p50 %5.2f p99 %5.2f max %6.2f ms  CPU %5.2f ms/frame (%5.1f%% of a core)  RSS %5.1f MB",
           scene, f.fps, f.p50, f.p99, f.worst, f.cpu_ms, f.core, f.rss_mb);
    if (f.lb_core > 0)
        printf("  LBreakout2 menu %4.1f%%  ratio %4.1fx", f.lb_core, f.ratio);
    if (f.first_frame > 0)
        printf("  first frame %.2f s", f.first_frame);
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
    std::string game_dir = CORVALE_GAME_DIR, shim = SWAPSTAMP_SHIM;
    int rounds = 3, frames = 600;
    bool alone = false;
    for (int k = 1; k + 1 < argc; k += 2) {
        if (!strcmp(argv[k], "--game")) game_dir = argv[k + 1];
        else if (!strcmp(argv[k], "--rounds")) rounds = atoi(argv[k + 1]);
        else if (!strcmp(argv[k], "--frames")) frames = atoi(argv[k + 1]);
        else if (!strcmp(argv[k], "--alone")) alone = atoi(argv[k + 1]) != 0;
    }
    signal(SIGINT, end_started);
    signal(SIGTERM, end_started);
    if (alone)
        printf("the game alone: no yardstick beside it\n");
    else if (access("/usr/games/lbreakout2", X_OK) != 0)
        printf("LBreakout2 is not installed (apt-get install lbreakout2); its figures are left out\n");
    printf("game %s, %d frames per scene, 640 x 480 windowed under Xvfb\n", game_dir.c_str(), frames);
    std::vector<figures> titles, plays;
    std::vector<double> loads;
    for (int r = 1; r <= rounds; r++) {
        bench_run b;
        b.game_src = game_dir;
        b.shim = shim;
        b.frames = frames;
        b.alone = alone;
        figures t, p;
        loads.push_back(loadavg());
        if (!b.run(&t, &p)) {
            printf("round %d: the game did not get through %s (%s, %zu frames); its output:\n", r, b.why.c_str(),
                   b.game > 0 && waitpid(b.game, nullptr, WNOHANG) == 0 ? "still running" : "ended",
                   read_stamps(b.stamps).size());
            fflush(stdout);
            system(("tail -n 20 '" + b.scratch + "/game.log'").c_str());
            continue;
        }
        printf("round %d (load average %.1f)\n", r, loads.back());
        print_figures("title", t);
        print_figures("play", p);
        titles.push_back(t);
        plays.push_back(p);
    }
    if (titles.empty())
        return 1;
    auto med = [](const std::vector<figures> &v, double figures::*m) {
        std::vector<double> x;
        for (const auto &f : v)
            x.push_back(f.*m);
        return median(x);
    };
    for (int scene = 0; scene < 2; scene++) {
        const auto &v = scene ? plays : titles;
        figures m;
        for (double figures::*f : {&figures::fps, &figures::p50, &figures::p99, &figures::worst, &figures::cpu_ms,
                                   &figures::core, &figures::rss_mb, &figures::lb_core, &figures::ratio,
                                   &figures::first_frame})
            m.*f = med(v, f);
        if (scene == 0)
            printf("median of %zu rounds (load average %.1f)\n", v.size(), median(loads));
        print_figures(scene ? "play" : "title", m);
    }
    return 0;
}
