#pragma once

#include <QStringList>
#include <array>

#include "app/WindowNames.h"
#include "platform/controls/Button.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Label.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/ProgressBar.h"
#include "platform/window/Window.h"
#include "tools/CopyMoveHost.h"
#include "tools/SameNameCopy.h"

struct AppServices;

// The copy/move tool: copies (or moves) the files of `Files` into one folder, with a
// rule for names the folder already holds, a progress bar and a stop button. The caller
// fills `Files` and sets `MoveMode` after loading it, then shows it modally.
//
// The job runs inside the start click and yields once per file; a second click on the
// button stops it before the next file. A close or the program's end stops it the same
// way, and the window goes only after the job has returned.
class Form_Copy_Move final : public Window, private CopyMoveHost {
  public:
    static inline const QString kName = WindowNames::kCopyMove;
    static inline const QString kStart = QStringLiteral("开始");
    static inline const QString kStop = QStringLiteral("停止");

    Form_Copy_Move(Forms& forms, AppServices& services);

    Label* Label1;
    ComboBox* Combo1;
    Button* Command3;
    Frame* Frame1;
    // The rule buttons: Option1(i) of the rule table is Option1[i - 1].
    std::array<OptionButton*, 5> Option1;
    Label* Label2;
    ProgressBar* ProgressBar1;
    Label* Label4;
    Label* Label3;
    Button* Command1;
    Button* Command2;

    // The source files; the job works on a copy taken when it starts.
    QStringList Files;
    bool MoveMode = false;

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void Command1_Click();
    void Command3_Click();
    void Option1_Click(int index);
    void 执行(bool showCompletion);
    void RunJob(const QString& destination, bool showCompletion);
    void StopJob();
    QString historyFile() const;

    bool jobRunning() const override;
    void fileReached(int number) override;
    void copyingAs(const QString& name) override;

    AppServices& services_;
    SameNameRule rule_ = SameNameRule::None;
    // A job's loop has not yet returned; `jobStopped_` asks it to end.
    bool jobActive_ = false;
    bool jobStopped_ = false;
};
