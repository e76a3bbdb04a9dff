#include "support/scratch_levels.h"

#include "config/config_file.h"
#include "progress/atomic_file.h"
#include "progress/progress_file.h"
#include "settings/settings_text.h"
#include "world/level_loader.h"
#include "world/level_show.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstddef>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace {

// "size: x y z value; ..." for the occupied cells in cell order, then why the game would not play it.
std::string load(int number)
{
    std::string text;
    try {
        LevelGrid grid;
        const Result<LevelFile> file = read_level_file(level_file_name(number, 1));
        if (!file)
            return file.problem();
        fill_level_grid(file.value(), grid);
        text = std::to_string(grid.size) + ":";
        for (int32_t at = 0, n = grid.size; at < grid.cell_count; ++at)
            if (grid.cells[at] != CELL_EMPTY)
                text += " " + std::to_string(at % n) + " " + std::to_string(at / n % n) + " " +
                        std::to_string(at / n / n) + " " + std::to_string(grid.cells[at]) + ";";
        const Result<int32_t> loaded = load_level(number, 1, grid); // as the game loads it
        return loaded ? text : text + " " + loaded.problem();
    } catch (const ConfigFile::file_not_found& error) {
        return "cannot open " + error.file_name;
    }
}

TEST(LevelLoader, CyclesThroughTheFilesFoundAtStartUp)
{
    // The files there, how many count, level numbers and the files they name, and the file after the
    // largest level number (which plays the file named first), where the cycle goes on.
    struct Row {
        const char* name; std::vector<int> files; int count; std::vector<std::pair<int, const char*>> names;
        const char* after_largest;
    };
    const Row rows[] = {
        {"three, as ever", {1, 2, 3}, 3, {{1, "levels/1.lev"}, {3, "levels/3.lev"}, {4, "levels/1.lev"}, {3001, "levels/1.lev"},
         {0, "levels/3.lev"}, {-1, "levels/-1.lev"}, {-3, "levels/3.lev"}, {-5, "levels/-2.lev"},
         {INT32_MAX, "levels/1.lev"}}, "levels/2.lev"},
        {"thirty-one", {}, 31, {{30, "levels/30.lev"}, {31, "levels/31.lev"}, {32, "levels/1.lev"}, {0, "levels/31.lev"},
         {-33, "levels/-2.lev"}, {INT32_MAX, "levels/1.lev"}}, "levels/2.lev"},
        {"up to a gap", {1, 2, 4, 5}, 2, {{2, "levels/2.lev"}, {3, "levels/1.lev"}, {4, "levels/2.lev"},
         {INT32_MAX, "levels/1.lev"}}, "levels/2.lev"},
        {"without 1.lev, 1.lev is named and found missing", {2, 3}, 1, {{1, "levels/1.lev"}, {3, "levels/1.lev"}},
         "levels/1.lev"},
        {"seven", {}, 7, {{INT32_MAX, "levels/1.lev"}, {INT32_MAX - 1, "levels/7.lev"}},
         "levels/2.lev"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScratchLevels scratch;
        for (int file = 1; file <= (row.files.empty() ? row.count : 0); ++file)
            scratch.write("levels/" + std::to_string(file) + ".lev", "");
        for (const int file : row.files)
            scratch.write("levels/" + std::to_string(file) + ".lev", "");
        // The player's own beside them never join ours, and go round on their own.
        std::filesystem::create_directory(OWN_LEVELS);
        for (const char* file : {"mylevels/1.lev", "mylevels/2.lev", "mylevels/4.lev"})
            scratch.write(file, "");
        EXPECT_EQ(level_file_name(3, count_level_files(LevelSet::OWN), LevelSet::OWN), "mylevels/1.lev");
        const int32_t count = count_level_files();
        EXPECT_EQ(count, row.count);
        for (const auto& [number, name] : row.names)
            EXPECT_EQ(level_file_name(number, count), name) << number;
        EXPECT_EQ(level_file_name(next_level_number(INT32_MAX, count), count), row.after_largest);
        EXPECT_EQ(next_level_number(41, count), 42);
    }
}

TEST(LevelLoader, AcceptsAndRejects)
{
    const std::string no_start = " it has no ship start (a cell with the value 5)";
    const struct { const char* name; std::string text, result; } rows[] = {
        {"notes, unknown keys, a list over lines, a sentry",
         "# A level.\nsize = 4   # cells\nunknown = 12\ncubes = 4\nlevel = 0 0 0 5   # ship\n  3 0 0 1\n"
         "# a note between the rows\n  1\t2 3 6\n  2 1 3 2\n\nEndConfigFile\nsize = 9\nlevel = 1 1 1 1\n",
         "4: 0 0 0 5; 3 0 0 1; 2 1 3 2; 1 2 3 6;"},
        {"four integers a cube, no more", level_text(3, "1 0 0 5 2 0 0 1 0 2 0 6", 2), "3: 1 0 0 5; 2 0 0 1;"},
        {"a missing entry reads as 0 0 0 0", level_text(3, "0 0 0 1 2 2 2 5", 3), "3: 2 2 2 5;"},
        {"a last entry cut short still counts", level_text(3, "1 1 1 5 1 1 1", 2), "3:" + no_start},
        {"reading stops at a word", level_text(3, "1 1 1 5 2 x 2 6", 2), "3: 1 1 1 5;"},
        {"and at a number too large", level_text(3, "1 1 1 5 2 99999999999 2 6", 2), "3: 1 1 1 5;"},
        {"a later entry wins", level_text(3, "1 1 1 6 0 0 0 5 1 1 1 1"), "3: 0 0 0 5; 1 1 1 1;"},
        // Unchecked, (5, 0, 0) would land on (0, 1, 0) and (0, 0, 5) past the cells.
        {"entries outside are skipped", level_text(5, "2 2 2 5 5 0 0 1 -1 1 0 1 0 0 5 1 0 -1 0 6 4 4 4 6"),
         "5: 2 2 2 5; 4 4 4 6;"},
        {"a ship start outside is none", level_text(3, "3 0 0 5 1 1 1 6"), "3: 1 1 1 6;" + no_start},
        {"the largest grid", level_text(MAX_GRID_SIZE, "63 63 63 5"), "64: 63 63 63 5;"},
        {"one cell", level_text(1, "0 0 0 5"), "1: 0 0 0 5;"},
        {"as many entries as a level may have", level_text(3, "1 1 1 5", 16384), "3: 1 1 1 5;"},
        {"negative size", level_text(-3, "0 0 0 5", 1), "size is -3, which is negative"},
        {"negative count", "size = 3\ncubes = -1\n", "cubes is -1, which is negative"},
        {"too wide", level_text(65, "0 0 0 5", 1), "size is 65, larger than the largest grid of 64 cells a side"},
        {"too many", level_text(3, "", 16385), "cubes is 16385, more than the 16384 entries a level may have"},
        {"no size, no cells", "cubes = 1\nlevel = 0 0 0 5\n", "0:" + no_start},
        {"no entries", level_text(3, "1 1 1 5", 0), "3:" + no_start},
        {"no list", "size = 2\ncubes = 2\n", "2:" + no_start},
    };
    const ScratchLevels scratch;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        scratch.write("levels/1.lev", row.text);
        EXPECT_EQ(load(1), row.result);
    }
    std::filesystem::remove("levels/1.lev");
    EXPECT_EQ(load(1), "cannot open levels/1.lev");
}

