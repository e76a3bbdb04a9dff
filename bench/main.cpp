// tirak-bench: plays a level file for a number of frames with the game's own
// start-up and frame loop, and reports where start-up went, how well the
// frames keep the period, what a frame costs and how much memory it took,
// and what the level editor's solver view would add to a frame.
//
// Run it like the game, from the data directory:
//   cd data && ../build/tirak-bench levels/1.lev 600

#include "bench_report.h"

#include "app/main_loop.h"
#include "app/startup.h"
#include "game/fatal_error.h"
#include "game/game.h"
#include "config/config_file.h"
#include "platform/window.h"
#include "render/scene_renderer.h"
#include "render/solver_view.h"
#include "transforms/camera.h"
#include "world/flight_rules.h"
#include "world/level_loader.h"
#include "world/mark_level.h"

#include <GL/glew.h>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The most frames one run may ask for: about five hours at the period.
constexpr long MAX_FRAMES = 1000000;
// Frames run but left out of the frame figures. The first belongs to
// start-up; the second frame's interval still holds the first drawing, in
// which the driver compiles its shaders.
constexpr int UNTIMED_FRAMES = 2;
constexpr double KIB_PER_MIB = 1024.0;
constexpr double MS_PER_SECOND = 1000.0;
// Draws of the solver view timed, after one untimed that fills its buffers.
constexpr int SOLVER_VIEW_DRAWS = 200;
constexpr int STATUS_USAGE = 2;
constexpr int STATUS_FAILED = 1;

// Carries the moment before the benchmark re-executes itself, as
// "pid:nanoseconds" on the monotonic clock.
constexpr const char* EXEC_STAMP_VARIABLE = "TIRAK_BENCH_EXEC_STAMP";

double seconds_between(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// Start-up counts from the moment the process image is loaded, so that
// loading the libraries and their static constructors are counted as the
// player waits for them. The kernel only keeps a process's start time in
// 10 ms ticks; instead, the benchmark notes the time and executes itself
// again, which keeps its pid, and the new image reads the note. When that
// cannot be done it counts from main.
Clock::time_point process_start(char** argv)
{
    const long pid = static_cast<long>(getpid());
    if (const char* stamp = std::getenv(EXEC_STAMP_VARIABLE)) {
        long stamp_pid = 0;
        long long nanoseconds = 0;
        char colon = 0;
        std::istringstream fields(stamp);
        unsetenv(EXEC_STAMP_VARIABLE);
        // A note left over in the environment of another process is not ours.
        if (fields >> stamp_pid >> colon >> nanoseconds && colon == ':' && stamp_pid == pid)
            return Clock::time_point(std::chrono::nanoseconds(nanoseconds));
        return Clock::now();
    }
    const auto now = Clock::now();
    const long long nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
    const std::string note = std::to_string(pid) + ":" + std::to_string(nanoseconds);
    // The link is read rather than executed: under valgrind it names the
    // benchmark, where executing it would start valgrind's own tool.
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0 && setenv(EXEC_STAMP_VARIABLE, note.c_str(), 1) == 0)
        execv(self, argv);
    unsetenv(EXEC_STAMP_VARIABLE);
    return now;
}

bool parse_frames(const char* text, long& frames)
{
    char* end = nullptr;
    errno = 0;
    frames = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && frames >= 1 && frames <= MAX_FRAMES;
}

double peak_memory_mib()
{
    std::ifstream status("/proc/self/status");
    std::ostringstream text;
    text << status.rdbuf();
    const long kib = parse_vm_hwm_kib(text.str());
    return kib < 0 ? 0.0 : static_cast<double>(kib) / KIB_PER_MIB;
}

// Processor time of the whole process, every thread together: the game's
// own thread and the driver's rasterizer threads. Unlike the frame times it
// hardly changes when other programs share the processor.
double cpu_seconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The solver view over the level, as the editor would show it at the
// game's camera: each draw timed on its own over a drawn scene, from the
// end of the driver's work before it to the end of its own, and the
// processor time a draw, every thread.
struct SolverViewFigures {
    Spread ms;
    double cpu_ms = 0.0;
};

