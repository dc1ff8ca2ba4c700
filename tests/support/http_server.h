#pragma once
// A small HTTP server inside the test process, on 127.0.0.1 and a free port, that serves
// the bodies and status codes a test chooses. One request per connection; connections are
// served side by side.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace glimro::test {

struct HttpResponse {
    int status = 200;
    std::string body;
    // Announce the whole body but close the connection after this many bytes of it.
    size_t cut_after = std::string::npos;
    // Pause between chunks of the body, to keep a download running for a while.
    DWORD chunk_delay_ms = 0;
    size_t chunk_size = 64 * 1024;
    // Silence before the response's first byte.
    DWORD head_delay_ms = 0;
    // The Content-Length sent instead of the body's size; npos sends the size.
    unsigned long long announced_length = ~0ull;
    // No Content-Length at all: the body ends when the connection closes.
    bool omit_length = false;
    // More header lines, each ended by "\r\n" (a Location, a Content-Length of any text).
    std::string headers = {};
    // Sent as the ETag; a request whose If-None-Match names it is answered 304, no body.
    std::string etag = {};
};

class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    void Serve(const std::string& path, HttpResponse response);
    // "http://127.0.0.1:<port>" + path
    std::wstring Url(const std::string& path) const;
    int Requests(const std::string& path) const;
    // The head of the last request for the path, as it came.
    std::string LastRequest(const std::string& path) const;
    unsigned short Port() const { return port_; }

private:
    void AcceptLoop();
    void Handle(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<std::string, HttpResponse> responses_;
    std::map<std::string, int> requests_;
    std::map<std::string, std::string> heads_;
    std::thread thread_;
    std::vector<std::thread> handlers_; // joined by the accept loop as it ends
};

// A port on 127.0.0.1 where nothing listens.
unsigned short UnusedLoopbackPort();

} // namespace glimro::test
