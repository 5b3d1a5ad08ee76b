// The forms of the tool windows and of the address replacement dialog: a widget of the
// right kind for every control, showing the caption the window starts with.
#include <gtest/gtest.h>

#include <memory>

#include "download/UrlReplace.h"
#include "platform/qt/FormRegistry.h"
#include "platform/qt/QtWindowHost.h"
#include "qt/FormWidgets.h"
#include "support/TestApp.h"
#include "tools/Form_Copy_Move.h"
#include "tools/fIEcache.h"

TEST(ToolForms, EveryControlHasItsWidgetWithTheWindowsCaption) {
    TestApp app;
    QtWindowHost host(app.forms);
    for (const QString& name : {fIEcache::kName, Form_Copy_Move::kName, UrlReplace::kName}) {
        Window* window = app.forms.load(name);
        ASSERT_TRUE(window && host.formOf(window)) << name.toStdString();
        const std::unique_ptr<QWidget> unbound(FormRegistry::create(name));
        for (Control* control : window->findChildren<Control*>(Qt::FindDirectChildrenOnly)) {
            const QWidget* widget = host.widgetOf(control);
            ASSERT_TRUE(widget) << control->name().toStdString();
            EXPECT_TRUE(fitsControl(control, widget)) << control->name().toStdString();
            EXPECT_EQ(formText(unbound->findChild<QWidget*>(control->name())), modelText(control))
                << control->name().toStdString();
        }
    }
}