SolverViewFigures solver_view_figures(Game& game, RunState& state, const char* level_file)
{
    const Result<PlayLevel> level = load_play_level(level_file);
    if (!level)
        return {};
    const auto marks = std::make_shared<const SolverMarks>(mark_level(level.value().grid, level.value().start));
    const glm::mat4 projection = make_projection(game.width, game.height);
    const glm::mat4 world = make_world_translation(game.grid_size);
    SolverView view;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    render_scene(state.phong_program, game);
    std::vector<double> ms;
    double cpu_from = 0.0;
    for (int k = 0; k <= SOLVER_VIEW_DRAWS; ++k) {
        glFinish();
        if (k == 1)
            cpu_from = cpu_seconds();
        const auto from = Clock::now();
        view.draw(projection, game.view_matrix, world, marks, platform::get_time());
        glFinish();
        if (k > 0)
            ms.push_back(seconds_between(from, Clock::now()) * MS_PER_SECOND);
    }
    return {spread_of(ms), (cpu_seconds() - cpu_from) / SOLVER_VIEW_DRAWS * MS_PER_SECOND};
}

void print_part(const char* name, double seconds)
{
    std::printf("  %-24s %8.1f ms\n", name, seconds * MS_PER_SECOND);
}

void print_spread(const char* name, const Spread& ms)
{
    std::printf("%-11s p50 %6.2f ms   p99 %6.2f ms   max %6.2f ms\n", name, ms.p50, ms.p99, ms.max);
}

int bench(const Clock::time_point started, const char* level_file, long frames)
{
    const auto entered_main = Clock::now();
    auto game = std::make_unique<Game>();
    if (initialize(*game) != 0)
        return STATUS_FAILED;
    const auto window_open = Clock::now();
    const double window_mib = peak_memory_mib();

    RunState state;
    StartupTimes parts;
    state.level_file = level_file;
    state.startup_times = &parts;
    start_run(*game, state);
    const auto resources_loaded = Clock::now();
    const double loaded_mib = peak_memory_mib();

    bool open = run_frame(*game, state);
    const auto first_swapped = Clock::now();
    const double first_frame_mib = peak_memory_mib();
    // The first frame's time holds the text's programs, made after it began.
    const double first_sleep = state.frame_time - state.work_time;
    for (int k = 1; open && k < UNTIMED_FRAMES; ++k)
        open = run_frame(*game, state);

    std::vector<double> frame_ms;
    std::vector<double> work_ms;
    frame_ms.reserve(static_cast<size_t>(frames));
    work_ms.reserve(static_cast<size_t>(frames));
    const double timed_from = state.frame_start;
    const double cpu_from = cpu_seconds();
    while (open && static_cast<long>(frame_ms.size()) < frames) {
        open = run_frame(*game, state);
        frame_ms.push_back(state.frame_time * MS_PER_SECOND);
        work_ms.push_back(state.work_time * MS_PER_SECOND);
    }
    const double timed_to = state.frame_start;
    const double cpu_per_frame = (cpu_seconds() - cpu_from) / static_cast<double>(frames);
    const double peak_mib = peak_memory_mib();
    const SolverViewFigures solver_view = solver_view_figures(*game, state, level_file);
    finish_run(state);

    if (static_cast<long>(frame_ms.size()) < frames) {
        std::cerr << "tirak-bench: the window closed after " << frame_ms.size() << " of " << frames
                  << " timed frames." << std::endl;
        return STATUS_FAILED;
    }

    BenchFigures figures;
    figures.fps_mean = static_cast<double>(frames) / (timed_to - timed_from);
    figures.frame_ms = spread_of(frame_ms);
    figures.work_ms = spread_of(work_ms);
    figures.startup_ms = seconds_between(started, first_swapped) * MS_PER_SECOND;
    figures.peak_mib = peak_mib;

    const double loaded = parts.world + parts.shaders + parts.waiting + parts.models + parts.textures +
                          parts.particles + parts.text;
    const double first_frame = seconds_between(resources_loaded, first_swapped);
    std::printf("\ntirak-bench: %s, %ld timed frames at %dx%d\n", level_file, frames, game->width,
                game->height);
    std::printf("start-up: %.1f ms from process start to the first swapped frame\n",
                figures.startup_ms);
    print_part("libraries, to main", seconds_between(started, entered_main));
    print_part("window and context", seconds_between(entered_main, window_open));
    print_part("world", parts.world);
    print_part("shaders", parts.shaders);
    print_part("waiting for the reader", parts.waiting);
    print_part("models", parts.models);
    print_part("textures", parts.textures);
    print_part("particles", parts.particles);
    print_part("text, in the first frame", parts.text);
    print_part("rest of start-up", seconds_between(window_open, resources_loaded) - loaded);
    print_part("first frame: sleep", first_sleep);
    print_part("first frame: draw, swap", first_frame - first_sleep);
    std::printf("  on the reader thread, from the window's opening on:\n");
    print_part("  reading models", parts.reading_models);
    print_part("  reading images", parts.reading_images);
    print_spread("frame_time", figures.frame_ms);
    print_spread("work_time", figures.work_ms);
    print_spread("solver_view", solver_view.ms);
    std::printf("solver_view processor %.2f ms a draw, all threads of the process\n", solver_view.cpu_ms);
    std::printf("fps mean   %.2f (period %.4f ms)\n", figures.fps_mean, FRAME_PERIOD * MS_PER_SECOND);
    std::printf("processor  %.2f ms a frame, all threads of the process\n", cpu_per_frame * MS_PER_SECOND);
    std::printf("peak memory %.1f MiB (VmHWM); %.1f with the window open, %.1f after loading, "
                "%.1f after the first frame\n",
                figures.peak_mib, window_mib, loaded_mib, first_frame_mib);
    std::printf("%s\n", machine_line(figures).c_str());
    std::fflush(stdout);
    return 0;
}

