#pragma once

// The public half of the update-signing key, compiled into the program. Two
// libraries define it from the same source: vantic_update_key_release (the
// key file VANTIC_UPDATE_KEY names, for the programs) and
// vantic_update_key_test (tests/data/update-test.pub, whose private half the
// tests sign with). A target links the test one only when it asks for it
// with vantic_use_test_update_key() in CMake.

#include "net/rsa_key.h"

namespace vantic {

[[nodiscard]] RsaPublicKey UpdateSigningKey();

}  // namespace vantic
