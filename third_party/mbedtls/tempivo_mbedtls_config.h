/* Tempivo's mbed TLS configuration: a TLS 1.3 client for NTS key exchange, and AES with CMAC for
 * AES-SIV. Everything not listed here is off. */
#ifndef TEMPIVO_MBEDTLS_CONFIG_H
#define TEMPIVO_MBEDTLS_CONFIG_H

/* Platform: system time for certificate validity, the system's entropy (BCryptGenRandom on
 * Windows, getrandom on Linux). */
#define MBEDTLS_HAVE_TIME
#define MBEDTLS_HAVE_TIME_DATE
#define MBEDTLS_ENTROPY_C
#define MBEDTLS_CTR_DRBG_C
/* Windows needs the platform layer (its snprintf differs from C99). */
#define MBEDTLS_PLATFORM_C

/* TLS 1.3 client only: certificates, ephemeral (EC)DHE, ALPN, SNI and the exporter. */
#define MBEDTLS_SSL_TLS_C
#define MBEDTLS_SSL_CLI_C
#define MBEDTLS_SSL_PROTO_TLS1_3
#define MBEDTLS_SSL_TLS1_3_KEY_EXCHANGE_MODE_EPHEMERAL_ENABLED
#define MBEDTLS_SSL_KEEP_PEER_CERTIFICATE
#define MBEDTLS_SSL_ALPN
#define MBEDTLS_SSL_SERVER_NAME_INDICATION
#define MBEDTLS_SSL_KEYING_MATERIAL_EXPORT
#define MBEDTLS_SSL_CIPHERSUITES MBEDTLS_TLS1_3_AES_128_GCM_SHA256, MBEDTLS_TLS1_3_AES_256_GCM_SHA384
/* A server's certificate chain needs the full 16 KB record; requests are small. */
#define MBEDTLS_SSL_OUT_CONTENT_LEN 2048

/* PSA crypto, which TLS 1.3 uses for its key schedule, key exchange and records. */
#define MBEDTLS_PSA_CRYPTO_C

#define MBEDTLS_HKDF_C

/* Symmetric: AES-GCM for the records; AES and CMAC for AES-SIV. */
#define MBEDTLS_CIPHER_C
#define MBEDTLS_AES_C
#define MBEDTLS_GCM_C
#define MBEDTLS_CMAC_C
#define MBEDTLS_MD_C
#define MBEDTLS_SHA256_C
#define MBEDTLS_SHA384_C
#define MBEDTLS_SHA512_C
#define MBEDTLS_SHA256_SMALLER
#define MBEDTLS_SHA512_SMALLER
#define MBEDTLS_AES_FEWER_TABLES

/* Elliptic curves: ECDHE with x25519, secp256r1 and secp384r1; ECDSA verification. */
#define MBEDTLS_BIGNUM_C
#define MBEDTLS_ECP_C
#define MBEDTLS_ECDH_C
#define MBEDTLS_ECDSA_C
#define MBEDTLS_ECP_DP_SECP256R1_ENABLED
#define MBEDTLS_ECP_DP_SECP384R1_ENABLED
#define MBEDTLS_ECP_DP_CURVE25519_ENABLED
#define MBEDTLS_ECP_WINDOW_SIZE 2
#define MBEDTLS_ECP_FIXED_POINT_OPTIM 0

/* RSA signatures of certificate chains: PKCS#1 v1.5 and PSS, keys up to 4096 bits. A server with an
 * RSA key signs its TLS 1.3 handshake with RSA-PSS (rsa_pss_rsae_sha256/384/512, RFC 8446 section
 * 4.2.3): without the PSS support of X.509 the client offers none of them. */
#define MBEDTLS_RSA_C
#define MBEDTLS_PKCS1_V15
#define MBEDTLS_PKCS1_V21
#define MBEDTLS_X509_RSASSA_PSS_SUPPORT
#define MBEDTLS_MPI_MAX_SIZE 512

/* X.509 certificates from DER. */
#define MBEDTLS_ASN1_PARSE_C

#define MBEDTLS_OID_C
#define MBEDTLS_PK_C
#define MBEDTLS_PK_PARSE_C
#define MBEDTLS_X509_USE_C
#define MBEDTLS_X509_CRT_PARSE_C

#endif /* TEMPIVO_MBEDTLS_CONFIG_H */
