#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include "platform/qt/FormBinder.h"
#include "platform/qt/FormRegistry.h"
#include "search/fWebSearch.h"
#include "support/TestApp.h"

namespace {

QStringList warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg) {
        warnings.append(message);
    }
}

// The search window's model bound to its form, shown offscreen.
struct SearchForm : testing::Test {
    SearchForm() {
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
        form.reset(qobject_cast<QMainWindow*>(FormRegistry::create(fWebSearch::kName)));
        if (form) {
            new FormBinder(window, *form);
        }
        qInstallMessageHandler(previous);
    }

    QWidget* widget(const QString& name) const { return form->findChild<QWidget*>(name); }

    TestApp app;
    fWebSearch window{app.forms, app.services};
    std::unique_ptr<QMainWindow> form;
};

TEST_F(SearchForm, EveryControlHasItsWidgetAndTheMenuBarHidesTheAddMenu) {
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    window.load();
    QStringList shown;
    for (QAction* action : form->menuBar()->actions()) {
        if (action->isVisible()) {
            shown.append(action->text());
        }
    }
    EXPECT_EQ(shown, (QStringList{"浏览(&B)", "清除(&C)", "工具(&T)", "帮助(&H)"}));
    EXPECT_EQ(form->minimumSize(), QSize(600, 333));
    EXPECT_FALSE(widget("PicPanPrograss")->isVisible());
}

TEST_F(SearchForm, DraggingTheBarMovesThePanesBoundary) {
    ASSERT_NE(form, nullptr);
    window.load();
    form->resize(1000, 700);
    QApplication::processEvents();
    QWidget* bar = widget("PicBar");
    QWidget* list = widget("PicPanList");
    const int listTop = list->geometry().top();
    ASSERT_GT(listTop, 0);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(50, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, -98), bar->mapToGlobal(QPointF(50, -98)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(50, 2));
    EXPECT_EQ(list->geometry().top(), listTop - 100);
    EXPECT_EQ(widget("PicPanWeb")->geometry().bottom() + 1, bar->geometry().top());
}

}  // namespace
