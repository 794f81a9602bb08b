// The program as a user gets it: its command line, and `cmake --install` into a fresh prefix,
// started from folders that hold no pictures, their own set, or with --pictures naming a third.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/support/test_pictures.h"
#include "tests/window/showcase_fixture.h"

namespace fs = std::filesystem;

namespace {

using namespace showcase_test;

// Every answer that ends the program before a window: the display is unset, so a program that
// went on would fail to open its window with status 1 instead.
TEST(CommandLine, AnswersWithoutOpeningAWindow) {
    const std::string hint = "Try 'showcase --help' for more information.\n";
    const struct {
        std::vector<std::string> options;
        int status;
        std::string out, err;  // `out` is a prefix; `err` exact
    } cases[] = {
        {{"--help"}, 0, "Usage: showcase [OPTION]...\n", ""},
        {{"--version"}, 0, "showcase " SHOWCASE_VERSION "\n", ""},
        {{"--pictures", "picture", "--version"}, 0, "showcase " SHOWCASE_VERSION "\n", ""},
        {{"--bogus"}, 2, "", "showcase: unrecognized option '--bogus'\n" + hint},
        {{"-z"}, 2, "", "showcase: invalid option -- 'z'\n" + hint},
        {{"--pictures"}, 2, "", "showcase: option '--pictures' requires an argument\n" + hint},
        {{"--pictures", "/nonexistent"}, 2, "",
         "showcase: cannot use picture folder '/nonexistent': No such file or directory\n" + hint},
        {{"--pictures", "README.md"}, 2, "", "showcase: cannot use picture folder 'README.md': Not a directory\n" + hint},
        {{"--pictures", ""}, 2, "", "showcase: cannot use picture folder '': No such file or directory\n" + hint},
        {{"picture"}, 2, "", "showcase: unexpected argument 'picture'\n" + hint},
        {{"--kiosk", "--idle-reset"}, 2, "", "showcase: option '--idle-reset' requires an argument\n" + hint},
        {{"--idle-reset", "1.5"}, 2, "", "showcase: invalid idle time '1.5' (seconds, 0 to 86400)\n" + hint},
        {{"--idle-reset", "86401"}, 2, "", "showcase: invalid idle time '86401' (seconds, 0 to 86400)\n" + hint},
        {{"--monitor", "0", "--kiosk"}, 2, "", "showcase: invalid monitor number '0'\n" + hint},
        {{"--monitor", "+2"}, 2, "", "showcase: invalid monitor number '+2'\n" + hint},
        {{"--watchdog", "--kiosk"}, 2, "",
         "showcase: --watchdog is for Windows; here the user service restarts the show (systemctl --user enable "
         "showcase-kiosk.service)\n" + hint},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        ChildProcess run;
        std::vector<std::string> argv{SHOWCASE_EXECUTABLE};
        argv.insert(argv.end(), c.options.begin(), c.options.end());
        ASSERT_TRUE(run.Start(argv, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, SHOWCASE_SOURCE_DIR));
        EXPECT_EQ(run.ExitCode(15s), c.status);
        EXPECT_EQ(c.status == 0 ? run.Stdout().substr(0, c.out.size()) : run.Stdout(), c.out);
        EXPECT_EQ(run.Stderr(), c.err);
        for (const char* option : {"--pictures=DIR", "--kiosk", "--monitor=N", "--list-monitors",
                                   "--idle-reset=SECONDS", "--allow-screen-saver", "Ctrl+Alt+Shift+Q"})
            EXPECT_TRUE(c.options[0] != "--help" || run.Stdout().find(option) != std::string::npos) << option;
    }
}

// A prefix that `cmake --install` filled, made once for the test program and removed at its end.
const fs::path& InstalledPrefix() {
    static const struct Prefix {
        fs::path path;
        Prefix() {
            char pattern[] = "/tmp/showcase-prefix-XXXXXX";
            if (mkdtemp(pattern) == nullptr) return;
            const std::string command =
                "'" CMAKE_COMMAND "' --install '" SHOWCASE_BINARY_DIR "' --prefix '" + std::string(pattern) + "' >/dev/null";
            if (std::system(command.c_str()) == 0) path = pattern;
        }
        ~Prefix() {
            if (!path.empty()) fs::remove_all(path);
        }
    } prefix;
    return prefix.path;
}

// Where a test runs the program from, and which set it must show.
enum class Folder { Empty, OwnSet, ThirdSet };

struct InstalledCase {
    const char* name;
    Folder cwd;
    bool picturesOption;
};

void PrintTo(const InstalledCase& c, std::ostream* os) { *os << c.name; }

class InstalledShowcase : public ShowcaseWindow, public ::testing::WithParamInterface<InstalledCase> {
protected:
    static constexpr testpics::Rgb kThirdSplash{40, 200, 60};

