#include "support/framework_failures.h"

#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"

namespace kestrel::test {

void PrintTo(const FrameworkFailure& f, std::ostream* os) { *os << f.name; }

const std::vector<FrameworkFailure>& framework_failures() {
  static const std::vector<FrameworkFailure> failures = {
      {"runtime", [] { throw Halden::Soa::Client::RuntimeException("boom"); }, 940222,
       "KRAL SOA: SOA runtime exception: boom"},
      {"not_loaded", [] { throw Halden::Soa::Client::NotLoadedException("gone"); }, 940223,
       "KRAL SOA: SOA not loaded exception: gone"},
      {"soa", [] { throw Halden::Soa::Common::Exceptions::SoaException("refused"); }, 940222,
       "KRAL SOA: SOA exception: refused"},
  };
  return failures;
}

}  // namespace kestrel::test
