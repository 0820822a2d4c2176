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
    return AddToSystemStore("ROOT", certificate);
}

void DistrustCertificate(const std::vector<uint8_t>& certificate)
{
    RemoveFromSystemStore("ROOT", certificate);
}

bool AddToSystemStore(const char* store, const std::vector<uint8_t>& certificate)
{
    return !certificate.empty() &&
           CertAddEncodedCertificateToSystemStoreA(store, certificate.data(), static_cast<DWORD>(certificate.size()));
}

namespace {

// Calls the action with the store's own entry of the certificate; false when there is none. The
// user's registry store itself: Wine keeps no deletion or property made through the system store,
// which gathers the user's and the machine's.
template <typename Action>
bool WithStoredCopy(const char* storeName, const std::vector<uint8_t>& certificate, Action action)
{
    const HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, storeName);
    const PCCERT_CONTEXT ours =
        CertCreateCertificateContext(X509_ASN_ENCODING, certificate.data(), static_cast<DWORD>(certificate.size()));
    bool found = false;
    if (store != nullptr && ours != nullptr) {
        const PCCERT_CONTEXT stored = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ours,
                                                                 nullptr);
        found = stored != nullptr;
        if (found) {
            found = action(stored);
        }
    }
    if (ours != nullptr) {
        CertFreeCertificateContext(ours);
    }
    if (store != nullptr) {
        CertCloseStore(store, 0);
    }
    return found;
}

}  // namespace

void RemoveFromSystemStore(const char* store, const std::vector<uint8_t>& certificate)
{
    WithStoredCopy(store, certificate, [](PCCERT_CONTEXT stored) { return CertDeleteCertificateFromStore(stored) != FALSE; });
}

bool SetRootPurpose(const std::vector<uint8_t>& certificate, const char* purpose)
{
    // The entry written anew with its properties: Wine keeps no property set on a stored entry.
    const PCCERT_CONTEXT ours =
        CertCreateCertificateContext(X509_ASN_ENCODING, certificate.data(), static_cast<DWORD>(certificate.size()));
    if (ours == nullptr) {
        return false;
    }
    bool ready = true;
    if (purpose != nullptr) {
        LPSTR identifier = const_cast<LPSTR>(purpose);
        CERT_ENHKEY_USAGE usage{1, &identifier};
        BYTE encoded[64];
        DWORD size = sizeof encoded;
        ready = CryptEncodeObject(X509_ASN_ENCODING, X509_ENHANCED_KEY_USAGE, &usage, encoded, &size) != FALSE;
        CRYPT_DATA_BLOB blob{size, encoded};
        ready = ready && CertSetCertificateContextProperty(ours, CERT_ENHKEY_USAGE_PROP_ID, 0, &blob);
    }
    RemoveFromSystemStore("ROOT", certificate);
    const HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "ROOT");
    ready = ready && store != nullptr && CertAddCertificateContextToStore(store, ours, CERT_STORE_ADD_NEW, nullptr);
    if (store != nullptr) {
        CertCloseStore(store, 0);
    }
    CertFreeCertificateContext(ours);
    return ready;
}
