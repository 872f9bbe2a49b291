// Plays the real skyhog executable through its real window and input path:
// synthetic key and pointer events (XTEST through xdotool) and screenshots of
// the window (ImageMagick's import). The steps follow a player: the intro
// picture while loading, the scene, W flies over the island, the mouse tilts
// the view down onto the pig, the stream falls on the person below, the score
// reads 10, the mouse turns the view, Escape quits.
//
// The screenshots of each step stay in SKYHOG_ARTEFACT_DIR for a person to look at.
#include "tests/support/Process.h"
#include "tests/support/Rgb.h"
#include "tests/support/TempTree.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace SkyhogTest;
namespace fs = std::filesystem;

namespace {

const fs::path Binary = SKYHOG_BINARY;
const fs::path Artefacts = SKYHOG_ARTEFACT_DIR;

// A small window keeps the frame rate up on a software renderer, which keeps
// the distance flown while W is held close to the time it is held.
constexpr int Width = 320;
constexpr int Height = 240;

// The pig starts at world (0, 3.85, 1) facing +z; flying W for this long at
// 10 units a second stops it above the person standing at about (-0.2, 25.9).
// How far it really flies is off by up to a frame's flight at either end, so
// the driver sweeps the pig over the spot until the stream finds the person;
// nobody else stands within reach of a pig anywhere near there.
constexpr double FlightSeconds = 2.49;

// A screenshot, top row first.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    const Rgb& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool empty() const { return pixels.empty(); }
};

Shot loadShot(const fs::path& path, int width = 0, int height = 0)
{
    Shot shot;
    FIBITMAP* loaded = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    if (!loaded) return shot;
    FIBITMAP* sized = loaded;
    if (width > 0 && height > 0) {
        sized = FreeImage_Rescale(loaded, width, height, FILTER_BILINEAR);
        FreeImage_Unload(loaded);
        if (!sized) return shot;
    }
    shot.width = static_cast<int>(FreeImage_GetWidth(sized));
    shot.height = static_cast<int>(FreeImage_GetHeight(sized));
    shot.pixels.resize(static_cast<std::size_t>(shot.width * shot.height));
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            RGBQUAD colour{};
            // FreeImage's first scan line is the bottom of the picture.
            FreeImage_GetPixelColor(sized, static_cast<unsigned>(x), static_cast<unsigned>(shot.height - 1 - y),
                                    &colour);
            shot.pixels[static_cast<std::size_t>(y * shot.width + x)] = {colour.rgbRed, colour.rgbGreen,
                                                                         colour.rgbBlue};
        }
    FreeImage_Unload(sized);
    return shot;
}

// Mean absolute difference per channel over rows [top, bottom) of two same-sized shots.
double difference(const Shot& a, const Shot& b, int top, int bottom)
{
    double sum = 0.0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < a.width; ++x) {
            const Rgb& p = a.at(x, y);
            const Rgb& q = b.at(x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    return sum / (3.0 * a.width * (bottom - top));
}

template <typename Test>
int count(const Shot& shot, int left, int top, int right, int bottom, Test test)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (test(shot.at(x, y))) ++n;
    return n;
}

bool pink(const Rgb& p)
{
    return p.r > 150 && p.r > p.b + 20 && p.g < p.r - 30;
}
bool yellow(const Rgb& p)
{
    return p.r > 170 && p.g > 170 && p.b < 120;
}
// The score's lettering, drawn in (1.0, 0.7, 0.3).
bool scoreOrange(const Rgb& p)
{
    return p.r > 190 && p.g > 110 && p.g < 215 && p.b < 140 && p.r - p.b > 90;
}

// Right-most column of score lettering in the lower left quarter, or -1.
int scoreRightEdge(const Shot& shot)
{
    int right = -1;
    for (int y = shot.height * 3 / 4; y < shot.height; ++y)
        for (int x = 0; x < shot.width / 2; ++x)
            if (scoreOrange(shot.at(x, y))) right = std::max(right, x);
    return right;
}

