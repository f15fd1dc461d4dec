#include "net/update_key/update_signing_key.h"

#include <cstdint>
#include <iterator>

namespace vantic {
namespace {

// kModulus and kExponent, generated at configure time from this library's
// key file.
#include "update_signing_key.inc"

}  // namespace

RsaPublicKey UpdateSigningKey() {
    return {Bytes(std::begin(kModulus), std::end(kModulus)),
            Bytes(std::begin(kExponent), std::end(kExponent))};
}

}  // namespace vantic
