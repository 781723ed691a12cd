#pragma once

// Self-signed certificates for end-to-end tests, made by openssl: a server's
// for its TLS port (valid for 127.0.0.1, its own CA) and a client's for logging
// in by certificate. EC keys: made in milliseconds.

#include <string>

namespace wavecrest::testing {

// Writes the certificate to `certificate` and its key to `key` (the same path
// for both gives one PEM file holding both), readable by all; throws on failure.
void MakeCertificate(const std::string& certificate, const std::string& key, const std::string& commonName);

// The certificate's SHA-256 fingerprint as servers show it: lower-case hex,
// no colons.
std::string CertificateFingerprint(const std::string& certificate);

}  // namespace wavecrest::testing
