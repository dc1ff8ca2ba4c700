#include "support/tls_front.h"

#include "support/temp_folder.h"

#include <wincrypt.h>

#include <sstream>

#ifndef GLIMRO_SOURCE_DIR
#error "the tests need GLIMRO_SOURCE_DIR, the source tree's path on the host"
#endif

namespace glimro::test {
namespace {

constexpr char kPython[] = "/usr/bin/python3";
constexpr DWORD kStartTimeoutMs = 30 * 1000;

// The host's path of a file of the prefix (Wine only).
std::string HostPath(const std::wstring& path) {
    using Converter = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return std::string();
    char* host = convert(path.c_str());
    std::string result = host ? host : "";
    if (host)
        ::HeapFree(::GetProcessHeap(), 0, host);
    return result;
}

std::vector<BYTE> DecodePem(const std::string& pem) {
    DWORD bytes = 0;
    if (!::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                                nullptr, &bytes, nullptr, nullptr))
        return {};
    std::vector<BYTE> der(bytes);
    if (!::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                                der.data(), &bytes, nullptr, nullptr))
        return {};
    der.resize(bytes);
    return der;
}

SOCKET ConnectLoopback(unsigned short port) {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (s != INVALID_SOCKET &&
        ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::closesocket(s);
        s = INVALID_SOCKET;
    }
    return s;
}

} // namespace

TlsFront::TlsFront(unsigned short backend_port) {
    WSADATA winsock;
    ::WSAStartup(MAKEWORD(2, 2), &winsock);
    TempFolder folder;
    const std::wstring out_file = folder.File(L"front.txt");
    const std::string host_folder = HostPath(folder.Path());
    if (host_folder.empty()) {
        failure_ = "not running under Wine";
        return;
    }
    const std::string command = std::string(kPython) + " \"" + GLIMRO_SOURCE_DIR +
                                "/tests/support/tls_front.py\" \"" + host_folder + "front.txt\" " +
                                std::to_string(backend_port);
    std::wstring wide(command.begin(), command.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        failure_ = "cannot start " + command;
        return;
    }
    // Wine hands back no handles for a host program; the front reports through its file.
    if (process.hProcess)
        ::CloseHandle(process.hProcess);
    if (process.hThread)
        ::CloseHandle(process.hThread);

    for (DWORD waited = 0; waited < kStartTimeoutMs && !FileExists(out_file); waited += 50)
        ::Sleep(50);
    const std::string text = ReadFileBytes(out_file);
    std::istringstream lines(text);
    unsigned port = 0, control_port = 0;
    lines >> port >> control_port;
    const size_t pem = text.find("-----BEGIN");
    if (port == 0 || control_port == 0 || pem == std::string::npos) {
        failure_ = "the front did not answer: " + command;
        return;
    }
    certificate_ = DecodePem(text.substr(pem));
    control_ = ConnectLoopback(static_cast<unsigned short>(control_port));
    if (certificate_.empty() || control_ == INVALID_SOCKET) {
        failure_ = "the front's answer is unusable: " + text;
        return;
    }
    port_ = static_cast<unsigned short>(port);
}

TlsFront::~TlsFront() {
    if (control_ != INVALID_SOCKET)
        ::closesocket(control_);
}

std::wstring TlsFront::Url(const std::string& path) const {
    return L"https://localhost:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

TrustedRoot::TrustedRoot(const std::vector<BYTE>& certificate) : certificate_(certificate) {
    added_ = ::CertAddEncodedCertificateToSystemStoreW(L"Root", certificate_.data(),
                                                       static_cast<DWORD>(certificate_.size()));
}

TrustedRoot::~TrustedRoot() {
    if (!added_)
        return;
    HCERTSTORE store = ::CertOpenSystemStoreW(0, L"Root");
    if (!store)
        return;
    PCCERT_CONTEXT wanted = ::CertCreateCertificateContext(
        X509_ASN_ENCODING, certificate_.data(), static_cast<DWORD>(certificate_.size()));
    if (wanted) {
        PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                            CERT_FIND_EXISTING, wanted, nullptr);
        if (found)
            ::CertDeleteCertificateFromStore(found); // frees the context as well
        ::CertFreeCertificateContext(wanted);
    }
    ::CertCloseStore(store, 0);
}

} // namespace glimro::test
