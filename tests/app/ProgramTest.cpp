// The real skyhog executable: command-line answers, missing shaders, the
// window it opens, Escape, and the intro music reaching the sound output.
#include "tests/support/Process.h"
#include "tests/support/TempTree.h"
#include "tests/support/WaveFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

using namespace SkyhogTest;
namespace fs = std::filesystem;

namespace {

const fs::path Binary = SKYHOG_BINARY;

// A tree whose Skyhog/ links every entry of the build's data tree except Shaders,
// which is copied so single files can be removed.
void mirrorData(const TempTree& tree)
{
    for (const auto& entry : fs::directory_iterator(buildDataTree())) {
        const std::string name = entry.path().filename().string();
        tree.copy(entry.path(), "Skyhog/" + name, name != "Shaders");
    }
}

ProcessResult runGame(const TempTree& tree, const std::vector<std::string>& args, ProcessOptions options = {})
{
    fs::create_directories(tree.root() / "run" / "work");
    options.workingDirectory = tree.root() / "run" / "work";
    options.environment.emplace("ALSOFT_DRIVERS", "null");
    return runProcess(Binary, args, options);
}

// Presses Escape in the game's window once it exists: the window takes the
// focus, then the key goes down and up through XTEST. (Naming the window in
// "key" would send the key-up to it with XSendEvent, which fails once a game
// quick to quit has closed its window; the X server would then hold Escape
// down, and repeat it into the next test's window.)
std::string pressEscape()
{
    return "w=$(timeout 60 xdotool search --sync --onlyvisible --pid $SKYHOG_PID | head -n1); "
           "[ -n \"$w\" ] && timeout 10 xdotool windowfocus --sync $w key Escape >/dev/null 2>&1";
}

// Records the game window's title and geometry under run/, then presses Escape.
ProcessOptions recordWindowThenEscape(const TempTree& tree)
{
    ProcessOptions options;
    options.timeout = std::chrono::seconds(60);
    const std::string run = (tree.root() / "run").string();
    options.shellSteps.push_back({std::chrono::milliseconds(0),
                                  "w=$(xdotool search --sync --onlyvisible --pid $SKYHOG_PID | head -n1); "
                                  "xdotool getwindowname $w > " +
                                      run +
                                      "/title.txt; "
                                      "xdotool getwindowgeometry $w > " +
                                      run +
                                      "/geometry.txt; "
                                      "sleep 2; " +
                                      pressEscape()});
    return options;
}

std::size_t occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

std::string readRunFile(const TempTree& tree, const std::string& name)
{
    std::ifstream in(tree.root() / "run" / name);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(Program, ANonNumericWidthStopsBeforeAnyWindow)
{
    TempTree tree;
    const auto result = runGame(tree, {"abc", "600"});
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "Executing" + Binary.string() + ":\nplease use int for window width\n");
}

TEST(Program, ANonNumericHeightNamesTheHeight)
{
    TempTree tree;
    const auto result = runGame(tree, {"800", "abc"});
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("please use int for window height\n"), std::string::npos);
}

TEST(Program, ImpossibleWindowSizesAreRefusedCleanly)
{
    TempTree tree;
    mirrorData(tree);
    for (const auto& args :
         {std::vector<std::string>{"-5", "600"}, {"0", "0"}, {"99999999999", "600"}, {"100000", "100000"}}) {
        const auto result = runGame(tree, args);
        ASSERT_TRUE(result.exited) << args[0] << " ended by signal " << result.signal;
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_FALSE(result.timedOut);
    }
}

TEST(Program, AMissingShaderFileStopsStartUp)
{
    TempTree tree;
    mirrorData(tree);
    fs::remove(tree.root() / "Skyhog/Shaders/LightTest.vert");
    const auto result = runGame(tree, {});
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitCode, 1);
    const std::string expected =
        "ERROR: Could not loade file ../../Skyhog/Shaders/LightTest.vert\nProblem while loading shader\n";
    EXPECT_EQ(result.output.substr(0, expected.size()), expected) << result.output;
    EXPECT_EQ(result.output.find("shaders loaded"), std::string::npos);
}

