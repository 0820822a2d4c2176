// Reading nts_server.sh's state file, and the ROOT store around a throw-away certificate (Win32).
#include "nts_peer.h"

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>

namespace {

std::string AsWindowsPath(std::string unixPath)
{
    for (char& c : unixPath) {
        c = c == '/' ? '\\' : c;
    }
    return "Z:" + unixPath;  // Wine shows the Linux root as drive Z:
}

std::vector<uint8_t> ReadDer(const std::string& unixPath)
{
    std::ifstream der(AsWindowsPath(unixPath), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(der), std::istreambuf_iterator<char>());
}

}  // namespace

NtsServer ReadNtsServer(const char* stateFileUnixPath)
{
    NtsServer server;
    std::ifstream state(AsWindowsPath(stateFileUnixPath));
    std::string key;
    std::string value;
    while (state >> key >> value) {
        if (key == "name") {
            server.name = value;
        } else if (key == "ntske") {
            server.ntskePort = static_cast<uint16_t>(std::stoi(value));
        } else if (key == "ntp") {
            server.ntpPort = static_cast<uint16_t>(std::stoi(value));
        } else if (key == "cert") {
            server.certificate = ReadDer(value);
        } else if (key == "root") {
            server.root = ReadDer(value);
        }
    }
    return server;
}

bool TrustCertificate(const std::vector<uint8_t>& certificate)
{
    return !certificate.empty() &&
           CertAddEncodedCertificateToSystemStoreA("ROOT", certificate.data(), static_cast<DWORD>(certificate.size()));
}

void DistrustCertificate(const std::vector<uint8_t>& certificate)
{
    const HCERTSTORE store = CertOpenSystemStoreA(0, "ROOT");
    const PCCERT_CONTEXT ours =
        CertCreateCertificateContext(X509_ASN_ENCODING, certificate.data(), static_cast<DWORD>(certificate.size()));
    if (store != nullptr && ours != nullptr) {
        const PCCERT_CONTEXT stored = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ours,
                                                                 nullptr);
        if (stored != nullptr) {
            CertDeleteCertificateFromStore(stored);
        }
    }
    if (ours != nullptr) {
        CertFreeCertificateContext(ours);
    }
    if (store != nullptr) {
        CertCloseStore(store, 0);
    }
}
