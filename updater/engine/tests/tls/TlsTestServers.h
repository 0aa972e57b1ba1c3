// What the download tests need of the HTTPS servers of tls_test_server.py:
// their ports, and the trust of the tests' own authority in this prefix.
#pragma once

#include <map>
#include <string>

// The servers' ports by name ("trusted", "wrongname", "selfsigned",
// "otherca") from the state file the servers write; empty when none.
std::map<std::string, int> ReadTlsServerPorts(const std::string& stateFile);

// Adds the test authority (<certDir>/ca.der) to the current user's Root store
// of this Wine prefix, where the platform's certificate checks look for
// trusted roots. It stays there: overlapping runs of one build tree share
// the prefix and the authority, and its key never leaves the build tree.
// Empty on success, else what failed.
std::string TrustTestAuthority(const std::string& certDir);