std::size_t occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// The driver: a shell script run beside the game. It never guesses how fast
// the game is: it waits on lines the game flushes to its standard output
// (mirrored into $log) and on the window's picture itself. A look is taken
// once the window has shown new pictures: the scene moves every frame (the
// wings flap, the people walk, the sea ripples), so each change of picture is
// at least one frame drawn.
//
// The world's first model is a pipe that nobody writes, so loading waits on it
// while the intro picture stands, however fast the machine reads. Once the
// intro has been seen, the real file takes the pipe's place and the reader
// waiting on the pipe is let go: it opens the path again and finds the model.
std::string driverScript(const fs::path& out, const fs::path& log, const fs::path& introReference,
                         const fs::path& heldModel, const fs::path& realModel, const fs::path& pipe)
{
    std::ostringstream s;
    s << "out=" << out << "; log=" << log << "; ref=" << introReference << "\n"
      << "held=" << heldModel << "; real=" << realModel << "; pipe=" << pipe << "\n"
      << R"(shot() { import -window "$w" "$out/$1.png"; }
grab() { import -window "$w" -depth 8 rgb:- 2>/dev/null | md5sum; }
wait_for() { # text, seconds
  i=0; while ! grep -q "$1" "$log" 2>/dev/null; do
    kill -0 $SKYHOG_PID 2>/dev/null || exit 1
    i=$((i+1)); [ $i -gt $(($2*20)) ] && return 1; sleep 0.05; done; }
frames() { # waits until the window has shown $1 new pictures (two minutes at most)
  last=$(grab); k=0; t=0
  while [ $k -lt $1 ]; do
    kill -0 $SKYHOG_PID 2>/dev/null || exit 1 # the game has ended: nothing more to drive
    now=$(grab); [ "$now" != "$last" ] && { k=$((k+1)); last=$now; }
    t=$((t+1)); [ $t -gt 2400 ] && return 1; sleep 0.02; done; }
like_intro() { # mean difference from the intro picture under a tenth of full scale
  d=$(compare -metric MAE "$ref" "$1" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
  awk -v d="${d:-1}" 'BEGIN { exit !(d < 0.1) }'; }
w=$(timeout 120 xdotool search --sync --onlyvisible --pid $SKYHOG_PID | head -n1)
[ -n "$w" ] || exit 1
# The intro picture stands while the world waits on the pipe.
n=0; while [ $n -lt 600 ]; do
  shot "loading-$n"; like_intro "$out/loading-$n.png" && break; n=$((n+1)); sleep 0.1; done
# Let the world load: the model goes in place, then the waiting reader is freed.
ln -s "$real" "$held.new" && mv -f "$held.new" "$held"
exec 3<>"$pipe"; exec 3>&-
wait_for "models loaded" 120
xdotool windowfocus --sync $w
frames 2; shot 2-scene
xdotool keydown w; sleep )"
      << FlightSeconds << R"(; xdotool keyup w
frames 2; shot 3-flown
# Look down on the pig (45 degrees, in steps the window's centre can take),
# so that the stream below it stays in view however far its drops fall in
# one frame of a slow machine.
for i in 1 2 3 4 5 6 7 8 9 10; do xdotool mousemove_relative -- 0 -90; frames 2; done
shot 4-looking-down
xdotool keydown space
# The stream lands within a third of a unit of the pig, and where W stopped
# it is off by up to a frame's flight: when no hit comes, sweep the pig over
# the spot, a little further each way each time, stopping at each end for the
# person's walk to bring them under the stream.
hit() { wait_for "totally hit that person" "$1"; }
if ! hit 3; then
  for t in 0.05 0.1 0.15 0.2 0.25 0.3 0.35 0.4 0.45 0.5 0.55 0.6; do
    xdotool keydown w; sleep $t; xdotool keyup w; hit 2 && break
    xdotool keydown s; sleep $t; sleep $t; xdotool keyup s; hit 2 && break
    xdotool keydown w; sleep $t; xdotool keyup w; hit 2 && break
  done
  hit 120
fi
# A few looks at the stream: on a slow machine the drops of one frame have
# fallen far by the next, and some looks catch more of them than others.
for i in 0 1 2 3 4 5; do frames 1; shot "stream-$i"; done
xdotool keyup space
# The hit's rising "+10" has faded by the time the score is looked at.
frames 2; sleep 1.5; frames 1; shot 6-points
# Two steps the window's centre can take: nine degrees to the left.
xdotool mousemove_relative -- 90 0; frames 2; xdotool mousemove_relative -- 90 0; frames 2; shot 7-turned
xdotool windowfocus --sync $w key Escape
)";
    return s.str();
}

