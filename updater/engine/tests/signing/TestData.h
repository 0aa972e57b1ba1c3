// The tests' keys and the documented signature example, linked into each
// test program as resources (TestData.rc.in), so that a program carries them
// wherever it runs.
#pragma once

#define KV_TEST_SIGNING_KEY          301  // data/test-signing-key.pem (PKCS #1)
#define KV_TEST_SIGNING_PUBLIC_KEY   302  // data/test-signing-key.pub.pem
#define KV_OTHER_PUBLIC_KEY          303  // data/other-key.pub.pem
#define KV_EXAMPLE_PUBLIC_KEY        304  // docs/examples/manifest-example-public.pem
#define KV_EXAMPLE_MANIFEST          305  // docs/examples/manifest-example-Update.xml

#ifndef RC_INVOKED
#include <string>

// The bytes of one of the resources above; throws when it is missing.
std::string TestData(int id);
#endif
