// The studio's server: Boost.Beast over Boost.Asio, one thread, on 127.0.0.1 only. Every request is
// guarded before its body is read, bounded in its header, its body and its time, and answered; a
// malformed or slow one closes its own connection and nothing else.
#include "tools/studio/studio.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <ostream>

#include "tools/studio/browser_open.h"
#include "tools/studio/request_guard.h"
#include "tools/support/files.h"
#include "tools/support/translation.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

constexpr std::size_t HEADER_MAX_BYTES = 16 * 1024;
// A connection's header must arrive within this; an upload's body within the longer time.
constexpr std::chrono::seconds HEADER_TIME(20);
constexpr std::chrono::seconds BODY_TIME(300);
// Connections beyond this are closed at once: one browser opens a handful.
constexpr int CONNECTIONS_MAX = 64;

// The studio page's own policy: its script and style from the studio only, media from the studio,
// the preview framed from the studio, nothing sent anywhere else, and the page framed by nobody.
const char* const PAGE_POLICY =
    "default-src 'self'; img-src 'self' blob: data:; media-src 'self' blob:; frame-src 'self'; "
    "object-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

struct Server {
    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    StudioState state;
    int connections = 0;
};

struct Connection {
    explicit Connection(Server* s, tcp::socket socket) : server(s), stream(std::move(socket)) {}
    Server* server;
    beast::tcp_stream stream;
    beast::flat_buffer buffer;
    std::optional<http::request_parser<http::string_body>> parser;
};

typedef std::shared_ptr<Connection> ConnectionHandle;

void readHeader(ConnectionHandle connection);

void closeConnection(const ConnectionHandle& connection) {
    beast::error_code ec;
    connection->stream.socket().shutdown(tcp::socket::shutdown_both, ec);
    connection->stream.close();
}

// Sends the response; then reads the next request, or closes when asked to or when it cannot read on.
void send(const ConnectionHandle& connection, StudioResponse answer, bool keepAlive, bool head = false) {
    auto response = std::make_shared<http::response<http::string_body>>();
    response->version(11);
    response->result(static_cast<http::status>(answer.status));
    response->set(http::field::content_type, answer.contentType);
    response->set(http::field::cache_control, "no-store");
    response->set("X-Content-Type-Options", "nosniff");
    response->set("Referrer-Policy", "no-referrer");
    bool policy = false;
    for (const auto& header : answer.headers) {
        response->set(header.first, header.second);
        policy = policy || header.first == "Content-Security-Policy";
    }
    if (!policy) response->set("Content-Security-Policy", PAGE_POLICY);
    const std::size_t size = answer.body.size();
    if (!head) response->body() = std::move(answer.body);
    response->content_length(size);
    response->keep_alive(keepAlive);
    connection->stream.expires_after(BODY_TIME);
    http::async_write(connection->stream, *response, [connection, response, keepAlive](beast::error_code ec, std::size_t) {
        Server* server = connection->server;
        if (server->state.quitRequested) {
            closeConnection(connection);
            server->io.stop();
            return;
        }
        if (ec || !keepAlive) {
            closeConnection(connection);
            return;
        }
        readHeader(connection);
    });
}

StudioResponse refusal(int status, const std::string& message) {
    StudioResponse response;
    response.status = status;
    response.contentType = "text/plain; charset=utf-8";
    response.body = message + "\n";
    return response;
}

// The printed address: the token becomes the cookie, and the address bar keeps no token.
StudioResponse enter(const StudioAccess& access) {
    StudioResponse response;
    response.status = 303;
    response.contentType = "text/plain; charset=utf-8";
    response.headers.push_back({"Location", "/"});
    response.headers.push_back(
        {"Set-Cookie", studioCookieName(access.port) + "=" + access.token + "; Path=/; HttpOnly; SameSite=Strict"});
    return response;
}

StudioRequest studioRequest(const http::request<http::string_body>& message) {
    StudioRequest request;
    request.method = std::string(message.method_string());
    const std::string target(message.target());
    const std::size_t question = target.find('?');
    request.path = target.substr(0, question);
    request.query = question == std::string::npos ? std::string() : target.substr(question + 1);
    request.body = message.body();
    return request;
}

void onBody(const ConnectionHandle& connection, beast::error_code ec) {
    if (ec == http::error::body_limit) {
        send(connection, refusal(413, "Envoi trop grand."), false);
        return;
    }
    if (ec) {
        if (ec != beast::error::timeout && ec != http::error::end_of_stream) send(connection, refusal(400, "Requ\xC3\xAAte mal form\xC3\xA9" "e."), false);
        else closeConnection(connection);
        return;
    }
    const http::request<http::string_body> message = connection->parser->release();
    StudioRequest request = studioRequest(message);
    StudioResponse response = handleStudioRequest(&connection->server->state, request);
    // The quiz's page in the preview has a policy of its own; the studio only says who may frame it.
    if (request.path.size() > 8 && request.path.compare(request.path.size() - 8, 8, "/preview") == 0)
        response.headers.push_back({"Content-Security-Policy", "frame-ancestors 'self'"});
    send(connection, std::move(response), message.keep_alive(), message.method() == http::verb::head);
}

