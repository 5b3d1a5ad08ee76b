#include "platform/browser/FormSubmission.h"

#include <QList>
#include <QPair>

#include "platform/browser/HtmlDocument.h"
#include "platform/browser/HtmlElement.h"
#include "platform/browser/HtmlElementList.h"

namespace {

using Pairs = QList<QPair<QString, QString>>;

QByteArray encode(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const auto b = uchar(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            b == '*' || b == '-' || b == '.' || b == '_') {
            out += char(b);
        } else if (b == ' ') {
            out += '+';
        } else {
            out += '%';
            out += QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
        }
    }
    return out;
}

QByteArray urlEncoded(const Pairs& pairs) {
    QByteArray out;
    for (const auto& [name, value] : pairs) {
        if (!out.isEmpty()) {
            out += '&';
        }
        out += encode(name) + '=' + encode(value);
    }
    return out;
}

QString lowerType(const HtmlElement& element) {
    return element.type().trimmed().toLower();
}

void addSelect(const HtmlElement& select, const QString& name, Pairs& pairs) {
    const HtmlElementList options = select.elementsByTagName(u"option");
    bool any = false;
    for (const HtmlElement option : options) {
        if (option.hasAttribute(u"selected") && !option.hasAttribute(u"disabled")) {
            const QString value =
                option.hasAttribute(u"value") ? option.value() : option.innerText().trimmed();
            pairs.append({name, value});
            any = true;
            if (!select.hasAttribute(u"multiple")) {
                return;
            }
        }
    }
    if (!any && !select.hasAttribute(u"multiple") && !options.isEmpty()) {
        const HtmlElement first = options.at(0);
        pairs.append(
            {name, first.hasAttribute(u"value") ? first.value() : first.innerText().trimmed()});
    }
}

// The name=value pairs of the form's successful controls in document order.
Pairs successfulControls(const HtmlElement& form, const HtmlElement& submitter) {
    Pairs pairs;
    for (const HtmlElement control : form.elementsByTagName(u"*")) {
        const QString tag = control.tagName();
        const QString name = control.name();
        if (name.isEmpty() || control.hasAttribute(u"disabled")) {
            continue;
        }
        if (tag == u"INPUT") {
            const QString type = lowerType(control);
            if (type == u"submit" || type == u"button" || type == u"reset" || type == u"file") {
                if (type == u"submit" && control == submitter) {
                    pairs.append({name, control.value()});
                }
            } else if (type == u"image") {
                if (control == submitter) {
                    pairs.append({name + QStringLiteral(".x"), QStringLiteral("0")});
                    pairs.append({name + QStringLiteral(".y"), QStringLiteral("0")});
                }
            } else if (type == u"checkbox" || type == u"radio") {
                if (control.hasAttribute(u"checked")) {
                    pairs.append({name, control.hasAttribute(u"value") ? control.value()
                                                                       : QStringLiteral("on")});
                }
            } else {
                pairs.append({name, control.value()});
            }
        } else if (tag == u"BUTTON") {
            if (control == submitter) {
                pairs.append({name, control.value()});
            }
        } else if (tag == u"SELECT") {
            addSelect(control, name, pairs);
        } else if (tag == u"TEXTAREA") {
            pairs.append({name, control.innerText()});
        }
    }
    return pairs;
}

}  // namespace

bool FormSubmission::isSubmitter(const HtmlElement& element) {
    const QString tag = element.tagName();
    const QString type = lowerType(element);
    if (tag == u"INPUT") {
        return type == u"submit" || type == u"image";
    }
    return tag == u"BUTTON" && (type.isEmpty() || type == u"submit");
}

std::optional<FormSubmission> FormSubmission::build(const HtmlElement& submitter) {
    HtmlElement form;
    if (submitter.hasAttribute(u"form")) {
        form = submitter.document()->elementById(submitter.attribute(u"form"));
    } else {
        form = submitter.closest(u"form");
    }
    if (!form || form.tagName() != u"FORM") {
        return std::nullopt;
    }
    const QString action = submitter.hasAttribute(u"formaction")
                               ? submitter.attribute(u"formaction")
                               : form.attribute(u"action");
    const QString method =
        (submitter.hasAttribute(u"formmethod") ? submitter.attribute(u"formmethod")
                                               : form.attribute(u"method"))
            .trimmed()
            .toLower();
    const QUrl base = submitter.document()->baseUrl();
    FormSubmission submission;
    submission.url = action.trimmed().isEmpty() ? QUrl(submitter.document()->url())
                                                : base.resolved(QUrl(action.trimmed()));
    submission.url.setFragment(QString());
    const QByteArray data = urlEncoded(successfulControls(form, submitter));
    if (method == u"post") {
        submission.method = "POST";
        submission.body = data;
    } else {
        submission.method = "GET";
        submission.url.setQuery(QString::fromLatin1(data), QUrl::StrictMode);
    }
    return submission;
}