TEST(Program, OpensItsWindowRunsAndQuitsWithEscape)
{
    TempTree tree;
    mirrorData(tree);
    const auto result = runGame(tree, {"800", "600"}, recordWindowThenEscape(tree));
    ASSERT_TRUE(result.exited) << "signal " << result.signal << (result.timedOut ? " (timed out)" : "");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.rfind("Executing", 0), 0u);
    EXPECT_NE(result.output.find("shaders loaded"), std::string::npos);
    EXPECT_NE(result.output.find("models loaded"), std::string::npos);
    // With the game's own data and shaders nothing is reported wrong (a
    // shader that leaves a mesh input unused writes an "Error: shader ..." line).
    EXPECT_EQ(result.output.find("Error"), std::string::npos) << result.output;

    EXPECT_EQ(readRunFile(tree, "title.txt"), "Skyhog - piss 'em all off!\n");
    const std::string geometry = readRunFile(tree, "geometry.txt");
    EXPECT_NE(geometry.find("800x600"), std::string::npos) << geometry;
}

// Another window taking the focus (here the game's own window unmapped and
// mapped again) pauses the game: the window's picture, score, pig and people
// included, stays the same for seconds. A click plays on; Escape quits while paused.
TEST(Program, LosingTheFocusPausesUntilAClick)
{
    TempTree tree;
    mirrorData(tree);
    ProcessOptions options;
    options.timeout = std::chrono::seconds(180);
    options.outputMirror = tree.root() / "stdout.txt";
    const std::string run = (tree.root() / "run").string();
    const std::string lookAway = "xdotool windowunmap --sync $w; xdotool windowmap --sync $w; sleep 2; ";
    options.shellSteps.push_back(
        {std::chrono::milliseconds(0),
         "w=$(xdotool search --sync --onlyvisible --pid $SKYHOG_PID | head -n1); "
         "until grep -q 'models loaded' " + options.outputMirror.string() +
             "; do kill -0 $SKYHOG_PID || exit 0; sleep 0.1; done; "
             "grab() { import -window $w -depth 8 rgb:- 2>/dev/null | md5sum; }; "
             "xdotool windowfocus --sync $w; sleep 2; " + lookAway +
             "a=$(grab); sleep 3; b=$(grab); [ \"$a\" = \"$b\" ] && echo still > " + run + "/paused.txt; "
             "xdotool mousemove --window $w 400 300 click 1; "
             "for i in $(seq 150); do [ \"$(grab)\" != \"$b\" ] && { echo moving > " + run +
             "/resumed.txt; break; }; sleep 0.2; done; "
             "xdotool windowfocus --sync $w; sleep 1; " + lookAway + pressEscape()});
    const auto result = runGame(tree, {"800", "600"}, options);
    ASSERT_TRUE(result.exited) << "signal " << result.signal << (result.timedOut ? " (timed out)" : "");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(readRunFile(tree, "paused.txt"), "still\n") << "the paused window's picture changed";
    EXPECT_EQ(readRunFile(tree, "resumed.txt"), "moving\n") << "the game did not play on after the click";
}

// The other argument forms that still open a window: any count but two is
// ignored (default size, no "Executing" line), and sizes are read from their
// leading digits, so "640px" means 640.
TEST(Program, OtherArgumentFormsOpenTheWindowTheyDescribe)
{
    struct Form {
        std::vector<std::string> args;
        std::string size;
        bool echoed;
    };
    const std::vector<Form> forms = {
        {{"640"}, "1024x768", false},
        {{"640", "480", "extra"}, "1024x768", false},
        {{"640px", "+480x"}, "640x480", true},
    };
    for (const Form& form : forms) {
        TempTree tree;
        mirrorData(tree);
        const auto result = runGame(tree, form.args, recordWindowThenEscape(tree));
        SCOPED_TRACE(form.args[0] + " (" + std::to_string(form.args.size()) + " arguments)");
        ASSERT_TRUE(result.exited) << "signal " << result.signal << (result.timedOut ? " (timed out)" : "");
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(result.output.rfind("Executing", 0) == 0, form.echoed) << result.output;
        const std::string geometry = readRunFile(tree, "geometry.txt");
        EXPECT_NE(geometry.find(form.size), std::string::npos) << geometry;
    }
}

