#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/HeadlessNativeWindow.h"
#include "platform/Platform.h"

namespace platform {

class SdlGamepads;
class SdlTestPad;

// The platform without a display. The thread that calls Dispatch, Pump or RunEventLoop plays the
// main thread. Posted events wait in a queue until Pump (step by step) or RunEventLoop (a real
// loop, for tests that run game threads) delivers them, exactly as the SDL event loop would.
class HeadlessPlatform final : public Platform {
  public:
    explicit HeadlessPlatform(int32_t screenWidth = 1024, int32_t screenHeight = 768);
    ~HeadlessPlatform() override;

    void SetEventHandler(EventHandler handler) override;
    NativeWindow* CreateNativeWindow(const NativeWindowSpec& options) override;
    void DestroyNativeWindow(NativeWindow* window) override;
    void Post(NativeWindow* window, const NativeEvent& event) override;
    void PostActivate(NativeWindow* window) override;
    void PostQuit(int exitCode) override;
    int RunEventLoop() override;
    void ScreenSize(int32_t& width, int32_t& height) const override;
    Clock& GetClock() override { return *clock_; }
    bool OpenWithShell(const std::string& target) override;
    void ShowMessage(const std::string& text) override;

    // Delivers one event now, as the main thread's loop would, with the default handling.
    EventResult Dispatch(NativeWindow* window, const NativeEvent& event);
    // Delivers every queued event (also those queued meanwhile); returns how many.
    int Pump();
    // Tests choose the clock: the built-in ManualClock by default, or any other (not owned).
    ManualClock& Manual() { return manual_; }
    void UseClock(Clock* clock) { clock_ = clock ? clock : &manual_; }
    // Makes window creation fail, for the error paths.
    void FailWindowCreation(bool fail) { failCreation_ = fail; }
    // Makes OpenWithShell report that no opener could be started (the request is still recorded).
    void FailShellRequests(bool fail) {
        std::lock_guard lock(mutex_);
        failShell_ = fail;
    }

    // Gamepads as the real program reads them (SDL's game-controller part, its device and button
    // events, the same mapping to keys), fed by SDL's virtual pads: PlugPad plugs one in and gives its
    // number (-1 when SDL cannot), PressPad gives it a line as the end-to-end tests' pad file has them
    // ("dpleft 1", "leftx -32768"), UnplugPad pulls it out. What the pads stand for reaches the newest
    // window at the next Pump, as the real loop gives it to the window in front.
    int PlugPad();
    void PressPad(int pad, const std::string& line);
    void UnplugPad(int pad);

    bool Exists(const NativeWindow* window) const;
    size_t WindowCount() const;
    HeadlessNativeWindow* LastWindow() const;
    // Every native window that exists, oldest first.
    std::vector<HeadlessNativeWindow*> Windows() const;
    std::vector<std::string> ShellRequests() const;
    std::vector<std::string> Messages() const;
    const NativeWindow* ActiveWindow() const { return active_; }

  private:
    struct Posted {
        NativeWindow* window = nullptr;
        NativeEvent event;
        bool activate = false;
    };
    bool TakeOne(Posted& out);
    void Deliver(const Posted& posted);
    void DeliverPadKeys();

    int32_t screenWidth_;
    int32_t screenHeight_;
    ManualClock manual_;
    Clock* clock_ = &manual_;
    EventHandler handler_;
    bool failCreation_ = false;
    const NativeWindow* active_ = nullptr;
    // Main thread only, like the pump that reads them; the pads go before SDL's part closes.
    std::unique_ptr<SdlGamepads> gamepads_;
    std::vector<std::unique_ptr<SdlTestPad>> pads_;

    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable wake_;
    std::vector<std::unique_ptr<HeadlessNativeWindow>> windows_;
    std::deque<Posted> queue_;
    bool quit_ = false;
    int exitCode_ = 0;
    std::vector<std::string> shellRequests_;
    bool failShell_ = false;
    std::vector<std::string> messages_;
};

}  // namespace platform
