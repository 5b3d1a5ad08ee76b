#pragma once

#include "app/WindowNames.h"
#include "platform/controls/Button.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/OptionButton.h"
#include "platform/window/Window.h"

struct AppServices;

// The save-path dialog: the folder new download entries go to, and whether their
// files are named after the link or the result title. The caller reads
// SavePathCancelled, ChosenSaveFolder and NameByOriginalFileName afterwards.
class fSeleFileSavePath final : public Window {
  public:
    static inline const QString kName = WindowNames::kSavePath;
    // The folder history, shared with the copy/move tool.
    static inline const QString kHistoryFile = QStringLiteral("SaveList.dat");

    fSeleFileSavePath(Forms& forms, AppServices& services);

    ComboBox* Combo1;
    Button* Command1;
    OptionButton* Option1;
    OptionButton* Option2;
    Button* Command2;
    Button* Command3;

  protected:
    void Form_Load() override;

  private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    QString historyFile() const;

    AppServices& services_;
};