TEST(LevelShow, DrawsOneLayerAtATime)
{
    LevelGrid grid{{CELL_SHIP_START, CELL_CUBE, CELL_EMPTY, CELL_BEAMER, 7, CELL_GOAL, CELL_BEAMER, CELL_EMPTY}, 2, 8};
    EXPECT_EQ(show_level(grid), "size 2: . empty  # cube  B beamer  S ship start  G goal  X hidden wall\n"
                                "y = 0\n     x 0 1\n  z 0  S #\n  z 1  X G\ny = 1\n     x 0 1\n  z 0  . B\n  z 1  B .\n");
    grid = LevelGrid{std::vector<int32_t>(1331, CELL_EMPTY), 11, 1331}; // numbered with one digit
    const std::string row = " . . . . . . . . . . .\n", shown = show_level(grid);
    EXPECT_NE(shown.find("     x 0 1 2 3 4 5 6 7 8 9 0\n  z 0 " + row), std::string::npos);
    EXPECT_NE(shown.find("  z 9 " + row + "  z 0 " + row + "y = 1"), std::string::npos);
}

TEST(ConfigFile, ReadsTheSettingsFormat)
{
    const ScratchLevels scratch;
    auto read = [&](const char* text) { return ConfigFile(scratch.write("t.inp", text), "=", "#", "EndConfigFile"); };
    const char* const lists = "x = 1\n2 3\n  4  # note\n   # only a note\n5\n\norphan line\ny = 7\n8\nz = 9\n";
    const char* const sentry = "a = 1\n# EndConfigFile in a note\nb = 2\nc = 3 EndConfigFile\nd = 4\n";
    const char* const crlf = "width = 800\r\nlist = 1\r\n2\r\n";
    const struct { const char *name, *text, *key; std::optional<std::string> value; } rows[] = {
        {"plain", "k=v", "k", "v"}, {"outer blanks go", " \v spaced  key \t =  a value \f\n", "spaced  key", "a value"},
        {"a note is no key", "# note = 1\n", "# note", std::nullopt},
        {"a note ends a value", "w = 10 # px\n", "w", "10"},
        {"the first delimiter splits", "a = b = c\n", "a", "b = c"}, {"no name", "= nameless\n", "", "nameless"},
        {"the last one wins", "twice = 1\ntwice = 2\n", "twice", "2"},
        // A note-only line adds its leading blanks but no line break.
        {"a value goes on to a blank line", lists, "x", "1\n2 3\n  4     \n5"},
        {"or to the next key", lists, "y", "7\n8"}, {"which is read too", lists, "z", "9"},
        {"a last line without a line break is kept once", "level = 1 2\n3 4", "level", "1 2\n3 4"},
        {"a one-line file without a line break", "level = 1 2", "level", "1 2"},
        {"a sentry in a note does not count", sentry, "b", "2"},
        {"the sentry line is not read", sentry, "c", std::nullopt}, {"nor anything after it", sentry, "d", std::nullopt},
        {"a sentry ends a list", "l = 1\n2\nEndConfigFile\n3\n", "l", "1\n2"},
        {"carriage returns go at the ends", crlf, "width", "800"}, {"but not inside", crlf, "list", "1\r\n2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(read(row.text).find_value(row.key), row.value);
    }

    const ConfigFile config = read("width = 800 px\nfulscreen = No\nEndConfigFile\nheight = 5\n");
    EXPECT_EQ(config.read_int("width", 1), 800);
    EXPECT_EQ(config.read_int("height", 42), 42);
    EXPECT_FALSE(config.read_bool("fulscreen", true));
    EXPECT_TRUE(config.read_bool("missing", true));
    int height = 123, width = 0;
    config.read_int_into("height", height);
    config.read_int_into("width", width);
    EXPECT_EQ(std::pair(height, width), std::pair(123, 800)) << "an absent key leaves its target alone";
}

// A value changed in the settings as the player wrote them: the expected
// text is the whole file after.
TEST(SettingsText, OneValueChangesAndEverythingElseStaysAsWritten)
{
    struct Row { const char* name; const char* text; const char* key; const char* value; const char* after; };
    const Row rows[] = {
        {"odd spacing and a note", "# mine\nwidth   =  800   # wide\nheight=600\n", "width", "1024",
         "# mine\nwidth   =  1024   # wide\nheight=600\n"},
        {"no spaces", "height=600\n", "height", "768", "height=768\n"},
        {"the same value: the same bytes", "fulscreen =   no  # window\n", "fulscreen", "no", "fulscreen =   no  # window\n"},
        {"a new key before the end mark", "level = 1\n\nEndConfigFile\n", "volume", "50",
         "level = 1\n\nvolume = 50\nEndConfigFile\n"},
        {"a new key, no end mark, no last line break", "level = 1", "volume", "50", "level = 1\nvolume = 50\n"},
        {"the last of two: the one the reader takes", "level = 1\nlevel = 2\n", "level", "3", "level = 1\nlevel = 3\n"},
        {"a value over lines loses them, not the note", "name = a\n  long\n# note\nnext = 1\n", "name", "b",
         "name = b\n# note\nnext = 1\n"},
        {"after the end mark nothing counts", "EndConfigFile\nwidth = 5\n", "width", "6",
         "width = 6\nEndConfigFile\nwidth = 5\n"},
        {"an empty value", "sound =\nx = 1\n", "sound", "no", "sound = no\nx = 1\n"},
        {"line ends of another system", "width = 800\r\nheight = 600\r\n", "width", "1024",
         "width = 1024\r\nheight = 600\r\n"},
        {"a longer key with the same start", "widths = 1\n", "width", "2", "widths = 1\nwidth = 2\n"},
        {"a key in a note is no key", "# width = 9\n", "width", "2", "# width = 9\nwidth = 2\n"},
    };
    const ScratchLevels scratch;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(with_value(row.text, row.key, row.value), row.after);
        EXPECT_EQ(ConfigFile(scratch.write("t.inp", row.after), "=", "#", "EndConfigFile").find_value(row.key), row.value);
    }

    // Written whole when it changes, and not at all when it does not.
    const std::string path = scratch.write("s.inp", "# mine\nvolume = 80\nEndConfigFile\n");
    struct stat before {};
    stat(path.c_str(), &before);
    ASSERT_TRUE(change_settings(path, {{"volume", "80"}}));
    struct stat same {};
    stat(path.c_str(), &same);
    EXPECT_EQ(same.st_ino, before.st_ino);
    ASSERT_TRUE(change_settings(path, {{"volume", "40"}, {"key_launch", "Return"}}));
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "# mine\nvolume = 40\nkey_launch = Return\nEndConfigFile\n");
    std::filesystem::create_directory("d.inp");
    EXPECT_EQ(change_settings("d.inp", {{"volume", "1"}}).problem(), "it is a directory, not a file");
}

