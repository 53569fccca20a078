#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "graphics/Compositor.h"
#include "graphics/GraphHost.h"
#include "graphics/OGraph.h"
#include "graphics/ORect.h"
#include "graphics/OffscreenPicture.h"
#include "platform/NativeEvent.h"

class OGraph;
namespace graphics {
struct EffectsImage;
struct FontRecord;
}  // namespace graphics
namespace platform {
class NativeWindow;
}

// The engine's window: one native window, one off-screen picture of the screen's size, one game
// thread that steps the scene at the frame rate and composes it, one re-entrant lock, and the
// scene's two lists (graphics and controls). The game window and every dialog derive from it.
//
// Threads: construct on the main thread (it creates the native window). The game thread runs
// frame steps and, at the end, Teardown, which deletes the object: never delete a window yourself.
// The lock is held for a whole frame step with its composition and for every event the main thread
// hands over; the scene operations take it themselves, so either thread may call them.
class OWindow : public GraphHost {
  public:
    explicit OWindow(OWindow* parent = nullptr);
    OWindow(const OWindow&) = delete;
    OWindow& operator=(const OWindow&) = delete;

    // Virtual operations, in slot order.
    virtual bool Start();
    virtual bool Stop();
    virtual void QueryClose(bool& allow);
    virtual void Step(uint32_t timeMs);
    virtual void OnCaptureLost();
    virtual void OnMouseMove(int x, int y);
    virtual void OnPress(int code, int x, int y);
    virtual void OnRelease(int code, int x, int y);
    virtual void OnChar(uint8_t character);
    void OnGraphChanged(OGraph* owner, OGraph* drawable, bool& handled, uint8_t kind,
                        const ORect* rect) override;
    virtual void OnCommand(int source, int event);

    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    // Forgets capture and focus (without telling them), marks the window stopping and asks the game
    // thread to end its loop. Any thread.
    void RequestStop();
    // A dialog over this window disables it and pauses its frame steps; on/off calls are counted, so
    // the window stays disabled until every dialog over it has let go. Enabled again, it is activated
    // and handles a posted mouse move that arrived meanwhile. Any thread.
    void SetModal(bool on);
    // The native side of these is carried out by the main thread; from a game thread they are posted
    // to it (the caption is kept at once).
    void SetCaption(const std::string& text);
    void MoveTo(float x, float y);
    void SetDragRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void ShowRestored(bool restored);
    // Asks for the window to close, as the window manager's close does. Any thread.
    void Close();
    // Asks the main thread for a mouse-move at the cursor position. Any thread.
    void PostMouseMove();
    // The control a press at a point of the window would reach; null where there is none.
    OGraph* ControlAt(int x, int y);
    void GetCursorClientPos(int& x, int& y) const;

    // Scene: the drawables this window holds, their capture and focus; see OGraph.
    void AddGraph(OGraph* graph) override;
    void RemoveGraph(OGraph* graph) override;
    void CaptureGraph(OGraph* graph);
    void FocusGraph(OGraph* graph);
    void FocusNext();
    // Shift+Tab's walk: the focusable control before the focused one, the last when none has the
    // focus, none past the first.
    void FocusPrevious();
    // Tab's step: backwards while Shift is held down in this window, forwards otherwise.
    void FocusStep();
    void Compose();
    // Shows what the compositions so far drew at once, rather than when the main thread's event loop
    // next runs. Main thread only (elsewhere it does nothing): for a picture composed in a Start that
    // keeps the main thread busy afterwards, as the game's loading picture is.
    void PresentNow();
    void AddDirtyRect(const ORect& rect);
    void FillBackground(const ORect& rect);
    // Draws `graph`'s pixels (source rectangle) at the destination rectangle, clipped to both.
    void DrawBitmap(OGraph* graph, int x, int y, int w, int h, int sx, int sy, int sw, int sh) override;

    // Text in the font of `font`, measured as the picture would show it; 0 when no face can be used.
    int TextWidth(std::string_view text, const graphics::FontRecord& font);
    int TextHeight(std::string_view text, const graphics::FontRecord& font);
    // Draws `text` into the picture with the top-left of its cell at (x, y), clipped to `clip`: the
    // characters before and after the selection [min(a, b), max(a, b)) in the font colour over what
    // the picture holds, the selection in the inverse colour on a box of the font colour. Call it from
    // a drawable's Draw, which runs inside Compose with the area cleared and the window locked.
    void DrawText(std::string_view text, const graphics::FontRecord& font, int x, int y, const ORect& clip,
                  int selectionA, int selectionB);

    // One pass of the game thread's loop without the sleep: lock, step unless paused, clamp the rate,
    // unlock. Returns the delay before the next pass. Tests call it to step a window frame by frame.
    int RunFrame();
    // Runs on the game thread when its loop ends (tests without a thread call it themselves, not
    // from inside an event). Deletes the window.
    void Teardown();
    // The main thread's handling of one native event, under the lock.
    platform::EventResult HandleNativeEvent(const platform::NativeEvent& event);

    // True while the window is in the list of windows. Any thread.
    static bool Exists(const OWindow* window);

