#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AppServices;
class QtWindowHost;

// The desktop smoke test: opens the program's windows one after another, saves a
// picture of each as <folder>/<window>.png and checks that it is not blank; then
// ends the program.
class ScreenshotTour {
  public:
    ScreenshotTour(AppServices& services, QtWindowHost& host, QString folder);

    // Runs the tour from the event loop once the start window is up.
    void start();
    // The windows whose picture was missing or blank.
    const QStringList& failures() const { return failures_; }

  private:
    void run();
    bool shoot(const QString& windowName);
    // Runs a one-group batch in the search window and photographs its results.
    void searchWindow();
    bool waitFor(const std::function<bool()>& done, double seconds);

    AppServices& services_;
    QtWindowHost& host_;
    QString folder_;
    QStringList failures_;
};
