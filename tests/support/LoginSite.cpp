#include "support/LoginSite.h"

namespace {

const std::string kToken = "t-7f3a";
const std::string kSession = "session=s-41c9";

std::string toStd(const QByteArray& bytes) {
    return bytes.toStdString();
}

}  // namespace

QByteArray LoginSite::document() {
    return QByteArrayLiteral("%PDF-1.4\n1 0 obj\n<< /Title (members only) >>\nendobj\n%%EOF\n");
}

QByteArray LoginSite::loginPage() {
    return QByteArrayLiteral(
        "<html><head><title>Sign in</title></head><body>"
        "<form method=\"post\" action=\"/login\">"
        "<input type=\"hidden\" name=\"token\" value=\"t-7f3a\">"
        "<input name=\"UserName\"><input type=\"password\" name=\"PassWord\">"
        "<input type=\"submit\" value=\"Sign in\"></form></body></html>");
}

LoginSite::LoginSite() {
    httplib::Server& server = http_.server();
    server.Get("/login", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(toStd(loginPage()), "text/html; charset=utf-8");
    });
    server.Post("/login", [this](const httplib::Request& req, httplib::Response& res) {
        if (req.get_param_value("UserName") == kAccount &&
            req.get_param_value("PassWord") == kPassword &&
            req.get_param_value("token") == kToken) {
            ++logins_;
            res.set_header("Set-Cookie", kSession + "; Path=/; HttpOnly");
            res.set_content("<html><head><title>Welcome</title></head><body>in</body></html>",
                            "text/html");
        } else {
            res.set_content(toStd(loginPage()), "text/html; charset=utf-8");
        }
    });
    server.Get("/ip", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<html><body><form action=\"/iplogin\"><input type=\"submit\" id=\"submitip\">"
            "</form></body></html>",
            "text/html");
    });
    server.Get("/iplogin", [this](const httplib::Request&, httplib::Response& res) {
        ++logins_;
        res.set_header("Set-Cookie", kSession + "; Path=/; HttpOnly");
        res.set_content("<html><body>in</body></html>", "text/html");
    });
    server.Get(R"(/docs/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        if (hasSession(req)) {
            res.set_content(toStd(document()), "application/pdf");
        } else {
            res.set_content(toStd(loginPage()), "text/html; charset=utf-8");
        }
    });
    http_.start();
}

bool LoginSite::hasSession(const httplib::Request& request) const {
    return request.get_header_value("Cookie").find(kSession) != std::string::npos;
}