    bool IsStopping() const { return (stateFlags_.load() & kStopping) != 0; }
    bool HostStopping() const override { return IsStopping(); }
    bool IsSuspended() const { return suspended_.load(); }
    bool IsModalPaused() const { return modalPaused_.load(); }
    bool CreationFailed() const { return creationFailed_ != 0; }
    bool HasInputFocus() const { return hasInputFocus_.load(); }
    void SetQuitOnTeardown(bool on) { quitOnTeardown_ = on; }
    void SetStopOnDestroy(bool on) { stopOnDestroy_ = on; }
    int FrameRate() const { return frameRate_.load(); }
    void SetFrameRate(int rate) { frameRate_.store(rate); }
    OWindow* ParentWindow() const { return parent_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    float ClientWidth() const { return clientWidth_; }
    float ClientHeight() const { return clientHeight_; }
    const ORect& DragRect() const { return dragRect_; }
    const std::string& Caption() const { return caption_; }
    OGraph* Capture() const { return capture_; }
    OGraph* Focus() const { return focus_; }
    const std::vector<OGraph*>& Graphics() const { return graphics_; }
    const std::vector<OGraph*>& Controls() const { return controls_; }
    // The picture the window composes; at a detail above 1 it has that many pixels each way for each
    // logical pixel of the window.
    const OffscreenPicture* GetPicture() const { return picture_.get(); }
    // Pixels of the picture per logical pixel, each way: the art's detail when the window was made.
    int32_t Detail() const { return detail_; }
    platform::NativeWindow* Native() const { return native_; }
    // The image-effects header of the picture; null unless the optional library is present.
    graphics::EffectsImage* EffectsHeader() const { return effectsHeader_; }
    Compositor& Scene() { return compositor_; }
    // The rectangles the last drawing Compose drew and presented.
    const std::vector<ORect>& LastDrawn() const { return lastDrawn_; }
    bool HasGameThread() const { return threadRunning_.load(); }

  protected:
    virtual ~OWindow();

  private:
    static constexpr int kStopping = 2;

    void CreateNativeWindow();
    void Place(OWindow* parent);
    // Gives the parent back its input and frame steps, once, if this dialog took them. Takes the
    // parent's lock: never call it with this window's lock held.
    void ReleaseParent();
    // The parent this dialog holds disabled, now handed to the caller to let go of (once); none when
    // it holds none.
    OWindow* TakeParentHold();
    static void LetGoOf(OWindow* parent);
    // Makes the native mouse capture follow the capture object (main thread, or posted to it).
    void SyncNativeCapture();
    // True on the thread that owns the native windows.
    static bool OnMainThread();
    void ThreadMain();
    void PresentPending();
    // A rectangle of DrawBitmap's, in the pixels of the picture it names.
    struct BlendSpan {
        int64_t x, y, w, h;
    };
    void BlendPixels(const PixelSource& px, uint32_t key, uint32_t t, const BlendSpan& to, const BlendSpan& from,
                     int32_t enlarge);
    void BlendEnlarged(const PixelSource& px, uint32_t key, uint32_t t, const uint8_t* src, ptrdiff_t srcStep,
                       int32_t srcX, int32_t cols, int32_t rows, int32_t dx, int32_t dy, int32_t enlarge);
    bool DragAllowedAt(int x, int y);
    // Where a move goes: the capture's holder, then, if it let go, the controls under the pointer.
    void RouteMouseMove(int x, int y);
    // The native window is going: forgets it and returns the parent to let go of, which the caller
    // does once this window's lock is released.
    OWindow* HandleDestroyed();
    std::optional<platform::EventResult> HandleWindowEvent(const platform::NativeEvent& event);
    // Keys, characters, moves and buttons, to the controls and the window's own handlers.
    platform::EventResult DeliverInput(const platform::NativeEvent& event);
    static void RenumberFrom(std::vector<OGraph*>& list, size_t from);

    std::string caption_;
    ORect dragRect_;
    Compositor compositor_;  // dirty rectangles, pending change list, scene set
    bool stopOnDestroy_ = true;
    int placement_;
    OWindow* parent_;
    int style_;
    std::atomic<int> stateFlags_{0};
    mutable std::recursive_mutex mutex_;
    std::thread thread_;
    std::atomic<bool> stopEvent_{false};
    std::mutex sleepMutex_;
    std::condition_variable sleepWake_;
    std::atomic<bool> threadRunning_{false};  // the game thread id is not 0
    std::vector<OGraph*> graphics_;
    std::vector<OGraph*> controls_;
    OGraph* focus_ = nullptr;
    // Shift is down: the window hears Shift's own press and release, as any key's.
    bool shiftHeld_ = false;
    OGraph* capture_ = nullptr;
    std::atomic<bool> modalPaused_{false};
    int modalCount_ = 0;                    // dialogs holding this window disabled; under the lock
    bool postedMoveKept_ = false;           // a posted mouse move arrived while disabled; under the lock
    std::atomic<bool> holdsParent_{false};  // this dialog disabled its parent and has not let go
    int creationFailed_ = 1;
    bool quitOnTeardown_ = false;
    std::unique_ptr<OffscreenPicture> picture_;
    int32_t detail_ = 1;
    std::vector<uint8_t> enlargedRow_;  // a logical picture's row widened to the detail, while drawn
    graphics::EffectsImage* effectsHeader_ = nullptr;  // over picture_'s pixels, released before it
    uint32_t background_;
    platform::NativeWindow* native_ = nullptr;
    int width_;
    int height_;
    float clientWidth_ = 0;
    float clientHeight_ = 0;
    std::atomic<int> frameRate_{50};
    std::atomic<bool> suspended_{true};

    std::atomic<bool> hasInputFocus_{true};
    std::vector<ORect> presentPending_;  // composed, not yet shown by the main thread
    std::vector<ORect> lastDrawn_;
};

// The window that holds `graph`, for the layers that know windows; null when none holds it or the
// one it last knew has gone (looked up before the cast, which must not touch a window that has gone).
// Every host of drawables is a window.
inline OWindow* WindowOf(const OGraph* graph) {
    GraphHost* host = graph ? graph->Window() : nullptr;
    return GraphHost::Exists(host) ? static_cast<OWindow*>(host) : nullptr;
}
