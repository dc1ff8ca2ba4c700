#include "support/http_server.h"

#include <ws2tcpip.h>

#include <stdexcept>

namespace glimro::test {
namespace {

struct WinsockStartup {
    WinsockStartup() {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
    }
};

SOCKET BindLoopback(unsigned short* port) {
    static WinsockStartup winsock;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (s == INVALID_SOCKET ||
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        throw std::runtime_error("cannot bind a loopback socket");
    int length = sizeof(address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return s;
}

const char* Reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 304:
        return "Not Modified";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        int sent = ::send(s, data, static_cast<int>(size), 0);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

} // namespace

HttpServer::HttpServer() {
    listener_ = BindLoopback(&port_);
    ::listen(listener_, 16);
    thread_ = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer() {
    stopping_ = true;
    ::closesocket(listener_);
    thread_.join();
}

void HttpServer::Serve(const std::string& path, HttpResponse response) {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_[path] = std::move(response);
}

std::wstring HttpServer::Url(const std::string& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

std::string HttpServer::LastRequest(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = heads_.find(path);
    return found == heads_.end() ? std::string() : found->second;
}

int HttpServer::Requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

void HttpServer::AcceptLoop() {
    while (!stopping_) {
        SOCKET client = ::accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            break;
        handlers_.emplace_back([this, client] {
            Handle(client);
            ::closesocket(client);
        });
    }
    for (std::thread& handler : handlers_)
        handler.join();
}

void HttpServer::Handle(SOCKET client) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        int got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<size_t>(got));
    }
    const size_t path_start = request.find(' ') + 1;
    const std::string path = request.substr(path_start, request.find(' ', path_start) - path_start);

    HttpResponse response;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++requests_[path];
        heads_[path] = request.substr(0, request.find("\r\n\r\n"));
        auto found = responses_.find(path);
        if (found != responses_.end())
            response = found->second;
        else
            response = HttpResponse{404, "missing"};
    }
    if (!response.etag.empty()) {
        const std::string asked = "If-None-Match: " + response.etag + "\r\n";
        if (request.find(asked) != std::string::npos) {
            response.status = 304;
            response.body.clear();
        }
        response.headers += "ETag: " + response.etag + "\r\n";
    }
    const unsigned long long length =
        response.announced_length != ~0ull ? response.announced_length : response.body.size();
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       Reason(response.status) + "\r\nContent-Type: application/octet-stream" +
                       (response.omit_length ? "" : "\r\nContent-Length: " + std::to_string(length)) +
                       "\r\n" + response.headers + "Connection: close\r\n\r\n";
    for (DWORD waited = 0; waited < response.head_delay_ms && !stopping_; waited += 50)
        ::Sleep(50);
    if (!SendAll(client, head.data(), head.size()))
        return;
    const size_t limit =
        response.cut_after < response.body.size() ? response.cut_after : response.body.size();
    for (size_t offset = 0; offset < limit && !stopping_; offset += response.chunk_size) {
        const size_t size =
            limit - offset < response.chunk_size ? limit - offset : response.chunk_size;
        if (!SendAll(client, response.body.data() + offset, size))
            return;
        for (DWORD waited = 0; waited < response.chunk_delay_ms && !stopping_; waited += 20)
            ::Sleep(20);
    }
    ::shutdown(client, SD_SEND);
}

unsigned short UnusedLoopbackPort() {
    unsigned short port = 0;
    SOCKET s = BindLoopback(&port);
    ::closesocket(s); // bound but never listening, then released: connections are refused
    return port;
}

} // namespace glimro::test
