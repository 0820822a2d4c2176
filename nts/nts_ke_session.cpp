// The key exchange's TLS session on mbed TLS, its request and its reading loop.
#include "nts_ke_session.h"

#include <array>

#include "mbedtls/ctr_drbg.h"
#include "mbedtls/entropy.h"
#include "mbedtls/ssl.h"
#include "mbedtls/x509_crt.h"
#include "psa/crypto.h"
#include "certificate_names.h"
#include "system_chain_verdict.h"
#include "base/ip_address_text.h"

namespace {

// Not const: the library takes a "const char **" it only reads.
const char* kAlpnProtocols[] = {"ntske/1", nullptr};

int SendThrough(void* stream, const unsigned char* data, size_t size)
{
    const int sent = static_cast<NtsByteStream*>(stream)->Send(data, size);
    return sent == NtsByteStream::kTimedOut ? MBEDTLS_ERR_SSL_TIMEOUT : sent < 0 ? MBEDTLS_ERR_SSL_INTERNAL_ERROR : sent;
}

int ReceiveThrough(void* stream, unsigned char* buffer, size_t size)
{
    const int received = static_cast<NtsByteStream*>(stream)->Receive(buffer, size);
    if (received == NtsByteStream::kTimedOut) {
        return MBEDTLS_ERR_SSL_TIMEOUT;
    }
    return received < 0 ? MBEDTLS_ERR_SSL_INTERNAL_ERROR : received;
}

// Everything the library needs for one session, freed in one place.
struct TlsClient {
    mbedtls_entropy_context entropy;
    mbedtls_ctr_drbg_context random;
    mbedtls_x509_crt roots;
    mbedtls_ssl_config config;
    mbedtls_ssl_context ssl;

    TlsClient()
    {
        mbedtls_entropy_init(&entropy);
        mbedtls_ctr_drbg_init(&random);
        mbedtls_x509_crt_init(&roots);
        mbedtls_ssl_config_init(&config);
        mbedtls_ssl_init(&ssl);
    }
    ~TlsClient()
    {
        mbedtls_ssl_free(&ssl);
        mbedtls_ssl_config_free(&config);
        mbedtls_x509_crt_free(&roots);
        mbedtls_ctr_drbg_free(&random);
        mbedtls_entropy_free(&entropy);
    }
    TlsClient(const TlsClient&) = delete;
    TlsClient& operator=(const TlsClient&) = delete;
};

// An address is named by no SNI (RFC 6066 section 3) and is matched by CertificateIsForServer alone.
bool IsAddress(const std::string& server)
{
    std::array<uint8_t, 4> v4;
    std::array<uint8_t, 16> v6;
    return ReadIpv4Text(server, &v4) || ReadIpv6Text(server, &v6);
}

// The DNS names and IP addresses among the certificate's subject alternative names.
CertificateNames NamesOf(const mbedtls_x509_crt& certificate)
{
    CertificateNames names;
    for (const mbedtls_x509_sequence* san = &certificate.subject_alt_names; san != nullptr; san = san->next) {
        if (san->buf.p == nullptr) {
            continue;
        }
        const int kind = san->buf.tag & MBEDTLS_ASN1_TAG_VALUE_MASK;
        if (kind == MBEDTLS_X509_SAN_DNS_NAME) {
            names.dnsNames.emplace_back(reinterpret_cast<const char*>(san->buf.p), san->buf.len);
        } else if (kind == MBEDTLS_X509_SAN_IP_ADDRESS) {
            names.ipAddresses.emplace_back(san->buf.p, san->buf.p + san->buf.len);
        }
    }
    return names;
}

NtsKeyExchangeResult Failed(NtsKeFailure why)
{
    NtsKeyExchangeResult result;
    result.failure = why;
    return result;
}

NtsKeFailure FromTlsError(int error)
{
    return error == MBEDTLS_ERR_SSL_TIMEOUT ? NtsKeFailure::TimedOut : NtsKeFailure::Closed;
}

// The certificates the server sent, its own first, as DER.
std::vector<std::vector<uint8_t>> ChainOf(const mbedtls_x509_crt& certificate)
{
    std::vector<std::vector<uint8_t>> chain;
    for (const mbedtls_x509_crt* each = &certificate; each != nullptr && each->raw.p != nullptr; each = each->next) {
        chain.emplace_back(each->raw.p, each->raw.p + each->raw.len);
    }
    return chain;
}

// mbed TLS checks the chain against the roots this machine has already; Windows fills its root
// store lazily, fetching a public root the first time its chain engine needs one. A root mbed TLS
// lacks is therefore left to Windows' engine, which judges every chain afterwards: that one flag is
// cleared, and every other finding (dates, signatures, names, purposes) still fails the handshake.
int LeaveMissingRootToWindows(void* /*context*/, mbedtls_x509_crt* /*certificate*/, int /*depth*/, uint32_t* flags)
{
    *flags = WithoutMissingRoot(*flags);
    return 0;
}

// TLS 1.3 only, the server's certificate required, ALPN offered.
bool Configure(TlsClient& tls, const std::vector<std::vector<uint8_t>>& trustedRoots, const std::string& serverName)
{
    if (psa_crypto_init() != PSA_SUCCESS ||
        mbedtls_ctr_drbg_seed(&tls.random, mbedtls_entropy_func, &tls.entropy, nullptr, 0) != 0) {
        return false;
    }
    for (const auto& root : trustedRoots) {
        mbedtls_x509_crt_parse_der(&tls.roots, root.data(), root.size());
    }
    if (tls.roots.version == 0) {
        return false;  // not one root parsed: the machine's trust could not be read
    }
    if (mbedtls_ssl_config_defaults(&tls.config, MBEDTLS_SSL_IS_CLIENT, MBEDTLS_SSL_TRANSPORT_STREAM,
                                    MBEDTLS_SSL_PRESET_DEFAULT) != 0) {
        return false;
    }
    mbedtls_ssl_conf_min_tls_version(&tls.config, MBEDTLS_SSL_VERSION_TLS1_3);
    mbedtls_ssl_conf_max_tls_version(&tls.config, MBEDTLS_SSL_VERSION_TLS1_3);
    mbedtls_ssl_conf_authmode(&tls.config, MBEDTLS_SSL_VERIFY_REQUIRED);
    mbedtls_ssl_conf_ca_chain(&tls.config, &tls.roots, nullptr);
    mbedtls_ssl_conf_verify(&tls.config, LeaveMissingRootToWindows, nullptr);
    mbedtls_ssl_conf_rng(&tls.config, mbedtls_ctr_drbg_random, &tls.random);
    // A name goes out as SNI and mbed TLS checks it too; an address goes nowhere.
    return mbedtls_ssl_conf_alpn_protocols(&tls.config, kAlpnProtocols) == 0 &&
           mbedtls_ssl_setup(&tls.ssl, &tls.config) == 0 &&
           mbedtls_ssl_set_hostname(&tls.ssl, IsAddress(serverName) ? nullptr : serverName.c_str()) == 0;
}

bool WriteAll(mbedtls_ssl_context& ssl, const std::vector<uint8_t>& data, int* error)
{
    for (size_t at = 0; at < data.size();) {
        const int written = mbedtls_ssl_write(&ssl, data.data() + at, data.size() - at);
        if (written <= 0) {
            *error = written;
            return false;
        }
        at += static_cast<size_t>(written);
    }
    return true;
}

bool ExportKey(mbedtls_ssl_context& ssl, NtsKeyDirection direction, AesSivKey* key)
{
    const NtsExporterContext context =
        BuildNtsExporterContext(kNtsNextProtocolNtpV4, kNtsAeadAesSivCmac256, direction);
    return mbedtls_ssl_export_keying_material(&ssl, key->data(), key->size(), kNtsExporterLabel,
                                              kNtsExporterLabelSize, context.data(), context.size(), 1) == 0;
}

}  // namespace

