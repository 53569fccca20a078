#include <gtest/gtest.h>

#include <thread>

#include "platform/HeadlessPlatform.h"

namespace {

using platform::EventResult;
using platform::NativeEvent;
using platform::NativeEventType;

struct Recorder {
    std::vector<NativeEventType> seen;
    EventResult answer = EventResult::Default;
};

platform::NativeWindowSpec Spec() {
    platform::NativeWindowSpec options;
    options.width = 100;
    options.height = 50;
    return options;
}

TEST(HeadlessPlatform, PostedEventsWaitForThePumpAndSkipDestroyedWindows) {
    platform::HeadlessPlatform os;
    Recorder rec;
    os.SetEventHandler([&](platform::NativeWindow&, const NativeEvent& e) {
        rec.seen.push_back(e.type);
        return rec.answer;
    });
    platform::NativeWindow* a = os.CreateNativeWindow(Spec());
    platform::NativeWindow* b = os.CreateNativeWindow(Spec());
    a->SetUserData(&rec);
    b->SetUserData(&rec);
    os.Post(a, {NativeEventType::MouseMove, 0, 1, 2});
    os.Post(b, {NativeEventType::KeyDown, 37, 0, 0});
    EXPECT_TRUE(rec.seen.empty());
    os.DestroyNativeWindow(b);
    EXPECT_EQ(os.Pump(), 2);
    EXPECT_EQ(rec.seen,
              (std::vector<NativeEventType>{NativeEventType::Destroyed, NativeEventType::MouseMove}));
}

TEST(HeadlessPlatform, CloseIsCarriedOutUnlessTheHandlerRefusesIt) {
    platform::HeadlessPlatform os;
    Recorder rec;
    os.SetEventHandler([&](platform::NativeWindow&, const NativeEvent& e) {
        rec.seen.push_back(e.type);
        return rec.answer;
    });
    platform::NativeWindow* w = os.CreateNativeWindow(Spec());
    w->SetUserData(&rec);
    rec.answer = EventResult::Handled;
    os.Dispatch(w, {NativeEventType::Close, 0, 0, 0});
    EXPECT_TRUE(os.Exists(w));
    rec.answer = EventResult::Default;
    os.Dispatch(w, {NativeEventType::Close, 0, 0, 0});
    EXPECT_FALSE(os.Exists(w));
}

TEST(HeadlessPlatform, WindowWithoutUserDataIsClosedWithoutAskingTheHandler) {
    platform::HeadlessPlatform os;
    int asked = 0;
    os.SetEventHandler([&](platform::NativeWindow&, const NativeEvent&) {
        ++asked;
        return EventResult::Handled;
    });
    platform::NativeWindow* w = os.CreateNativeWindow(Spec());
    os.Post(w, {NativeEventType::Close, 0, 0, 0});
    os.Pump();
    EXPECT_FALSE(os.Exists(w));
    EXPECT_EQ(asked, 1);  // only the Destroyed notice
}

TEST(HeadlessPlatform, EventLoopRunsPostsFromOtherThreadsUntilQuit) {
    platform::HeadlessPlatform os;
    int moves = 0;
    os.SetEventHandler([&](platform::NativeWindow&, const NativeEvent& e) {
        if (e.type == NativeEventType::MouseMove) ++moves;
        return EventResult::Handled;
    });
    platform::NativeWindow* w = os.CreateNativeWindow(Spec());
    w->SetUserData(&moves);
    std::thread poster([&] {
        for (int i = 0; i < 50; ++i) os.Post(w, {NativeEventType::MouseMove, 0, i, i});
        os.PostQuit(3);
    });
    EXPECT_EQ(os.RunEventLoop(), 3);
    poster.join();
    EXPECT_EQ(moves, 50);
}

TEST(HeadlessPlatform, FailingCreationGivesNoWindow) {
    platform::HeadlessPlatform os;
    os.FailWindowCreation(true);
    EXPECT_EQ(os.CreateNativeWindow(Spec()), nullptr);
}

}  // namespace
