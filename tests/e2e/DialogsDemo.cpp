// One of the game's dialogs over a plain pond-coloured window, for the end-to-end test of the
// dialogs the game cannot be made to show at will (the level-completed window): `dialogs_demo level`.
// The level's figures are those of a game at level 3 with a score of 1000, 120 points in the level and
// two frogs lost. The program ends when the dialog has closed.
#include <cstring>
#include <memory>
#include <new>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "game/GameSettings.h"
#include "game/GameState.h"
#include "platform/SdlPlatform.h"
#include "ui/DialogSize.h"
#include "windows/ONewLevel.h"

namespace {
// The plain window under the dialog; it closes itself once the dialog has let it go.
class Backdrop final : public OWindow {
  public:
    void Step(uint32_t t) override {
        if (dialogShown_ && !IsModalPaused()) Close();
        OWindow::Step(t);
    }
    void DialogShown() { dialogShown_ = true; }

  private:
    bool dialogShown_ = false;
};
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "level") != 0) return 2;
    platform::SdlPlatform os;
    if (!os.Ready()) return 2;
    engine::SetPlatform(&os);
    WindowDefaults& defaults = WindowDefaults::Current();
    defaults.background = 0xD0A743;
    defaults.style = 3;
    defaults.width = 750;
    defaults.height = 550;

    auto* backdrop = new (std::nothrow) Backdrop();
    if (!backdrop || backdrop->CreationFailed()) return 2;
    backdrop->SetCaption("Backdrop");
    backdrop->SetQuitOnTeardown(true);

    GameState& game = TheGameState();
    TheGameSettings().levelNumber = 3;
    game.score = 1000;
    for (int i = 0; i < 8; ++i) {
        game.frogs.push_back(std::make_unique<OFrog>());
        game.frogs.back()->state = i < 2 ? OFrog::kDead : OFrog::kResting;
    }
    backdrop->Lock();
    ONewLevel* dialog = nullptr;
    {
        DialogSize size(300, 320);
        dialog = new ONewLevel(backdrop);
    }
    dialog->levelPoints = 120;
    dialog->bonusFrog = true;
    const bool shown = StartDialog(dialog);
    if (shown) backdrop->DialogShown();
    backdrop->Unlock();
    if (!shown || !backdrop->Start()) return 1;
    return engine::RunMessageLoop();
}