void onHeader(const ConnectionHandle& connection, beast::error_code ec) {
    if (ec) {
        // A connection closed or timed out between requests ends quietly; anything else was malformed.
        if (ec == http::error::end_of_stream || ec == beast::error::timeout || ec == asio::error::eof ||
            ec == asio::error::connection_reset || ec == asio::error::operation_aborted)
            closeConnection(connection);
        else
            send(connection, refusal(ec == http::error::header_limit ? 431 : 400, "Requ\xC3\xAAte mal form\xC3\xA9" "e."), false);
        return;
    }
    const auto& header = connection->parser->get();
    const StudioState& state = connection->server->state;
    const std::string target(header.target());
    switch (guardRequest(state.access, std::string(header.method_string()), target, std::string(header[http::field::host]),
                         std::string(header[http::field::origin]), std::string(header[http::field::cookie]))) {
    case GuardVerdict::Allowed: break;
    case GuardVerdict::EnterWithToken: send(connection, enter(state.access), false); return;
    // Refused before the body is read: nothing of a stranger's upload is taken in.
    default: send(connection, refusal(403, "Refus\xC3\xA9 : ouvrez l'adresse que trivo-make studio a affich\xC3\xA9" "e."), false); return;
    }
    const int64_t limit = uploadLimitFor(target.substr(0, target.find('?')));
    if (connection->parser->content_length() && *connection->parser->content_length() > static_cast<uint64_t>(limit)) {
        send(connection, refusal(413, "Envoi trop grand."), false);
        return;
    }
    connection->parser->body_limit(static_cast<uint64_t>(limit));
    connection->stream.expires_after(BODY_TIME);
    http::async_read(connection->stream, connection->buffer, *connection->parser,
                     [connection](beast::error_code e, std::size_t) { onBody(connection, e); });
}

void readHeader(ConnectionHandle connection) {
    connection->parser.emplace();
    connection->parser->header_limit(HEADER_MAX_BYTES);
    // The largest body any request may have, until its header says which request it is.
    connection->parser->body_limit(static_cast<uint64_t>(uploadLimitFor("/api/import")));
    connection->stream.expires_after(HEADER_TIME);
    http::async_read_header(connection->stream, connection->buffer, *connection->parser,
                            [connection](beast::error_code ec, std::size_t) { onHeader(connection, ec); });
}

void accept(Server* server) {
    server->acceptor.async_accept([server](beast::error_code ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted) return;
        if (!ec && server->connections < CONNECTIONS_MAX) {
            ++server->connections;
            std::shared_ptr<Connection> connection(new Connection(server, std::move(socket)), [](Connection* c) {
                --c->server->connections;
                delete c;
            });
            readHeader(connection);
        }
        accept(server);
    });
}

}  // namespace

int serveStudio(const StudioOptions& options, std::ostream& out, std::ostream& err) {
    const std::string prefix = "trivo-make studio";
    Server server;
    std::string reason;
    if (!resolvedPath(options.workspace, &server.state.workspace, &reason) ||
        !std::filesystem::is_directory(server.state.workspace)) {
        err << fillIn(tr("{1}: {2}"), prefix, reason.empty() ? fillIn(tr("the workspace {1} is not a folder"), utf8Path(options.workspace))
                                               : fillIn(tr("the workspace {1} is not a folder: {2}"),
                                                        utf8Path(options.workspace), reason))
            << "\n";
        return 1;
    }
    server.state.workspace = plainPath(server.state.workspace);
    server.state.command = options.command;
    server.state.access.token = randomToken();
    if (server.state.access.token.empty()) {
        err << fillIn(tr("{1}: {2}"), prefix, tr("the system gives no random numbers for the studio's token")) << "\n";
        return 1;
    }
    beast::error_code ec;
    const tcp::endpoint endpoint(asio::ip::make_address_v4("127.0.0.1"), static_cast<unsigned short>(options.port));
    server.acceptor.open(endpoint.protocol(), ec);
    if (!ec) server.acceptor.bind(endpoint, ec);
    if (!ec) server.acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        err << fillIn(tr("{1}: {2}"), prefix, fillIn(tr("cannot serve on 127.0.0.1:{1}: {2}"), options.port, ec.message())) << "\n";
        return 1;
    }
    server.state.access.port = server.acceptor.local_endpoint().port();
    const std::string url =
        "http://127.0.0.1:" + std::to_string(server.state.access.port) + "/?token=" + server.state.access.token;
    out << fillIn(tr("Trivo Studio serves {1} at\n  {2}\nCtrl+C, or the page's Quitter button, stops it.\n"),
                  utf8Path(server.state.workspace), url)
        << std::flush;
    if (options.openBrowser && !openBrowser(url))
        err << fillIn(tr("{1}: {2}"), prefix, tr("no browser could be opened; open the address above")) << "\n";
    asio::signal_set signals(server.io, SIGINT, SIGTERM);
    signals.async_wait([&server](beast::error_code, int) { server.io.stop(); });
    accept(&server);
    server.state.stop = [&server] { server.io.stop(); };
    server.io.run();
    endTrial(&server.state);
    out << tr("Trivo Studio stopped.") << "\n" << std::flush;
    return 0;
}
