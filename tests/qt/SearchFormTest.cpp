#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "platform/qt/FormRegistry.h"
#include "platform/qt/QtWindowHost.h"
#include "platform/qt/ViewUnits.h"
#include "qt/FormWidgets.h"
#include "search/fWebSearch.h"
#include "support/TestApp.h"

namespace {

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

class SearchForm : public ::testing::Test {
  protected:
    SearchForm() {
        window = app.forms.load<fWebSearch>(fWebSearch::kName);
        form = qobject_cast<QMainWindow*>(host.formOf(window));
        if (form) {
            window->setGeometry(QRect(40 * kTwipsPerPixel, 40 * kTwipsPerPixel,
                                      1000 * kTwipsPerPixel, 700 * kTwipsPerPixel));
            settle();
        }
    }

    QWidget* pane(const char* name) const {
        return form->centralWidget()->findChild<QWidget*>(name);
    }

    void sendToBar(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QWidget* bar = pane("PicBar");
        QMouseEvent event(type, at, bar->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
        settle();
    }

    // The three panes stack without gaps or overlaps and fill the client area.
    void expectPanesStacked() const {
        const QRect web = pane("PicPanWeb")->geometry();
        const QRect bar = pane("PicBar")->geometry();
        const QRect list = pane("PicPanList")->geometry();
        const QSize client = form->centralWidget()->size();
        EXPECT_EQ(web.top(), 0);
        EXPECT_EQ(web.width(), client.width());
        EXPECT_EQ(bar.top(), web.bottom() + 1);
        EXPECT_EQ(list.top(), bar.bottom() + 1);
        EXPECT_NEAR(list.bottom() + 1, client.height(), 1);  // twips round to pixels
        EXPECT_GT(list.height(), 0);
    }

    TestApp app;
    QtWindowHost host{app.forms};
    fWebSearch* window = nullptr;
    QMainWindow* form = nullptr;
};

}  // namespace

TEST_F(SearchForm, EveryControlAndMenuOfTheWindowHasItsWidget) {
    ASSERT_TRUE(form);
    const std::unique_ptr<QWidget> unbound(FormRegistry::create(fWebSearch::kName));
    for (Control* control : window->findChildren<Control*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<Timer*>(control)) {
            continue;
        }
        if (auto* item = qobject_cast<MenuItem*>(control)) {
            if (!item->isSeparator()) {
                const auto* action = form->findChild<QAction*>(item->name());
                ASSERT_TRUE(action) << qPrintable(item->name());
                EXPECT_EQ(action->text(), item->caption());
            }
            continue;
        }
        const QWidget* widget = host.widgetOf(control);
        ASSERT_TRUE(widget) << qPrintable(control->name());
        EXPECT_TRUE(fitsControl(control, widget)) << qPrintable(control->name());
        // The form's own texts are the ones the window starts with.
        const auto* before = unbound->findChild<QWidget*>(control->name());
        EXPECT_EQ(formText(before), modelText(control)) << qPrintable(control->name());
    }
    EXPECT_TRUE(form->findChild<QWidget*>(QStringLiteral("WebBrowser1")));
}

TEST_F(SearchForm, TheAddMenuIsHiddenFromTheBarButPopsUpLikeTheClearMenu) {
    ASSERT_TRUE(form);
    QStringList shown;
    for (const QAction* action : form->menuBar()->actions()) {
        if (action->isVisible()) {
            shown << action->objectName();
        }
    }
    EXPECT_EQ(shown, QStringList({"menu浏览", "menu清除", "menu工具", "menu帮助"}));

    // What the pop-up offers, read while it is open.
    const auto popupOf = [](const std::function<void()>& open) {
        const auto offered = std::make_shared<QStringList>();
        QTimer::singleShot(0, [offered] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                for (const QAction* action : popup->actions()) {
                    *offered << action->objectName();
                }
                popup->close();
            }
        });
        open();
        return *offered;
    };
    const auto itemsOf = [](const MenuItem* menu) {
        QStringList names;
        for (const MenuItem* item : menu->items()) {
            names << item->name();
        }
        return names;
    };
    EXPECT_EQ(
        popupOf([this] { window->popupMenu(window->menu加入); }),
        QStringList({"menu分析未分析项", "menu分析失败项", "menu分析选中项", "menu分析全部"}));
    // A right click on the result list.
    auto* list = qobject_cast<QTreeView*>(host.widgetOf(window->ListView1));
    ASSERT_TRUE(list);
    EXPECT_EQ(popupOf([list] { QTest::mousePress(list->viewport(), Qt::RightButton); }),
              itemsOf(window->menu清除));
}

TEST_F(SearchForm, DraggingTheBarResizesBothPanes) {
    ASSERT_TRUE(form);
    expectPanesStacked();
    const int barTop = pane("PicBar")->y();
    const int webHeight = pane("PicPanWeb")->height();

    sendToBar(QEvent::MouseButtonPress, QPoint(50, 2), Qt::LeftButton);
    sendToBar(QEvent::MouseMove, QPoint(50, -58), Qt::LeftButton);
    EXPECT_EQ(pane("PicBar")->y(), barTop - 60);  // the bar follows the mouse
    sendToBar(QEvent::MouseButtonRelease, QPoint(50, 2), Qt::NoButton);

    EXPECT_EQ(pane("PicBar")->y(), barTop - 60);
    EXPECT_EQ(pane("PicPanWeb")->height(), webHeight - 60);
    expectPanesStacked();
}

TEST_F(SearchForm, TheWindowKeepsItsMinimumSizeAndItsPanes) {
    ASSERT_TRUE(form);
    EXPECT_EQ(form->minimumSize(), QSize(fWebSearch::kMinimumWidth / kTwipsPerPixel,
                                         fWebSearch::kMinimumHeight / kTwipsPerPixel));
    form->resize(300, 200);
    settle();
    EXPECT_GE(form->width(), fWebSearch::kMinimumWidth / kTwipsPerPixel);
    EXPECT_GE(form->height(), fWebSearch::kMinimumHeight / kTwipsPerPixel);
    expectPanesStacked();
}

TEST_F(SearchForm, TheProgressPanelShowsOverTheListWithoutMovingIt) {
    ASSERT_TRUE(form);
    QWidget* panel = host.widgetOf(window->PicPanPrograss);
    QWidget* list = host.widgetOf(window->ListView1);
    ASSERT_TRUE(panel && list);
    EXPECT_TRUE(panel->isHidden());
    const QRect listBefore = list->geometry();
    window->PicPanPrograss->setVisible(true);
    window->PicPanPrograss->bringToFront();
    settle();
    EXPECT_EQ(list->geometry(), listBefore);
    EXPECT_TRUE(listBefore.contains(panel->geometry()));
    EXPECT_TRUE(panel->isVisible());
}
