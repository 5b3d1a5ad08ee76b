#pragma once

#include "platform/desktop/Shell.h"

// The desktop's default handlers through QDesktopServices.
class DesktopShell final : public Shell {
  public:
    bool openFile(const QString& path) override;
    bool showInFolder(const QString& path) override;
    bool openFolder(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool openInTextEditor(const QString& path) override;
};
