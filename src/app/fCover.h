#pragma once

#include "app/WindowNames.h"
#include "platform/controls/Button.h"
#include "platform/controls/Label.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/Timer.h"
#include "platform/registry/LinuxRegistryBackend.h"
#include "platform/window/Window.h"

struct AppServices;
class uXMLHTTP;

// The start window: the program's first window and its life line. It determines the
// machine's facts for the run, asks the maker's site once for the published version,
// and closing it ends the program.
class fCover final : public Window {
  public:
    static inline const QString kName = WindowNames::kCover;
    // The program icon, which the other windows take over.
    static inline const QString kIcon = QStringLiteral(":/images/orvellin.png");
    // A version request still running after this long counts as failed.
    static constexpr int kVersionRequestLimitMs = 30'000;

    fCover(Forms& forms, AppServices& services);

    // Shows the start window again unless `otherWindow` is loaded: a main window that
    // closes names the other one, so the program never runs with no window in sight.
    static void ShowUnlessLoaded(Forms& forms, const QString& otherWindow);

    PictureBox* Image1;
    Label* Label2;
    Label* Label3;
    Label* Label4;
    Button* Command1;
    Button* Command3;
    uXMLHTTP* uXMLHTTP2;
    Timer* Timer1;
    Timer* VersionRequestLimit;

    // The version compared with the published one; the build's own version unless a
    // test sets another before the request.
    struct ProgramVersion {
        qint64 major;
        qint64 minor;
        qint64 revision;
    };
    ProgramVersion runningVersion;

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

  private:
    void Command1_Click();
    void Command3_Click();
    void Label3_Click();
    void Timer1_Timer();
    void VersionRequestLimit_Timer();
    void uXMLHTTP2_OnDateArrived();
    void uXMLHTTP2_OnDateErr();
    QString downloadPage() const;

    AppServices& services_;
    LinuxRegistryBackend registry_;
};
