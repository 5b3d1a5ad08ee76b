#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/TextBox.h"
#include "platform/qt/FormBinder.h"
#include "platform/runtime/VirtualRuntime.h"
#include "platform/window/Forms.h"
#include "support/ScriptedDialogs.h"

namespace {

class SampleWindow final : public Window {
  public:
    explicit SampleWindow(Forms& forms)
        : Window(forms, "fSample"),
          Command1(new Button(this, "Command1", "开始批量搜索提取")),
          Check1(new CheckBox(this, "Check1", "删除标题中的空格", true)),
          Text1(new TextBox(this, "Text1")),
          Combo1(new ComboBox(this, "Combo1", ComboBox::Style::ListOnly)),
          Label1(new Label(this, "Label1", "0")),
          StatusBar1(new StatusBar(this, "StatusBar1", 3)) {
        Command1->onClick = guard([this] { log << "Command1"; });
        Check1->onClick =
            guard([this] { log << QStringLiteral("Check1 %1").arg(Check1->value()); });
        Text1->onChange = guard([this] { log << "Text1 " + Text1->text(); });
        Combo1->onClick = guard([this] { log << "Combo1 " + Combo1->text(); });
        Label1->onClick = guard([this] { log << "Label1"; });
        StatusBar1->onPanelClick =
            guard([this](int panel) { log << QStringLiteral("panel %1").arg(panel); });
        MenuItem* clear = addMenu("menuClear", "清除(&C)");
        clear->add("menuClearAll", "清空全部")->onClick = guard([this] { log << "clear all"; });
    }
    Button* Command1;
    CheckBox* Check1;
    TextBox* Text1;
    ComboBox* Combo1;
    Label* Label1;
    StatusBar* StatusBar1;
    QStringList log;

  protected:
    void Form_QueryUnload(bool& cancel) override { cancel = refuse; }

  public:
    bool refuse = false;
};

QMainWindow* makeForm() {
    auto* form = new QMainWindow;
    form->setObjectName("fSample");
    auto* central = new QWidget(form);
    auto* layout = new QVBoxLayout(central);
    auto add = [&](QWidget* w, const char* name) {
        w->setObjectName(name);
        layout->addWidget(w);
    };
    add(new QPushButton, "Command1");
    add(new QCheckBox, "Check1");
    add(new QLineEdit, "Text1");
    add(new QComboBox, "Combo1");
    add(new QLabel, "Label1");
    form->setCentralWidget(central);
    form->statusBar()->setObjectName("StatusBar1");
    return form;
}

struct Binding : testing::Test {
    VirtualRuntime rt;
    ScriptedDialogs dialogs;
    Forms forms{rt, dialogs};
    SampleWindow window{forms};
    std::unique_ptr<QMainWindow> form{makeForm()};
    FormBinder* binder = new FormBinder(window, *form);

    template <class W>
    W* widget(const char* name) {
        return form->findChild<W*>(name);
    }
};

}  // namespace

TEST_F(Binding, ModelPropertiesShowOnTheWidgets) {
    EXPECT_EQ(widget<QPushButton>("Command1")->text(), "开始批量搜索提取");
    window.Command1->setCaption("停止批量搜索");
    window.Command1->setBackColor(Color::fromBgr(255));
    window.Check1->setValue(false);
    window.Text1->setText("机器学习");
    window.Combo1->setItems({"10", "11", "12"});
    window.Combo1->setListIndex(2);
    window.Label1->setCaption("42");
    window.Label1->setVisible(false);
    window.StatusBar1->setPanelText(2, "正在下载:报告");
    window.setCaption("雅虎页面数据检索分析-Orvellin");
    EXPECT_EQ(widget<QPushButton>("Command1")->text(), "停止批量搜索");
    EXPECT_TRUE(widget<QPushButton>("Command1")->styleSheet().contains("#ff0000"));
    EXPECT_FALSE(widget<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(widget<QLineEdit>("Text1")->text(), "机器学习");
    EXPECT_EQ(widget<QComboBox>("Combo1")->currentText(), "12");
    EXPECT_EQ(widget<QLabel>("Label1")->text(), "42");
    EXPECT_TRUE(widget<QLabel>("Label1")->isHidden());
    EXPECT_EQ(form->findChild<QLabel*>("StatusBar1_panel2")->text(), "正在下载:报告");
    EXPECT_EQ(form->windowTitle(), "雅虎页面数据检索分析-Orvellin");
}

TEST_F(Binding, UserActionsOnWidgetsReachTheHandlers) {
    widget<QPushButton>("Command1")->click();
    widget<QCheckBox>("Check1")->click();
    QTest::keyClicks(widget<QLineEdit>("Text1"), "ab");
    window.Combo1->setItems({"0", "1"});
    widget<QComboBox>("Combo1")->setCurrentIndex(1);
    Q_EMIT widget<QComboBox>("Combo1")->activated(1);
    QTest::mouseClick(widget<QLabel>("Label1"), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QLabel*>("StatusBar1_panel3"), Qt::LeftButton);
    form->findChild<QAction*>("menuClearAll")->trigger();
    EXPECT_EQ(window.log, QStringList({"Command1", "Check1 0", "Text1 a", "Text1 ab", "Combo1 1",
                                       "Label1", "panel 3", "clear all"}));
    EXPECT_FALSE(window.Check1->value());
}

TEST_F(Binding, TheCloseBoxAsksTheModel) {
    window.show();
    EXPECT_TRUE(form->isVisible());
    window.refuse = true;
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(window.isUnloaded());
    window.refuse = false;
    form->close();
    EXPECT_TRUE(window.isUnloaded());
    EXPECT_FALSE(form->isVisible());
}