TEST(Program, TheIntroMusicReachesTheSoundOutput)
{
    TempTree tree;
    mirrorData(tree);
    const fs::path wave = tree.root() / "out.wav";
    const fs::path config = tree.write("alsoft.conf", "[wave]\nfile = " + wave.string() + "\n");
    ProcessOptions options;
    options.environment = {{"ALSOFT_CONF", config.string()}};
    // The music starts before the world loads; once loading is over it has
    // played all that time, and it plays two seconds more before Escape.
    options.outputMirror = tree.root() / "stdout.txt";
    options.shellSteps.push_back({std::chrono::milliseconds(0),
                                  "until grep -q 'models loaded' " + options.outputMirror.string() +
                                      "; do kill -0 $SKYHOG_PID || exit 0; sleep 0.05; done; sleep 2; " +
                                      pressEscape()});
    fs::create_directories(tree.root() / "run" / "work");
    options.workingDirectory = tree.root() / "run" / "work";
    options.environment["ALSOFT_DRIVERS"] = "wave";
    const auto result = runProcess(Binary, {}, options);
    ASSERT_TRUE(result.exited) << "signal " << result.signal;
    EXPECT_EQ(result.exitCode, 0);

    const Capture capture = readWave(wave.string());
    ASSERT_GT(capture.rate, 0) << "no audio was written";
    ASSERT_GT(capture.samples.size(), static_cast<std::size_t>(capture.rate)) << "less than a second was written";
    const float level = SkyhogTest::rms(capture.samples, 0, capture.samples.size());
    EXPECT_GT(level, 0.02f) << "the captured output is (nearly) silent";
}

namespace {

enum class Damage { Missing, Empty, Truncated, RandomBytes };

const char* name(Damage damage)
{
    switch (damage) {
    case Damage::Missing: return "missing";
    case Damage::Empty: return "empty";
    case Damage::Truncated: return "truncated";
    case Damage::RandomBytes: return "random bytes";
    }
    return "";
}

// Replaces one data file of the tree (a copy, never the build's own) with a damaged one.
void damage(const TempTree& tree, const std::string& relative, Damage how)
{
    const fs::path target = tree.root() / "Skyhog" / relative;
    const fs::path original = buildDataTree() / relative;
    fs::create_directories(target.parent_path());
    fs::remove(target);
    switch (how) {
    case Damage::Missing: return;
    case Damage::Empty: tree.write("Skyhog/" + relative, ""); return;
    case Damage::Truncated: {
        std::ifstream in(original, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        tree.write("Skyhog/" + relative, bytes.substr(0, bytes.size() / 3));
        return;
    }
    case Damage::RandomBytes: {
        std::string bytes(4096, '\0');
        unsigned state = 12345;
        for (char& c : bytes) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
        tree.write("Skyhog/" + relative, bytes);
        return;
    }
    }
}

// A data tree whose folders are real copies, with links to the build's files,
// so that single files can be swapped.
void mirrorDataFileByFile(const TempTree& tree)
{
    for (const auto& entry : fs::recursive_directory_iterator(buildDataTree())) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), buildDataTree());
        tree.copy(entry.path(), "Skyhog/" + relative.string(), true);
    }
}

} // namespace

