// The studio's guards on every request.
#include "tools/studio/request_guard.h"

#include <random>

namespace {

// Compares in time that does not depend on where the texts differ.
bool sameSecret(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.empty()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

bool hostAllowed(const StudioAccess& access, const std::string& host) {
    const std::string port = ":" + std::to_string(access.port);
    return host == "127.0.0.1" + port || host == "localhost" + port;
}

bool originAllowed(const StudioAccess& access, const std::string& origin) {
    const std::string port = ":" + std::to_string(access.port);
    return origin == "http://127.0.0.1" + port || origin == "http://localhost" + port;
}

// The value of the cookie name in a Cookie header ("a=1; b=2").
std::string cookieValue(const std::string& header, const std::string& name) {
    std::size_t at = 0;
    while (at < header.size()) {
        while (at < header.size() && (header[at] == ' ' || header[at] == ';')) ++at;
        const std::size_t end = header.find(';', at);
        const std::string pair = header.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (pair.compare(0, name.size() + 1, name + "=") == 0) return pair.substr(name.size() + 1);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return std::string();
}

}  // namespace

std::string studioCookieName(int port) { return "trivo-studio-" + std::to_string(port); }

GuardVerdict guardRequest(const StudioAccess& access, const std::string& method, const std::string& target,
                          const std::string& host, const std::string& origin, const std::string& cookie) {
    if (!hostAllowed(access, host)) return GuardVerdict::WrongHost;
    const bool reading = method == "GET" || method == "HEAD";
    if (!reading && !originAllowed(access, origin)) return GuardVerdict::WrongOrigin;
    if (sameSecret(cookieValue(cookie, studioCookieName(access.port)), access.token)) return GuardVerdict::Allowed;
    if (reading && sameSecret(target, "/?token=" + access.token)) return GuardVerdict::EnterWithToken;
    return GuardVerdict::NoToken;
}

std::string randomToken() {
    try {
        std::random_device device;
        static const char HEX[] = "0123456789abcdef";
        std::string token;
        for (int i = 0; i < 4; ++i) {
            const unsigned value = device();
            for (int k = 0; k < 8; ++k) token.push_back(HEX[(value >> (4 * k)) & 15]);
        }
        return token;
    } catch (...) {
        return std::string();
    }
}
