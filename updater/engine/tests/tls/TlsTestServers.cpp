#include "TlsTestServers.h"

#include "TestFiles.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdlib>
#include <sstream>

std::map<std::string, int> ReadTlsServerPorts(const std::string& stateFile) {
    std::map<std::string, int> ports;
    std::istringstream lines(ReadWholeFile(stateFile));
    for (std::string line; std::getline(lines, line);) {
        size_t equals = line.find('=');
        if (equals == std::string::npos || line.compare(0, equals, "pid") == 0) continue;
        ports[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    }
    return ports;
}

std::string TrustTestAuthority(const std::string& certDir) {
    std::string der = ReadWholeFile(certDir + "/ca.der");
    if (der.empty()) return "no test authority in " + certDir;
    HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    if (!root) return "the Root store did not open: error " + std::to_string(GetLastError());
    BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                  static_cast<DWORD>(der.size()), CERT_STORE_ADD_USE_EXISTING, nullptr);
    DWORD error = GetLastError();
    CertCloseStore(root, 0);
    return added ? std::string() : "the authority was not added: error " + std::to_string(error);
}
