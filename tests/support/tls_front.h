#pragma once
// https for the tests: tls_front.py, a Linux program started from the Wine test process,
// serves https://localhost:<port> with a certificate made afresh for it and passes every
// request on to a loopback HttpServer, which counts it. The certificate is trusted only
// while a TrustedRoot holds it.
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

namespace glimro::test {

class TlsFront {
public:
    explicit TlsFront(unsigned short backend_port);
    ~TlsFront();
    TlsFront(const TlsFront&) = delete;
    TlsFront& operator=(const TlsFront&) = delete;

    // Empty when the front did not start; why is in Failure().
    bool Started() const { return port_ != 0; }
    const std::string& Failure() const { return failure_; }
    // "https://localhost:<port>" + path
    std::wstring Url(const std::string& path) const;
    // The server's certificate, DER-encoded.
    const std::vector<BYTE>& Certificate() const { return certificate_; }

private:
    unsigned short port_ = 0;
    SOCKET control_ = INVALID_SOCKET; // the front ends when this closes
    std::vector<BYTE> certificate_;
    std::string failure_;
};

// Adds a certificate to the current user's trusted roots and removes it again.
class TrustedRoot {
public:
    explicit TrustedRoot(const std::vector<BYTE>& certificate);
    ~TrustedRoot();
    TrustedRoot(const TrustedRoot&) = delete;
    TrustedRoot& operator=(const TrustedRoot&) = delete;

    bool Added() const { return added_; }

private:
    std::vector<BYTE> certificate_;
    bool added_ = false;
};

} // namespace glimro::test
