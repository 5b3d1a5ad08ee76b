#include <gtest/gtest.h>

#include <QPointer>

#include "platform/controls/Button.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/runtime/VirtualRuntime.h"
#include "platform/window/Forms.h"
#include "support/ScriptedDialogs.h"

namespace {

// A window with a button that runs a long loop yielding to the event loop, as the
// batch runs and transfers do.
class LoopWindow final : public Window {
  public:
    LoopWindow(Forms& forms, QStringList& log, bool refuseClose = false)
        : Window(forms, "fLoop"),
          Command1(new Button(this, "Command1", "开始")),
          log_(log),
          refuseClose_(refuseClose) {
        Command1->onClick = guard([this] { run(); });
    }
    ~LoopWindow() override { log_ << "destroyed"; }

    Button* Command1;
    bool stop = false;
    int steps = 0;

  protected:
    void Form_Load() override { log_ << "load"; }
    void Form_QueryUnload(bool& cancel) override {
        log_ << "query";
        cancel = refuseClose_;
    }
    void Form_Unload() override {
        log_ << "unload";
        stop = true;
    }

  private:
    void run() {
        while (!stop && !runtime().quitRequested()) {
            runtime().waitStep();
            ++steps;  // touches the model after every wait
        }
        log_ << "loop ended";
    }
    QStringList& log_;
    bool refuseClose_;
};

struct WindowLifecycle : testing::Test {
    QStringList log;  // outlives the windows, which write to it when destroyed
    VirtualRuntime rt;
    ScriptedDialogs dialogs;
    Forms forms{rt, dialogs};
    void registerLoop(bool refuse = false) {
        forms.registerWindow("fLoop", [this, refuse](Forms& f) {
            return std::make_unique<LoopWindow>(f, log, refuse);
        });
    }
};

}  // namespace

TEST_F(WindowLifecycle, LoadsOnceAndIsFoundByNameInAnyCase) {
    registerLoop();
    Window* window = forms.load("fLoop");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(forms.load("FLOOP"), window);
    EXPECT_TRUE(forms.IsFormLoaded("floop"));
    EXPECT_FALSE(forms.IsFormLoaded("fOther"));
    EXPECT_EQ(forms.load("fOther"), nullptr);
    EXPECT_EQ(log, QStringList({"load"}));
}

TEST_F(WindowLifecycle, ARefusedCloseKeepsTheWindow) {
    registerLoop(true);
    Window* window = forms.load("fLoop");
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(forms.IsFormLoaded("fLoop"));
    EXPECT_TRUE(window->visible());
    EXPECT_EQ(log, QStringList({"load", "query"}));
}

TEST_F(WindowLifecycle, ClosingInsideTheWindowsOwnLoopDestroysItOnlyAfterTheLoopReturns) {
    registerLoop();
    auto* window = forms.load<LoopWindow>("fLoop");
    QPointer<Window> alive(window);
    window->show();
    rt.callAfter(2'000, [window] { window->close(); });
    window->Command1->click();  // runs until the close stops it
    EXPECT_EQ(log, QStringList({"load", "query", "unload", "loop ended"}));
    EXPECT_FALSE(forms.IsFormLoaded("fLoop"));
    ASSERT_TRUE(alive) << "destroyed while its own loop still ran";
    rt.yield();
    EXPECT_FALSE(alive);
    EXPECT_EQ(log.last(), "destroyed");
    // A new load makes a fresh window.
    EXPECT_NE(forms.load("fLoop"), nullptr);
}

TEST_F(WindowLifecycle, AClosedWindowWithoutRunningCodeGoesAtTheNextTurn) {
    registerLoop();
    QPointer<Window> window(forms.load("fLoop"));
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window) << "never inside the call that closed it";
    rt.yield();
    EXPECT_FALSE(window);
}

TEST_F(WindowLifecycle, EndingTheProgramStopsLoopsWithoutUnloadHandling) {
    registerLoop();
    auto* window = forms.load<LoopWindow>("fLoop");
    window->show();
    rt.callAfter(120, [this] { forms.endProgram(); });
    window->Command1->click();
    EXPECT_TRUE(rt.quitRequested());
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(log, QStringList({"load", "loop ended"}));
    EXPECT_TRUE(forms.IsFormLoaded("fLoop")) << "the windows go with the collection, unloaded";
}

TEST_F(WindowLifecycle, ResizeActivateAndGeometryInTwips) {
    registerLoop();
    Window* window = forms.load("fLoop");
    window->resizedByView(QRect(150, 300, 9000, 6000), QSize(8800, 5400));
    EXPECT_EQ(window->geometry(), QRect(150, 300, 9000, 6000));
    EXPECT_EQ(window->clientSize(), QSize(8800, 5400));
}