TEST(ConfigFile, ConvertsTextLikeAStream)
{
    const struct { const char* text; int as_int; bool as_bool; } rows[] = {
        {"800", 800, true}, {"  800 px", 800, true}, {"-3", -3, true}, {"+7", 7, true}, {"3.7", 3, true},
        {"12abc", 12, true}, {"0x10", 0, true}, {"abc", 0, true}, {"", 0, true}, {"00", 0, true}, {"1", 1, true},
        {"99999999999", 0, true}, {"-99999999999", 0, true}, {"0", 0, false}, {"no", 0, false}, {"No", 0, false},
        {"n", 0, false}, {"NoNe", 0, false}, {"false", 0, false}, {"F", 0, false}, {"f", 0, false}, {"off", 0, true},
        {"yes", 0, true}, {" no", 0, true}, {"nope", 0, true}, {"true", 0, true}, {"nonez", 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE('"' + std::string(row.text) + '"');
        EXPECT_EQ(to_int(row.text), row.as_int);
        EXPECT_EQ(to_bool(row.text), row.as_bool);
    }
}

// Levels as "level:launches ...".
std::string levels_of(const Progress& progress)
{
    std::string listed;
    for (const auto& [level, launches] : progress.best_launches)
        listed += std::to_string(level) + ":" + std::to_string(launches) + " ";
    return listed;
}

// A progress that could not be read is a new player's.
std::string levels_of(const Result<Progress>& progress)
{
    return progress ? levels_of(progress.value()) : "";
}

// A child process that runs `work` and ends with status 0 when it returns true.
template <class Work> pid_t start_child(Work work)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(work() ? 0 : 1);
    return child;
}
int status_of(pid_t child)
{
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

// read_progress on a file system without hard links, where link() fails with EPERM; with `nor_renames`,
// one whose rename cannot refuse to replace either (EINVAL). In a child, since a seccomp filter stays;
// what it read comes back as levels, the line said and "kept", one a line.
std::string read_without_links(bool nor_renames)
{
    int ends[2];
    if (pipe(ends) != 0)
        return "no pipe";
    const pid_t child = start_child([&] {
        sock_filter rules[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_link, 3, 0),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_linkat, 2, 0),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, nor_renames ? SYS_renameat2 : ~0u, 2, 0),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EINVAL),
        };
        const sock_fprog filter{static_cast<unsigned short>(std::size(rules)), rules};
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0)
            return false;
        const ProgressRead read = read_progress(PROGRESS_FILE);
        const std::string told =
            levels_of(read.progress) + "\n" + read.progress.problem() + "\n" + (read.kept_as_is ? "kept" : "");
        return write(ends[1], told.data(), told.size()) == static_cast<ssize_t>(told.size());
    });
    close(ends[1]);
    std::string told;
    char part[512];
    for (ssize_t got; (got = read(ends[0], part, sizeof part)) > 0;)
        told.append(part, static_cast<size_t>(got));
    close(ends[0]);
    return status_of(child) == 0 ? told : "the child failed";
}

