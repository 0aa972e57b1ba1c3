# Makes the certificates of the TLS download tests with the openssl command
# line, into OUT_DIR:
#   ca.pem, ca.der           the test authority, trusted by the tests (DER for
#                            the Windows certificate store)
#   trusted.pem/.key         127.0.0.1, issued by the test authority
#   wrongname.pem/.key       localhost only, issued by the test authority
#   selfsigned.pem/.key      127.0.0.1, signed by itself
#   otherca.pem/.key         127.0.0.1, issued by an authority never trusted
# Run as: cmake -DOPENSSL=<openssl> -DOUT_DIR=<folder> -P MakeTestCertificates.cmake

foreach(var OPENSSL OUT_DIR)
  if(NOT ${var})
    message(FATAL_ERROR "MakeTestCertificates: ${var} is not set")
  endif()
endforeach()

set(work ${OUT_DIR}/work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${OUT_DIR} ${work})

function(run_openssl)
  execute_process(COMMAND ${OPENSSL} ${ARGN} WORKING_DIRECTORY ${work}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "openssl ${ARGN} failed (${result}):\n${out}")
  endif()
endfunction()

# A fresh random serial for each certificate: a verifier may cache by issuer
# and serial.
function(random_serial out)
  string(RANDOM LENGTH 16 ALPHABET 0123456789abcdef hex)
  set(${out} "0x7${hex}" PARENT_SCOPE)
endfunction()

# One configuration, a section for each kind of certificate. A server
# certificate names 127.0.0.1 both as an IP address and as a DNS name: some
# verifiers match an address only against IP entries, others only against
# DNS entries.
file(WRITE ${work}/certs.cnf "[req]
distinguished_name = dn
prompt = no
[dn]
CN = unused
[authority]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[loopback]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = IP:127.0.0.1,DNS:127.0.0.1
[wrongname]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
subjectAltName = DNS:localhost
[self]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
subjectAltName = IP:127.0.0.1,DNS:127.0.0.1
")

# A self-signed certificate and its key, with the extensions of `section`.
function(make_self_signed name subject section)
  random_serial(serial)
  run_openssl(req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -set_serial ${serial}
              -subj "${subject}" -config certs.cnf -extensions ${section}
              -keyout ${name}.key -out ${name}.pem)
endfunction()

# A server certificate issued by `authority`, with the extensions of `section`.
function(make_issued name subject authority section)
  random_serial(serial)
  run_openssl(req -new -newkey rsa:2048 -nodes -sha256 -subj "${subject}" -config certs.cnf
              -keyout ${name}.key -out ${name}.csr)
  run_openssl(x509 -req -in ${name}.csr -sha256 -days 3650 -set_serial ${serial}
              -CA ${authority}.pem -CAkey ${authority}.key -extfile certs.cnf -extensions ${section}
              -out ${name}.pem)
endfunction()

make_self_signed(ca "/O=Koravel Tests/CN=Koravel Test Authority" authority)
make_self_signed(untrusted-ca "/O=Koravel Tests/CN=Koravel Untrusted Authority" authority)
make_issued(trusted "/CN=127.0.0.1" ca loopback)
make_issued(wrongname "/CN=localhost" ca wrongname)
make_issued(otherca "/CN=127.0.0.1" untrusted-ca loopback)
make_self_signed(selfsigned "/CN=127.0.0.1" self)
run_openssl(x509 -in ca.pem -outform DER -out ca.der)

foreach(f ca.pem ca.der trusted.pem trusted.key wrongname.pem wrongname.key selfsigned.pem selfsigned.key
          otherca.pem otherca.key)
  file(COPY_FILE ${work}/${f} ${OUT_DIR}/${f})
endforeach()
file(REMOVE_RECURSE ${work})
