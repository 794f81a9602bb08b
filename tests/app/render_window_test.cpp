// Opening and closing the render window: every failure with its box, shown after the release,
// and the release order with its boxes when a step of the closing fails.
#include "measure/process_figures.h"
#include "tests/app/viewer_fixture.h"

namespace {

using platform::Call;

struct OpeningFailure {
    Call call;
    const char* text;
    bool releasesFirst;  // the closing routine runs before the box
};

class OpeningFails : public ViewerRun, public ::testing::WithParamInterface<OpeningFailure> {};

TEST_P(OpeningFails, ShowsItsBoxAfterTheReleaseAndExitsNonZero) {
    const OpeningFailure& failure = GetParam();
    headless::FailCall(failure.call);
    EXPECT_NE(Run(), 0);
    EXPECT_EQ(headless::FrameCount(), 0);
    ASSERT_EQ(headless::Boxes().size(), 1u);
    const headless::Box& box = headless::Boxes()[0];
    EXPECT_EQ(box.text, failure.text);
    EXPECT_EQ(box.caption, "ERROR");
    EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(box.owner, nullptr);
    int boxAt = IndexOf("MessageBoxA");
    int unregisterAt = IndexOf("UnregisterClassA");
    if (failure.releasesFirst) {
        ASSERT_GE(unregisterAt, 0);
        EXPECT_LT(unregisterAt, boxAt) << "everything is released before the box";
    } else {
        EXPECT_EQ(unregisterAt, -1) << "nothing was acquired";
    }
    EXPECT_EQ(headless::TopLevelCount(), 0);
    EXPECT_EQ(headless::LiveContexts(), 0);
    EXPECT_FALSE(headless::ContextCurrent());
    EXPECT_EQ(windowHandle, nullptr);
    EXPECT_EQ(deviceContext, nullptr);
    EXPECT_EQ(renderContext, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, OpeningFails,
    ::testing::Values(OpeningFailure{Call::RegisterClass, "Failed To Register The Window Class.", false},
                      OpeningFailure{Call::CreateWindow, "Window Creation Error.", true},
                      OpeningFailure{Call::GetDC, "Can't Create A GL Device Context.", true},
                      OpeningFailure{Call::ChoosePixelFormat, "Can't Find A Suitable PixelFormat.", true},
                      OpeningFailure{Call::SetPixelFormat, "Can't Set The PixelFormat.", true},
                      OpeningFailure{Call::CreateContext, "Can't Create A GL Rendering Context.", true},
                      OpeningFailure{Call::MakeCurrent, "Can't Activate The GL Rendering Context.", true}),
    [](const auto& info) { return std::string(platform::CallName(info.param.call)).substr(0, 12) + std::to_string(info.index); });

TEST_F(ViewerRun, FailedReopeningAfterF1EndsWithoutAnotherClose) {
    atFrame[2] = [] {
        headless::FailCall(Call::CreateContext);
        headless::KeyDown(VK_F1);
    };
    headless::AnswerNextBox(IDYES);
    EXPECT_NE(Run(), 0);
    EXPECT_EQ(Count(Call::UnregisterClass), 2) << "one close for F1, one inside the failed opening";
    EXPECT_EQ(headless::Boxes().back().text, "Can't Create A GL Rendering Context.");
}

struct ShutdownFailure {
    Call call;
    std::vector<std::string> boxes;
};

class ClosingStepFails : public ViewerRun, public ::testing::WithParamInterface<ShutdownFailure> {};

TEST_P(ClosingStepFails, ShowsItsBoxAndRunsTheLaterSteps) {
    const ShutdownFailure& failure = GetParam();
    atFrame[1] = [&] {
        headless::FailCall(failure.call);
        headless::KeyDown(VK_ESCAPE);
    };
    EXPECT_EQ(Run(), static_cast<int>(VK_ESCAPE));
    std::vector<std::string> texts;
    for (const headless::Box& box : headless::Boxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, "SHUTDOWN ERROR");
        EXPECT_EQ(box.type, MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_EQ(texts, failure.boxes);
    EXPECT_EQ(Count(Call::UnregisterClass), 1) << "the last step always runs";
    EXPECT_EQ(renderContext, nullptr);
    EXPECT_EQ(deviceContext, nullptr);
    EXPECT_EQ(windowHandle, nullptr);
    EXPECT_EQ(instanceHandle == nullptr, texts.back() == "Could Not Unregister Class.")
        << "a failed unregistering forgets the instance handle";
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, ClosingStepFails,
    ::testing::Values(
        ShutdownFailure{Call::ReleaseCurrent, {"Release Of DC And RC Failed."}},
        ShutdownFailure{Call::DeleteContext, {"Release Rendering Context Failed."}},
        ShutdownFailure{Call::ReleaseDC, {"Release Device Context Failed."}},
        // A window that is still there keeps its class registered as well.
        ShutdownFailure{Call::DestroyWindow, {"Could Not Release hWnd.", "Could Not Unregister Class."}},
        ShutdownFailure{Call::UnregisterClass, {"Could Not Unregister Class."}}),
    [](const auto& info) { return "Step" + std::to_string(info.index); });

}  // namespace

// AddressSanitizer's allocator maps more memory as its quarantine of freed blocks fills, so
// there the mappings are not the program's; LeakSanitizer watches memory instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMappingsAreTheProgramsOwn = false;
#elif defined(__has_feature)
constexpr bool kMappingsAreTheProgramsOwn = !__has_feature(address_sanitizer);
#else
constexpr bool kMappingsAreTheProgramsOwn = true;
#endif

// F1 pressed 1,000 times in one run: each reopening leaves the process holding what the first
// one did (one context and drawable, the same GL texture names, descriptors and mappings).
TEST_F(ViewerRun, ThousandReopeningsHoldNoMoreThanTheFirst) {
    constexpr int kReopenings = 1000;
    headless::AddMode(640, 480, 16);
    auto held = [] {
        int textures = 0;
        for (GLuint name = 1; name <= 256; ++name) textures += glIsTexture(name) == GL_TRUE;
        return std::vector<int>{textures, headless::LiveContexts(), headless::LiveSurfaces(),
                                process_figures::OpenDescriptors(),
                                kMappingsAreTheProgramsOwn ? process_figures::Mappings() : 0};
    };
    std::vector<int> first;
    int reopened = 0, differing = 0;
    std::string firstDifference;
    // F1 at frame n is seen by the pass that draws frame n + 1; frame n + 2 is the new window's.
    for (int n = 2; n <= 2 * kReopenings + 2; n += 2) {
        atFrame[n] = [&, n] {
            if (n > 2) {
                const std::vector<int> now = held();
                if (reopened++ == 0) first = now;
                if (now != first && differing++ == 0)
                    firstDifference = "reopening " + std::to_string(reopened) + ": textures, contexts, surfaces, " +
                                      "descriptors, mappings " + ::testing::PrintToString(now) + " after " +
                                      ::testing::PrintToString(first);
            }
            if (n == 2 * kReopenings + 2) return headless::CloseRequest();
            headless::KeyUp(VK_F1);
            headless::KeyDown(VK_F1);
        };
    }
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(reopened, kReopenings);
    EXPECT_EQ(differing, 0) << firstDifference;
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0], 19) << "textures";
    EXPECT_EQ(first[1], 1) << "contexts";
    EXPECT_EQ(Count(Call::CreateWindow), kReopenings + 1);
}