    void SetUp() override {
        ASSERT_FALSE(InstalledPrefix().empty()) << "cmake --install failed";
        char pattern[] = "/tmp/showcase-cwd-XXXXXX";
        cwd_ = mkdtemp(pattern);
        third_ = cwd_.string() + "-third";
        if (GetParam().picturesOption) {
            fs::create_directories(third_);
            for (const std::string& name : testpics::PictureNames())
                testpics::WriteBmp(third_ / (name + ".bmp"), 16, 16, [&](int, int) {
                    return name == "13" ? kThirdSplash : testpics::FlatColour(name);
                });
        }
        program = {(InstalledPrefix() / "bin/showcase").string()};
        ShowcaseWindow::SetUp();
    }
    void TearDown() override {
        fs::remove_all(cwd_);
        fs::remove_all(third_);
    }
    std::string WorkingDirectory() override {
        return GetParam().cwd == Folder::OwnSet ? pictures.Root().string() : cwd_.string();
    }
    std::vector<std::string> Options() override {
        return GetParam().picturesOption ? std::vector<std::string>{"--pictures", third_.string()}
                                         : std::vector<std::string>{};
    }

    fs::path cwd_, third_;
};

TEST_P(InstalledShowcase, ShowsTheSetItFindsWithoutABox) {
    switch (GetParam().picturesOption ? Folder::ThirdSet : GetParam().cwd) {
        case Folder::Empty:  // nothing else to find: the installed set loaded, else a box would show
            for (const std::string& name : testpics::PictureNames()) {
                std::ifstream installed(InstalledPrefix() / "share/showcase/picture" / (name + ".bmp"), std::ios::binary);
                std::ifstream source(fs::path(SHOWCASE_SOURCE_DIR) / "picture" / (name + ".bmp"), std::ios::binary);
                EXPECT_TRUE(installed && std::equal(std::istreambuf_iterator<char>(installed), {},
                                                    std::istreambuf_iterator<char>(source), {}))
                    << name;
            }
            break;
        case Folder::OwnSet:
            EXPECT_TRUE(Resembles(Corner(), testpics::FlatColour("13")));
            break;
        case Folder::ThirdSet:
            EXPECT_TRUE(Resembles(Corner(), kThirdSplash));
            break;
    }
    for (const char* caption : {"Error", "ERROR"}) EXPECT_EQ(x.WaitForWindow(caption, 0ms), 0u) << caption;
    PressKey("Escape");
    EXPECT_EQ(ExitStatus(), kEscapeStatus);
    EXPECT_EQ(app.Output(), "") << "the program reported a problem";
}

INSTANTIATE_TEST_SUITE_P(Folders, InstalledShowcase,
                         ::testing::Values(InstalledCase{"FromAnUnrelatedFolder", Folder::Empty, false},
                                           InstalledCase{"FromAFolderWithItsOwnSet", Folder::OwnSet, false},
                                           InstalledCase{"WithPicturesOption", Folder::OwnSet, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
