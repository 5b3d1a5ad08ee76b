#pragma once

#include <QString>

// A column of a list view in report view.
struct ListColumn {
    enum class Align { Left, Right };
    QString caption;
    int width = 100;  // pixels
    Align align = Align::Left;
};