// Every kind of data file, damaged every way: the game either stops with a
// message and status 1 or plays on and quits with status 0; never a signal or a hang.
TEST(Program, DamagedDataFilesNeverCrashOrHang)
{
    const std::vector<std::string> files = {
        "Shaders/Water.frag",
        "Models/Pig/pig9.obj",
        "Models/Pig/pig.jpg",
        "Models/Ground/water.obj",
        "Models/Skybox/back.jpg",
        "Models/Ground/water_dudv.jpg",
        "Models/Ground/dudv_sand.jpg",
        "Models/intro.jpg",
        "Models/outro_win.jpg",
        "Models/arial.ttf",
        "Sounds/Intro.mp3",
        "Sounds/pain.mp3",
    };
    for (const std::string& file : files) {
        for (Damage how : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::RandomBytes}) {
            TempTree tree;
            mirrorDataFileByFile(tree);
            damage(tree, file, how);
            ProcessOptions options;
            options.timeout = std::chrono::seconds(90);
            options.shellSteps.push_back({std::chrono::milliseconds(0), "sleep 1; " + pressEscape()});
            const auto result = runGame(tree, {}, options);
            SCOPED_TRACE(file + " " + name(how));
            EXPECT_FALSE(result.timedOut);
            ASSERT_TRUE(result.exited) << "ended by signal " << result.signal << "\n" << result.output;
            EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode;
            // A model file that holds no model never lets the game play on without it.
            if (fs::path(file).extension() == ".obj" && how != Damage::Truncated) {
                EXPECT_EQ(result.exitCode, 1) << result.output;
            }
            if (result.exitCode == 1) {
                // A stop always says why. A model the importer rejects stops with the
                // importer's own line, which names the file only when it can't be opened;
                // every other stop names the file at fault.
                const std::string fileName = fs::path(file).filename().string();
                const bool importerLine =
                    fs::path(file).extension() == ".obj" && result.output.find("Error AASIMP") != std::string::npos;
                EXPECT_TRUE(importerLine || result.output.find(fileName) != std::string::npos) << result.output;
            }
        }
    }
}

// The two ways a player's machine can refuse the game: standard output keeps
// its one line, and standard error says in plain words what to do.
TEST(Program, WithoutADisplayOrOpenGl33TheGameSaysWhatToDo)
{
    TempTree tree;
    mirrorData(tree);
    struct Case {
        std::map<std::string, std::string> environment;
        std::string line, advice, detail;
    };
    const std::vector<Case> cases = {
        {{{"DISPLAY", ""}}, "could not initialize GLFW\n", "start the game from a desktop session", ""},
        {{{"MESA_GL_VERSION_OVERRIDE", "3.0"}},
         "could not create window\n",
         "needs OpenGL 3.3",
         "offers only OpenGL 3.0: please check that the graphics driver"},
    };
    for (const Case& c : cases) {
        ProcessOptions options;
        options.environment = c.environment;
        const auto result = runGame(tree, {}, options);
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(result.exited) << "signal " << result.signal;
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.output, c.line);
        EXPECT_NE(result.errors.find(c.advice), std::string::npos) << result.errors;
        EXPECT_NE(result.errors.find(c.detail), std::string::npos) << result.errors;
    }
}

TEST(Program, WithoutASoundDeviceTheGamePlaysSilently)
{
    TempTree tree;
    mirrorData(tree);
    // OpenAL Soft is sent to an ALSA device that does not exist, where both
    // libraries would complain; the game's one line is all the player sees.
    const fs::path config = tree.write("alsoft.conf", "[alsa]\ndevice = skyhog-no-such-device\n");
    ProcessOptions options;
    options.shellSteps.push_back({std::chrono::milliseconds(0), "sleep 1; " + pressEscape()});
    options.environment = {{"ALSOFT_DRIVERS", "alsa"}, {"ALSOFT_CONF", config.string()}};
    fs::create_directories(tree.root() / "run" / "work");
    options.workingDirectory = tree.root() / "run" / "work";
    const auto result = runProcess(Binary, {}, options);
    ASSERT_TRUE(result.exited) << "signal " << result.signal;
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(occurrences(result.output, "No sound output device found: sound is off\n"), 1u) << result.output;
    EXPECT_NE(result.output.find("models loaded"), std::string::npos);
    EXPECT_EQ(result.errors, "");
}
