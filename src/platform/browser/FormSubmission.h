#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>

class HtmlElement;

// What a click on a form's submit control sends, as a browser builds it: the form's
// successful controls with their current values, application/x-www-form-urlencoded
// in UTF-8, by GET (in the query) or POST (in the body).
struct FormSubmission {
    QUrl url;
    QByteArray method;  // "GET" or "POST"
    QByteArray body;    // POST only

    // Whether a click on the element submits its form (a submit or image input, or a
    // button of type submit).
    static bool isSubmitter(const HtmlElement& element);
    // The submission of the form that `submitter` belongs to; none without a form.
    static std::optional<FormSubmission> build(const HtmlElement& submitter);
};
