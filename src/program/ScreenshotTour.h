#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AppServices;
class fWebSearch;
class QtWindowHost;

// The desktop smoke test: opens the program's windows one after another, saves a
// picture of each as <folder>/<window>.png and checks that it is not blank; then
// ends the program. The download window runs real downloads of the configured search
// engine's documents and is photographed with entries in every state; the search window
// runs a one-group batch against the engine and must end with results in its list.
class ScreenshotTour {
  public:
    ScreenshotTour(AppServices& services, QtWindowHost& host, QString folder);

    // Runs the tour from the event loop once the start window is up.
    void start();
    // The windows whose picture was missing or blank, or whose run failed.
    const QStringList& failures() const { return failures_; }

  private:
    void run();
    // Saves <picture>.png, the window's name when none is given.
    bool shoot(const QString& windowName, const QString& picture = {});
    bool runSearchBatch(fWebSearch& window);
    void shootSearchWindow();
    void shootDownloadWindow();
    bool waitFor(const std::function<bool()>& done, double seconds);

    AppServices& services_;
    QtWindowHost& host_;
    QString folder_;
    QStringList failures_;
};
