#pragma once

#include <QPointer>

#include "app/WindowNames.h"
#include "platform/controls/Button.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TextBox.h"
#include "platform/window/Window.h"

// The dialog that replaces a text in every address of the download list (and in the
// referrers), ignoring case. Keys stay unique: an entry whose replaced addresses are
// already another entry's keeps its own, and the closing message says how many did.
class UrlReplace final : public Window {
  public:
    static inline const QString kName = WindowNames::kUrlReplace;

    explicit UrlReplace(Forms& forms);

    // The text to find, as typed, and its replacement.
    TextBox* Text1;
    TextBox* Text2;
    Button* Command1;
    Button* Command2;

    // The list whose addresses change; set before the dialog is shown.
    void setList(ListView& list) { list_ = &list; }

  protected:
    void Form_Load() override;

  private:
    void Command1_Click();

    QPointer<ListView> list_;
};
