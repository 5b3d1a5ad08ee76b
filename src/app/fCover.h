#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Label.h"
#include "platform/controls/PictureBox.h"
#include "platform/window/Window.h"

struct AppServices;

// The start window: the program's first window and its life line. Closing it ends
// the program.
class fCover final : public Window {
  public:
    static inline const QString kName = QStringLiteral("fCover");
    // The program icon, which the other windows take over.
    static inline const QString kIcon = QStringLiteral(":/images/orvellin.png");

    fCover(Forms& forms, AppServices& services);

    PictureBox* Image1;
    Label* Label2;
    Label* Label4;
    Button* Command1;
    Button* Command3;

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void Command1_Click();
    void Command3_Click();

    AppServices& services_;
};