// A data tree of links to the build's files, folder by folder, so single files can be swapped.
void linkDataTree(const TempTree& tree)
{
    for (const auto& entry : fs::recursive_directory_iterator(buildDataTree())) {
        if (!entry.is_regular_file()) continue;
        tree.copy(entry.path(), "Skyhog/" + fs::relative(entry.path(), buildDataTree()).string(), true);
    }
}

// Runs the game at the small window size under the driver, with the pig's
// model held behind a pipe until the intro picture has been seen.
void playThrough(ProcessResult& result)
{
    ASSERT_TRUE(fs::is_directory(buildDataTree())) << buildDataTree();
    fs::remove_all(Artefacts);
    fs::create_directories(Artefacts);
    TempTree tree;
    linkDataTree(tree);
    fs::create_directories(tree.root() / "run" / "work");
    const fs::path log = tree.root() / "stdout.txt";

    // The pig's model, which the world reads first, becomes a second name of a pipe.
    const std::string pigFile = "Models/Pig/pig9.obj";
    const fs::path held = tree.root() / "Skyhog" / pigFile;
    const fs::path pipe = tree.root() / "hold.fifo";
    fs::remove(held);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(link(pipe.c_str(), held.c_str()), 0);

    // The intro picture at the window's size, for the driver to know it when it shows.
    const fs::path reference = tree.root() / "intro-reference.png";
    ASSERT_EQ(std::system(("convert " + (buildDataTree() / "Models" / "intro.jpg").string() + " -resize " +
                           std::to_string(Width) + "x" + std::to_string(Height) + "! " + reference.string())
                              .c_str()),
              0);
    const fs::path script =
        tree.write("drive.sh", driverScript(Artefacts, log, reference, held, buildDataTree() / pigFile, pipe));

    ProcessOptions options;
    options.workingDirectory = tree.root() / "run" / "work";
    options.environment = {{"ALSOFT_DRIVERS", "null"}};
    // Only a hang runs into this: every wait of the driver is on the game itself.
    options.timeout = std::chrono::seconds(600);
    options.outputMirror = log;
    options.shellSteps.push_back({std::chrono::milliseconds(0), "sh " + script.string()});
    result = runProcess(Binary, {std::to_string(Width), std::to_string(Height)}, options);
}

// The look during loading that comes closest to the intro picture, kept as
// 1-intro.png; returns its mean difference from it.
double closestToIntro(const Shot& intro)
{
    double bestIntro = 1e9;
    fs::path bestIntroPath;
    for (const auto& entry : fs::directory_iterator(Artefacts)) {
        if (entry.path().filename().string().rfind("loading-", 0) != 0) continue;
        const Shot look = loadShot(entry.path());
        if (look.width != Width || look.height != Height) continue;
        const double d = difference(look, intro, 0, Height);
        if (d < bestIntro) {
            bestIntro = d;
            bestIntroPath = entry.path();
        }
    }
    if (!bestIntroPath.empty())
        fs::copy_file(bestIntroPath, Artefacts / "1-intro.png", fs::copy_options::overwrite_existing);
    return bestIntro;
}

// Keeps the look with the most of the stream below the pig as 5-stream.png.
void keepFullestStreamLook()
{
    const int cx = Width / 2, cy = Height / 2;
    int mostYellow = -1;
    for (int i = 0; i < 6; ++i) {
        const fs::path look = Artefacts / ("stream-" + std::to_string(i) + ".png");
        const Shot shot = loadShot(look);
        if (shot.width != Width || shot.height != Height) continue;
        const int n = count(shot, cx - 30, cy + 10, cx + 30, Height, yellow);
        if (n > mostYellow) {
            mostYellow = n;
            fs::copy_file(look, Artefacts / "5-stream.png", fs::copy_options::overwrite_existing);
        }
    }
}

} // namespace

