// A window with one control of each kind, for the end-to-end test of the controls: a button, a check
// box with a label and an edit field. Every event that reaches the window (OnCommand) and the edit
// field's text after every typed character are written, one per line, to the file named by the first
// argument, so the test can follow what the controls did.
#include <cstdio>
#include <new>
#include <string>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/OClip.h"
#include "platform/SdlPlatform.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"
#include "ui/OEdit.h"
#include "ui/OText.h"

namespace {
class DemoWindow final : public OWindow {
  public:
    explicit DemoWindow(FILE* log) : log_(log) {}

    bool Start() override {
        button_ = new OButton("Go", "", 0, 1, 2, true);
        button_->SetPosition(30, 30, 0);
        checkbox_ = new OCheckbox("", "", true);
        checkbox_->SetPosition(30, 90, 0);
        edit_ = new OEdit("", "", 0, 1, 2, true);
        edit_->SetPosition(30, 160, 0);
        auto* label = new OText("Sound");
        label->SetPosition(80, 94, 0);
        for (OControl* c : {static_cast<OControl*>(button_), static_cast<OControl*>(checkbox_),
                            static_cast<OControl*>(edit_)}) {
            c->SetSounds("WAV\\over.wav", "WAV\\over.wav");
            AddGraph(c);
        }
        AddGraph(label);
        Log("ready");
        return OWindow::Start();
    }

    void OnCommand(int source, int event) override { Log(NameOf(source) + " " + std::to_string(event)); }

    void OnChar(uint8_t character) override {
        OWindow::OnChar(character);
        Log("text " + edit_->GetText() + EditState());
    }

    void OnPress(int code, int x, int y) override {
        OWindow::OnPress(code, x, y);
        if (code != 1 && code != 2 && code != 4) Log("key " + std::to_string(code) + EditState());
    }

  private:
    // Where the edit field's text and caret stand; the caret in window coordinates.
    std::string EditState() const {
        return " first " + std::to_string(edit_->Caption()->FirstVisible()) + " cursor " +
               std::to_string(edit_->Cursor()) + " caret " +
               std::to_string(static_cast<int>(edit_->Caret()->X()));
    }
    std::string NameOf(int source) const {
        if (source == button_->CommandId()) return "button";
        if (source == checkbox_->CommandId()) return "checkbox";
        if (source == edit_->CommandId()) return "edit";
        return "other";
    }
    void Log(const std::string& line) {
        std::fprintf(log_, "%s\n", line.c_str());
        std::fflush(log_);
    }

    FILE* log_;
    OButton* button_ = nullptr;
    OCheckbox* checkbox_ = nullptr;
    OEdit* edit_ = nullptr;
};
}  // namespace

int main(int argc, char** argv) {
    FILE* log = argc > 1 ? std::fopen(argv[1], "w") : stdout;
    if (!log) return 1;
    platform::SdlPlatform os;
    if (!os.Ready()) return 2;
    engine::SetPlatform(&os);

    WindowDefaults& defaults = WindowDefaults::Current();
    defaults.background = 0xD0A743;
    defaults.style = 3;
    defaults.width = 400;
    defaults.height = 260;

    auto* window = new (std::nothrow) DemoWindow(log);
    if (!window) return 1;
    if (window->CreationFailed()) {
        window->RequestStop();
        return 2;
    }
    window->SetQuitOnTeardown(true);
    if (!window->Start()) return 1;
    return os.RunEventLoop();
}