NtsKeyExchangeResult RunNtsKeSession(NtsByteStream& stream, NtsTrust& trust, const std::string& serverName)
{
    TlsClient tls;
    if (!Configure(tls, trust.TrustedRoots(), serverName)) {
        return Failed(NtsKeFailure::TlsSetup);
    }
    mbedtls_ssl_set_bio(&tls.ssl, &stream, SendThrough, ReceiveThrough, nullptr);

    const int handshake = mbedtls_ssl_handshake(&tls.ssl);
    const mbedtls_x509_crt* certificate = handshake == 0 ? mbedtls_ssl_get_peer_cert(&tls.ssl) : nullptr;
    if (handshake == MBEDTLS_ERR_X509_CERT_VERIFY_FAILED ||
        (handshake == 0 && (mbedtls_ssl_get_verify_result(&tls.ssl) != 0 || certificate == nullptr ||
                            !CertificateIsForServer(NamesOf(*certificate), serverName) ||
                            !trust.AcceptsChain(ChainOf(*certificate), serverName)))) {
        return Failed(NtsKeFailure::Certificate);
    }
    if (handshake == MBEDTLS_ERR_SSL_TIMEOUT) {
        return Failed(NtsKeFailure::TimedOut);
    }
    if (handshake != 0) {
        return Failed(NtsKeFailure::Handshake);
    }
    const char* alpn = mbedtls_ssl_get_alpn_protocol(&tls.ssl);
    if (alpn == nullptr || std::string(alpn) != kAlpnProtocols[0]) {
        return Failed(NtsKeFailure::Alpn);
    }

    int error = 0;
    if (!WriteAll(tls.ssl, BuildNtsKeRequest(), &error)) {
        return Failed(FromTlsError(error));
    }
    std::vector<uint8_t> received;
    NtsKeyExchangeResult result;
    result.response = ParseNtsKeResponse(received.data(), received.size());
    while (result.response.verdict == NtsKeVerdict::Incomplete) {
        uint8_t buffer[4096];
        const int read = mbedtls_ssl_read(&tls.ssl, buffer, sizeof buffer);
        if (read <= 0) {
            return Failed(FromTlsError(read));  // 0 or close_notify: ended before End of Message
        }
        received.insert(received.end(), buffer, buffer + read);
        result.response = ParseNtsKeResponse(received.data(), received.size());
    }
    if (result.response.verdict != NtsKeVerdict::Complete) {
        result.failure = NtsKeFailure::Response;
        return result;
    }
    if (!ExportKey(tls.ssl, NtsKeyDirection::ClientToServer, &result.keys.clientToServer) ||
        !ExportKey(tls.ssl, NtsKeyDirection::ServerToClient, &result.keys.serverToClient)) {
        return Failed(NtsKeFailure::KeyExport);
    }
    mbedtls_ssl_close_notify(&tls.ssl);
    result.ok = true;
    return result;
}