TEST(ProgramPlayThrough, AStreamFromThePigHitsAPersonAndScoresTen)
{
    ProcessResult result;
    ASSERT_NO_FATAL_FAILURE(playThrough(result));
    ASSERT_TRUE(result.exited) << "signal " << result.signal << (result.timedOut ? " (timed out)" : "");
    EXPECT_EQ(result.exitCode, 0) << result.output.substr(0, 400);
    EXPECT_NE(result.output.find("models loaded"), std::string::npos);
    EXPECT_EQ(occurrences(result.output, "totally hit that person"), 1u)
        << "the pig should have stopped above exactly one person";

    // 1. One of the looks during loading shows the intro picture.
    const Shot intro = loadShot(buildDataTree() / "Models" / "intro.jpg", Width, Height);
    ASSERT_FALSE(intro.empty());
    EXPECT_LT(closestToIntro(intro), 25.0) << "no look during loading resembles the intro picture";

    const Shot scene = loadShot(Artefacts / "2-scene.png");
    const Shot flown = loadShot(Artefacts / "3-flown.png");
    const Shot lookingDown = loadShot(Artefacts / "4-looking-down.png");
    const int cx = Width / 2, cy = Height / 2;
    keepFullestStreamLook();
    const Shot stream = loadShot(Artefacts / "5-stream.png");
    const Shot points = loadShot(Artefacts / "6-points.png");
    const Shot turned = loadShot(Artefacts / "7-turned.png");
    for (const Shot* shot : {&scene, &flown, &lookingDown, &stream, &points, &turned}) {
        ASSERT_EQ(shot->width, Width);
        ASSERT_EQ(shot->height, Height);
    }

    // 2. The scene: the pig in the middle, sky above, not the intro any more.
    EXPECT_GT(count(scene, cx - 30, cy - 40, cx + 30, cy + 10, pink), 150) << "no pig in the middle";
    EXPECT_GT(scene.at(5, 5).b, scene.at(5, 5).r) << "the top is not sky";
    EXPECT_GT(difference(scene, intro, 0, Height), 25.0);

    // 3. W flew the pig (and the view with it): the island below has made way
    // for the sea beyond, while the pig stays in the middle.
    EXPECT_GT(difference(scene, flown, Height / 2, Height), 15.0) << "W did not move the view";
    EXPECT_GT(count(flown, cx - 30, cy - 40, cx + 30, cy + 10, pink), 150);

    // 4. Looking down on the pig; then Space: a yellow stream below it, which was not there before.
    EXPECT_GT(difference(flown, lookingDown, 0, Height / 3), 15.0) << "the mouse did not tilt the view";
    EXPECT_GT(count(lookingDown, cx - 30, cy - 40, cx + 30, cy + 10, pink), 150);
    const int streamBefore = count(lookingDown, cx - 30, cy + 10, cx + 30, Height, yellow);
    const int streamDuring = count(stream, cx - 30, cy + 10, cx + 30, Height, yellow);
    EXPECT_GT(streamDuring, streamBefore + 100) << "no stream below the pig";

    // 5. The score went from "Points: 0" to "Points: 10": the same lettering,
    // one digit longer.
    const int rightBefore = scoreRightEdge(flown);
    const int rightAfter = scoreRightEdge(points);
    ASSERT_GT(rightBefore, 0) << "no score on screen";
    EXPECT_GE(rightAfter - rightBefore, 3) << "the score did not grow by a digit";
    EXPECT_LE(rightAfter - rightBefore, 20);

    // 6. The mouse turned the view: the picture moved, the pig stayed in the middle.
    EXPECT_GT(difference(points, turned, 0, Height / 3), 3.0) << "the mouse did not turn the view";
    EXPECT_GT(count(turned, cx - 30, cy - 40, cx + 30, cy + 10, pink), 150);
}