// How long the first write to a fresh page of memory takes, in µs. Start-up
// pays it for every page it touches, some 10 000 for a bare window and
// 25 000 for the game at 1920 x 1080. Some virtual machines charge ten
// times what bare hardware does for each, and not the same every day.
double fresh_page_us()
{
    constexpr size_t bytes = size_t{16} << 20;
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return 0.0;
    auto* bytes_of = static_cast<volatile char*>(block);
    const auto begin = Clock::now();
    for (size_t at = 0; at < bytes; at += page)
        bytes_of[at] = 1;
    const double spent = seconds_between(begin, Clock::now());
    munmap(block, bytes);
    return spent * MS_PER_SECOND * MS_PER_SECOND / static_cast<double>(bytes / page);
}

// What the machine gives any program, for judging the game's figures by:
// how soon a bare window of the game's size shows its first frame, and how
// well a loop of 2 ms of busy work a frame keeps the period with the game's
// own sleep. Where these miss a target, the game cannot meet it here.
int machine_floor(const Clock::time_point started, long frames)
{
    constexpr double busy_seconds = 0.002;
    int width = 0;
    int height = 0;
    const ConfigFile settings(SETTINGS_FILE, "=", "#", "EndConfigFile");
    settings.read_int_into("width", width);
    settings.read_int_into("height", height);
    const Result<> initialized = platform::init();
    const Result<> opened =
        initialized ? platform::open_window(width, height, 0, 0, 0, 0, 0, 0, platform::WINDOW) : initialized;
    if (!opened) {
        std::cerr << "tirak-bench: no window: " << opened.problem() << std::endl;
        platform::terminate();
        return STATUS_FAILED;
    }
    platform::show_window(platform::LARGEST_WINDOW_SIDE, platform::LARGEST_WINDOW_SIDE);
    glClear(GL_COLOR_BUFFER_BIT);
    platform::swap_buffers();
    const double startup_ms = seconds_between(started, Clock::now()) * MS_PER_SECOND;

    std::vector<double> frame_ms;
    frame_ms.reserve(static_cast<size_t>(frames));
    const auto timed_from = Clock::now();
    auto frame_start = timed_from;
    while (static_cast<long>(frame_ms.size()) < frames) {
        while (seconds_between(frame_start, Clock::now()) < busy_seconds) {
        }
        platform::sleep(FRAME_PERIOD - seconds_between(frame_start, Clock::now()));
        const auto frame_end = Clock::now();
        frame_ms.push_back(seconds_between(frame_start, frame_end) * MS_PER_SECOND);
        frame_start = frame_end;
    }
    platform::terminate();
    const Spread spread = spread_of(frame_ms);
    std::printf("floor startup_ms=%.0f fps_mean=%.2f frame_p99_ms=%.2f frame_max_ms=%.2f fresh_page_us=%.2f\n",
                startup_ms, static_cast<double>(frames) / seconds_between(timed_from, frame_start), spread.p99,
                spread.max, fresh_page_us());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const Clock::time_point started = process_start(argv);
    long frames = 0;
    if (argc != 3 || !parse_frames(argv[2], frames)) {
        std::cerr << "usage: tirak-bench LEVELFILE FRAMES  (FRAMES from 1 to " << MAX_FRAMES
                  << "; run it from the data directory, like the game)\n"
                  << "       tirak-bench --floor FRAMES  (what a bare window and a paced loop get here)"
                  << std::endl;
        return STATUS_USAGE;
    }
    // The same failures the game reports, reported the same way.
    try {
        if (std::string(argv[1]) == "--floor")
            return machine_floor(started, frames);
        return bench(started, argv[1], frames);
    } catch (const ConfigFile::file_not_found& missing) {
        std::cerr << "Cannot open \"" << missing.file_name << "\": " << missing.problem << "." << std::endl;
    } catch (const FatalError& error) {
        std::cerr << error.message << std::endl;
    }
    platform::terminate();
    return STATUS_FAILED;
}