TEST(ProgressFile, ReadsWhatItWroteMergesAndNeverWritesOverWhatItCouldNotRead)
{
    // How progress.inp is made (not at all for a new player); what is read back as "level:launches ...";
    // the line said; the files the scratch directory then holds besides the levels (not listed: null);
    // what the file holds once this game's 1:6 3:7 5:2 are written, or null where the file must be kept
    // as it was; no_links 1: link() fails, 2: and a rename that does not replace.
    struct Row {
        const char* name; std::function<void()> make; const char* read; std::string said; const char *files, *written;
        int no_links = 0;
    };
    const ScratchLevels scratch;
    const auto text = [&scratch](std::string text) { return [&scratch, text] { scratch.write(PROGRESS_FILE, text); }; };
    const std::string sentry = "EndConfigFile\n", cut_short = "progress.inp: it is cut short: it does not end with "
                                                             "EndConfigFile; ";
    const std::string kept = "; this run's progress is not saved, and the file is kept as it is.";
    const std::string not_a_file = "progress.inp progress.inp.bad progress.inp.bad.2 progress.inp.bad.3 progress.inp.bad.4 "
                                   "progress.inp.lock";
    const Row rows[] = {
        {"a new player", [] {}, "", "", "", "1:6 3:7 5:2 "},
        {"notes, merged with this game's, the better of each kept", text("# notes\nlevel_3 = 9\nlevel_1 = 4 # first\n"
         "level_8 = 1000000\n" + sentry), "1:4 3:9 8:1000000 ", "", "progress.inp progress.inp.lock", "1:4 3:7 5:2 8:1000000 "},
        {"cut short", text("level_1 = 4\nlevel_2 = "), "", cut_short + "it is kept as progress.inp.bad, playing as a new "
         "player.", "progress.inp.bad progress.inp.lock", "1:6 3:7 5:2 "},
        {"garbage after a value", text("level_1 = 4\n\x01\x7f\n" + sentry), "", "progress.inp: line 2 is not a "
         "\"level_N = launches\" line; it is kept as progress.inp.bad.2, playing as a new player.",
         "progress.inp.bad progress.inp.bad.2 progress.inp.lock", "1:6 3:7 5:2 "},
        {"not a level", text("\nlevel_0 = 4\n" + sentry), "", "progress.inp: line 2 is not a \"level_N = launches\" "
         "line; it is kept as progress.inp.bad.3, playing as a new player.",
         "progress.inp.bad progress.inp.bad.2 progress.inp.bad.3 progress.inp.lock", "1:6 3:7 5:2 "},
        {"a key that is no level's", text("level_1 = 4\nlevels = 4\n" + sentry), "", "progress.inp: line 2 is not a "
         "\"level_N = launches\" line; it is kept as progress.inp.bad.4, playing as a new player.", nullptr, "1:6 3:7 5:2 "},
        {"a directory", [] { std::filesystem::create_directory(PROGRESS_FILE); }, "",
         "progress.inp: it is a directory, not a file" + kept, not_a_file.c_str(), nullptr},
        {"a pipe", [] { mkfifo(PROGRESS_FILE, 0644); }, "", "progress.inp: it is a pipe, not a file" + kept,
         not_a_file.c_str(), nullptr},
        {"a link to an endless device", [] { std::filesystem::create_symlink("/dev/zero", PROGRESS_FILE); }, "",
         "progress.inp: it is a device, not a file" + kept, not_a_file.c_str(), nullptr},
        {"too large", [] { std::ofstream(PROGRESS_FILE) << std::string(MOST_SETTINGS_BYTES + 1, 'x'); }, "",
         "progress.inp: it is 1048577 bytes; a progress file may have at most 1048576" + kept,
         not_a_file.c_str(), nullptr},
        {"no hard links: moved by a rename that does not replace", text("level_1 = 4\n"), "", cut_short + "it is kept "
         "as progress.inp.bad.5, playing as a new player.", nullptr, "1:6 3:7 5:2 ", 1},
        {"no hard links, nor such renames", text("level_1 = 4\n"), "", cut_short + "it cannot be moved aside "
         "(Invalid argument)" + kept, nullptr, nullptr, 2},
        {"every name to keep it by taken", [&] {
             text("level_1 = 4\n")();
             for (int number = 6; number <= 1000; ++number)
                 scratch.write("progress.inp.bad." + std::to_string(number), "");
         }, "", cut_short + "it cannot be moved aside (File exists)" + kept, nullptr, nullptr},
    };
    const auto files = [&scratch] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.root))
            if (entry.path().filename() != "levels")
                names.insert(entry.path().filename().string());
        std::string listed;
        for (const std::string& name : names)
            listed += (listed.empty() ? "" : " ") + name;
        return listed;
    };
    // What is there by the name: its kind, and a regular file's text.
    const auto as_it_is = [] {
        const auto kind = std::filesystem::symlink_status(PROGRESS_FILE).type();
        std::ostringstream text;
        if (kind == std::filesystem::file_type::regular)
            text << std::ifstream(PROGRESS_FILE, std::ios::binary).rdbuf();
        return std::to_string(static_cast<int>(kind)) + text.str();
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(PROGRESS_FILE);
        row.make();
        const std::string before = as_it_is();
        std::string read_levels, said, kept_word;
        if (row.no_links == 0) {
            const ProgressRead read = read_progress(PROGRESS_FILE);
            read_levels = levels_of(read.progress);
            said = read.progress.problem();
            kept_word = read.kept_as_is ? "kept" : "";
        } else {
            std::istringstream told(read_without_links(row.no_links == 2));
            std::getline(told, read_levels) && std::getline(told, said) && std::getline(told, kept_word);
        }
        EXPECT_EQ(read_levels, row.read);
        EXPECT_EQ(said, row.said);
        if (row.files) {
            EXPECT_EQ(files(), row.files);
        }
        EXPECT_EQ(kept_word == "kept", row.written == nullptr);

        Progress ours{{{1, 6}, {3, 7}, {5, 2}}};
        const Result<> written = write_progress(PROGRESS_FILE, ours);
        const std::string& problem = written.problem();
        EXPECT_EQ(written.ok(), row.written != nullptr) << problem;
        if (row.written) {
            EXPECT_EQ(levels_of(ours), row.written) << "this game has the file's levels too";
            EXPECT_EQ(levels_of(read_progress(PROGRESS_FILE).progress), row.written);
        } else {
            EXPECT_EQ(as_it_is(), before) << "nothing is written over a file that could not be read";
            EXPECT_EQ(problem.rfind("progress.inp: ", 0), 0u) << problem;
            EXPECT_EQ(problem.substr(problem.size() - kept.size()), kept) << problem;
        }
    }
    EXPECT_EQ(std::ifstream("progress.inp.bad").peek(), 'l') << "the first broken file is kept as it was";
    for (const char* line : {"level_2 = 0", "level_2 = 1000001", "level_2 = many", "level_x = 4", "= 4", "level_2"}) {
        scratch.write(PROGRESS_FILE, std::string(line) + "\n" + sentry);
        const ProgressRead read = read_progress(PROGRESS_FILE);
        EXPECT_EQ(read.progress.problem().rfind("progress.inp: line 1 is not a \"level_N = launches\" line; ", 0), 0u)
            << line;
        EXPECT_TRUE(read.kept_as_is) << "every name to keep it by is still taken";
    }

    // A solve is kept when it is the first or the best.
    Progress progress;
    EXPECT_TRUE(progress.record(2, 7));
    EXPECT_FALSE(progress.record(2, 7));
    EXPECT_TRUE(progress.record(2, 5));
    EXPECT_FALSE(progress.record(2, 6));
    EXPECT_TRUE(progress.record(1, 3));
    EXPECT_EQ(write_progress("missing/progress.inp", progress).problem(),
              "missing/progress.inp: cannot be written (No such file or directory); progress is not saved.");
    EXPECT_EQ(replace_file_atomically("missing/1.lev", "").problem(), "No such file or directory");

    // A write that fails half way, here at a limit of 100 bytes a file, leaves the old file and no new one.
    const std::string before = progress_text(progress);
    scratch.write(PROGRESS_FILE, before);
    EXPECT_EQ(status_of(start_child([] {
        const rlimit most{100, 100};
        signal(SIGXFSZ, SIG_IGN);
        Progress many;
        for (int32_t level = 1; level <= 50; ++level)
            many.record(level, level);
        return setrlimit(RLIMIT_FSIZE, &most) == 0 && write_progress(PROGRESS_FILE, many).problem() ==
                                                         "progress.inp: cannot be written (File too large); progress is not saved.";
    })), 0);
    EXPECT_EQ(levels_of(read_progress(PROGRESS_FILE).progress), "1:3 2:5 ");
    EXPECT_EQ(files().find(".new"), std::string::npos) << files();
}

