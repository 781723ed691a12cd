#include "support/certificates.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace wavecrest::testing {

void MakeCertificate(const std::string& certificate, const std::string& key, const std::string& commonName) {
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj '/CN=" + commonName +
      "' -addext subjectAltName=IP:127.0.0.1 -keyout '" + key + "' -out '" + certificate + "' 2>/dev/null && chmod 644 '" +
      key + "' '" + certificate + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

std::string CertificateFingerprint(const std::string& certificate) {
  const std::string command = "openssl x509 -noout -fingerprint -sha256 -in '" + certificate + "'";
  FILE* const pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("failed: " + command);
  std::string out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  if (::pclose(pipe) != 0 || out.find('=') == std::string::npos) throw std::runtime_error("failed: " + command);
  // "sha256 Fingerprint=AB:CD:…"
  std::string hex;
  for (const char c : out.substr(out.find('=') + 1)) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return hex;
}

}  // namespace wavecrest::testing
