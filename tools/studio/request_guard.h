// Who may talk to the studio: the browser that opened the printed address, on this machine only.
// Every request needs the session's token (from the address, then its cookie) and a Host of the
// studio's own address, so that a page of another site, even one whose name is made to point at
// 127.0.0.1 (DNS rebinding), gets nothing; every change also needs the studio's own Origin.
#pragma once
#include <string>

struct StudioAccess {
    int port = 0;
    std::string token;  // random, printed in the address
};

enum class GuardVerdict {
    Allowed,
    EnterWithToken,  // the printed address itself: the cookie is set and the token leaves the address bar
    WrongHost,
    NoToken,
    WrongOrigin,
};

// The cookie that carries the token: named after the port, since cookies do not tell ports apart.
std::string studioCookieName(int port);

// The request's method, target (path and query), and its Host, Origin and Cookie headers (empty
// when absent).
GuardVerdict guardRequest(const StudioAccess& access, const std::string& method, const std::string& target,
                          const std::string& host, const std::string& origin, const std::string& cookie);

// A random token of 32 hexadecimal digits; empty when the system gives no randomness.
std::string randomToken();
