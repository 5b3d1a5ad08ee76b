#pragma once

#include "app/WindowNames.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/TextBox.h"
#include "platform/window/Window.h"

struct AppServices;

// The options dialog: download method, proxy, whether the save folder is asked when
// results are extracted, and the largest file. Shows the values in memory; confirming
// updates them in memory and in the settings at once.
class fOption final : public Window {
  public:
    static inline const QString kName = WindowNames::kOptions;

    fOption(Forms& forms, AppServices& services);

    Label* Label1;
    OptionButton* Option1;
    OptionButton* Option2;
    CheckBox* Check1;
    TextBox* Text6;
    TextBox* Text8;
    CheckBox* Check2;
    TextBox* Text1;
    Button* Command1;
    Button* Command2;

  protected:
    void Form_Load() override;

  private:
    void Command1_Click();
    void Command2_Click();
    void showMethodInDownloadWindow(int method);

    AppServices& services_;
};