TEST(ProgressFile, TwoGamesWritingAtOnceKeepEachOthersSolves)
{
    const ScratchLevels scratch;
    // A game that writes while another holds the lock waits, then reads what that one wrote.
    const int lock = open("progress.inp.lock", O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    const pid_t waiting = start_child([lock] {
        close(lock); // a lock is the open file's, which the child shares
        Progress progress{{{2, 5}}};
        return write_progress(PROGRESS_FILE, progress).ok();
    });
    usleep(200000); // long enough for it to have read the file, were it not waiting
    ASSERT_TRUE(replace_file_atomically(PROGRESS_FILE, "level_1 = 3\nlevel_2 = 9\nEndConfigFile\n"));
    close(lock);
    EXPECT_EQ(status_of(waiting), 0);
    EXPECT_EQ(levels_of(read_progress(PROGRESS_FILE).progress), "1:3 2:5 ");

    // Two games solving levels side by side: every solve of both is there at the end, level 9 in the
    // better game's launches; and no write failed.
    const auto game = [](int32_t first, int32_t launches_of_9) {
        return start_child([=] {
            Progress progress;
            bool saved = true;
            for (int32_t level = first; level < first + 30; ++level) {
                progress.record(level, 1);
                progress.record(9, launches_of_9);
                saved = write_progress(PROGRESS_FILE, progress).ok() && saved;
            }
            return saved;
        });
    };
    std::filesystem::remove(PROGRESS_FILE);
    const pid_t one = game(10, 8), other = game(40, 4);
    EXPECT_EQ(status_of(one), 0);
    EXPECT_EQ(status_of(other), 0);
    const Progress both = read_progress(PROGRESS_FILE).progress.value();
    EXPECT_EQ(both.best_launches.size(), 61u) << levels_of(both);
    EXPECT_EQ(both.best_launches.count(39) + both.best_launches.count(69), 2u) << levels_of(both);
    EXPECT_EQ(both.best_launches.at(9), 4);

    // Two writers of one file without a lock, as two editors saving one level: each writes a new file of
    // its own, so every write succeeds and the file is always one of theirs whole.
    const auto writer = [](char letter) {
        return start_child([=] {
            bool written = true;
            for (int round = 0; round < 60; ++round) {
                written = replace_file_atomically("shared.lev", std::string(4096, letter)).ok() && written;
            }
            return written;
        });
    };
    const pid_t a = writer('a'), b = writer('b');
    EXPECT_EQ(status_of(a), 0);
    EXPECT_EQ(status_of(b), 0);
    std::ostringstream shared;
    shared << std::ifstream("shared.lev").rdbuf();
    EXPECT_TRUE(shared.str() == std::string(4096, 'a') || shared.str() == std::string(4096, 'b'));
}

// The progress and the settings, each written over and over until a kill:
// the file left is whole, the old one or a new one.
TEST(PlayersFiles, AKillWhileOneIsWrittenLeavesTheOldFileOrTheNew)
{
    const ScratchLevels scratch;
    const struct {
        const char* file;
        std::function<void(int32_t)> write; // the n-th write
        std::function<bool()> whole;
    } cases[] = {
        {PROGRESS_FILE,
         [](int32_t n) {
             static Progress progress;
             progress.record(n, n);
             (void)write_progress(PROGRESS_FILE, progress);
         },
         [] {
             const ProgressRead read = read_progress(PROGRESS_FILE);
             return read.progress.problem().empty() && !read.progress.value().best_launches.empty();
         }},
        {"tirak.inp",
         [](int32_t n) { (void)change_settings("tirak.inp", {{"volume", std::to_string(n % 101)}, {"text", "no"}}); },
         [] {
             std::ifstream file("tirak.inp");
             const std::string text(std::istreambuf_iterator<char>(file), {});
             return text.rfind("# mine\nvolume = ", 0) == 0 && text.size() > 30 &&
                    text.compare(text.size() - 14, 14, "EndConfigFile\n") == 0;
         }},
    };
    scratch.write("tirak.inp", "# mine\nvolume = 80\nEndConfigFile\n");
    Progress first{{{1, 9}}};
    ASSERT_TRUE(write_progress(PROGRESS_FILE, first));
    for (const auto& c : cases) {
        c.write(1);
        for (int round = 0; round < 100; ++round) {
            const pid_t writer = fork();
            ASSERT_GE(writer, 0);
            if (writer == 0) // writes until it is killed
                for (int32_t n = 2;; ++n)
                    c.write(n);
            usleep(static_cast<useconds_t>(100 + round * 37 % 2000)); // at a different moment each round
            kill(writer, SIGKILL);
            waitpid(writer, nullptr, 0);
            ASSERT_TRUE(c.whole()) << c.file << ", round " << round;
        }
    }
}

} // namespace
