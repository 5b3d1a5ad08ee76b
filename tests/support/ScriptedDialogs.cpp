#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include "platform/window/Window.h"

namespace {
const char* kindName(ScriptedDialogs::Kind kind) {
    switch (kind) {
        case ScriptedDialogs::Kind::Message:
            return "message";
        case ScriptedDialogs::Kind::Input:
            return "input box";
        case ScriptedDialogs::Kind::OpenFile:
            return "open-file dialog";
        case ScriptedDialogs::Kind::SaveFile:
            return "save-file dialog";
        case ScriptedDialogs::Kind::Folder:
            return "folder picker";
        case ScriptedDialogs::Kind::Modal:
            return "modal window";
    }
    return "dialog";
}
}  // namespace

ScriptedDialogs::~ScriptedDialogs() {
    for (const Step& step : script_) {
        ADD_FAILURE() << "expected " << kindName(step.kind)
                      << " never shown: " << step.text.toStdString();
    }
}

ScriptedDialogs& ScriptedDialogs::expectMessage(const QString& text, MessageIcon icon) {
    script_.append(Step{Kind::Message, text, icon, MessageAnswer::Ok, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectQuestion(const QString& text, MessageAnswer answer,
                                                 MessageIcon icon) {
    script_.append(Step{Kind::Message, text, icon, answer, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(const QString& prompt, const QString& answer) {
    script_.append(Step{Kind::Input, prompt, MessageIcon::None, MessageAnswer::Ok, answer, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectOpenFile(const QString& answer) {
    script_.append(Step{Kind::OpenFile, {}, MessageIcon::None, MessageAnswer::Ok, answer, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectSaveFile(const QString& answer) {
    script_.append(Step{Kind::SaveFile, {}, MessageIcon::None, MessageAnswer::Ok, answer, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectFolder(const QString& answer) {
    script_.append(Step{Kind::Folder, {}, MessageIcon::None, MessageAnswer::Ok, answer, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectModal(const QString& windowName,
                                              std::function<void(Window&)> script) {
    script_.append(
        Step{Kind::Modal, windowName, MessageIcon::None, MessageAnswer::Ok, {}, std::move(script)});
    return *this;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList texts;
    for (const Shown& shown : shown_) {
        if (shown.kind == Kind::Message) {
            texts.append(shown.text);
        }
    }
    return texts;
}

bool ScriptedDialogs::take(Kind kind, const QString& text, Step& step) {
    if (script_.isEmpty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << text.toStdString();
        return false;
    }
    step = script_.takeFirst();
    if (step.kind != kind ||
        (!step.text.isNull() && kind != Kind::OpenFile && kind != Kind::SaveFile &&
         kind != Kind::Folder && step.text != text)) {
        ADD_FAILURE() << "expected " << kindName(step.kind) << " \"" << step.text.toStdString()
                      << "\", got " << kindName(kind) << " \"" << text.toStdString() << "\"";
        return false;
    }
    return true;
}

MessageAnswer ScriptedDialogs::message(const QString& text, MessageIcon icon,
                                       MessageButtons buttons, const QString& title) {
    shown_.append(Shown{Kind::Message, text, icon, buttons, title, {}});
    Step step;
    const MessageAnswer fallback =
        buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    if (!take(Kind::Message, text, step)) {
        return fallback;
    }
    EXPECT_EQ(int(step.icon), int(icon)) << "icon of message " << text.toStdString();
    if (buttons == MessageButtons::YesNo) {
        EXPECT_NE(int(step.answer), int(MessageAnswer::Ok)) << "question answered with OK";
        return step.answer;
    }
    return MessageAnswer::Ok;
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
    Shown shown{Kind::Input, prompt, MessageIcon::None, MessageButtons::Ok, title, {}};
    shown.options.fileName = defaultText;
    shown_.append(shown);
    Step step;
    return take(Kind::Input, prompt, step) ? step.reply : QString();
}

QString ScriptedDialogs::openFile(const FileDialogOptions& options) {
    shown_.append(
        Shown{Kind::OpenFile, options.title, MessageIcon::None, MessageButtons::Ok, {}, options});
    Step step;
    return take(Kind::OpenFile, options.title, step) ? step.reply : QString();
}

QString ScriptedDialogs::saveFile(const FileDialogOptions& options) {
    shown_.append(
        Shown{Kind::SaveFile, options.title, MessageIcon::None, MessageButtons::Ok, {}, options});
    Step step;
    return take(Kind::SaveFile, options.title, step) ? step.reply : QString();
}

QString ScriptedDialogs::pickFolder(const QString& title, const QString& startFolder) {
    Shown shown{Kind::Folder, title, MessageIcon::None, MessageButtons::Ok, title, {}};
    shown.options.initialFolder = startFolder;
    shown_.append(shown);
    Step step;
    return take(Kind::Folder, title, step) ? step.reply : QString();
}

void ScriptedDialogs::showModal(Window& window) {
    shown_.append(Shown{Kind::Modal, window.name(), MessageIcon::None, MessageButtons::Ok, {}, {}});
    Step step;
    if (take(Kind::Modal, window.name(), step) && step.modal) {
        step.modal(window);
    }
    if (window.visible() && !window.isUnloaded()) {
        ADD_FAILURE() << "modal window " << window.name().toStdString() << " was left open";
        window.hide();
    }
}
