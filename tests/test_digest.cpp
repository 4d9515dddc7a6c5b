// The reply digest, which later operations share; reached directly since no
// table entry of its own exposes it.
#include "halden/soa/client/ModelManager.h"
#include "kestrel_utils.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::ErrorStack;
using Halden::Soa::Client::ErrorValue;
using Halden::Soa::Client::ModelManager;
using Halden::Soa::Client::ServiceData;
using ::testing::ElementsAre;

class DigestTest : public ::testing::Test {
 protected:
  DigestTest() {
    objmodel::testing::reset();
    clear_log();
    a = models.constructTypedObject("Folder", "a");
    b = models.constructTypedObject("Folder", "b");
    c = models.constructTypedObject("Folder", "c");
  }
  Orvane::PdmSoa::ModelObject* host(Halden::Soa::Client::ModelObject* o) {
    return Orvane::PdmSoa::SoaManager::GetObjectManager()->WrapSoaObjectWithUid(UString(o->getUid()), o);
  }
  ModelManager models;
  Halden::Soa::Client::ModelObject *a, *b, *c;
};

TEST_F(DigestTest, AppendsEachObjectOnceInReplyOrder) {
  ServiceData reply;
  reply.created = {a, b, a};
  reply.updated = {b};
  reply.plain = {c, c};
  reply.deleted = {"x", "y", "x"};
  HostObjects created{host(b)}, updated, plain;
  std::vector<UString> deleted{UString("y")};
  EXPECT_TRUE(digest_service_data(reply, &created, &updated, &plain, nullptr, &deleted));
  EXPECT_THAT(created, ElementsAre(host(b), host(a)));
  EXPECT_THAT(updated, ElementsAre(host(b)));  // in both lists: each list is its own
  EXPECT_THAT(plain, ElementsAre(host(c)));
  EXPECT_THAT(deleted, ElementsAre(UString("y"), UString("x")));
  EXPECT_EQ(log_text(), "");
}

TEST_F(DigestTest, NullListsAreSkipped) {
  ServiceData reply;
  reply.created = {a};
  reply.deleted = {"x"};
  EXPECT_TRUE(digest_service_data(reply, nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(DigestTest, OnlyLevelThreeErrorsCountAndAreLogged) {
  ServiceData reply;
  reply.errors.emplace_back(a, -1, "", std::vector<ErrorValue>{{1, 2, "warning only"}});
  reply.errors.emplace_back(b, -1, "", std::vector<ErrorValue>{{2, 3, "first"}, {3, 1, "info"}, {4, 3, "second"}});
  reply.errors.emplace_back(nullptr, -1, "", std::vector<ErrorValue>{{5, 3, "loose"}});
  reply.errors.emplace_back(b, -1, "", std::vector<ErrorValue>{{6, 3, "again"}});
  HostObjects errors;
  EXPECT_FALSE(digest_service_data(reply, nullptr, nullptr, nullptr, &errors, nullptr));
  EXPECT_THAT(errors, ElementsAre(host(b)));
  EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA ServiceData error: first", "KRAL SOA ServiceData error: second",
                                       "KRAL SOA ServiceData associated uid: b", "KRAL SOA ServiceData error: loose",
                                       "KRAL SOA ServiceData error: again", "KRAL SOA ServiceData associated uid: b"));
}

TEST_F(DigestTest, LowerLevelsLeaveTheResultTrue) {
  ServiceData reply;
  reply.errors.emplace_back(a, -1, "", std::vector<ErrorValue>{{1, 2, "warning"}, {1, 1, "note"}});
  HostObjects errors;
  EXPECT_TRUE(digest_service_data(reply, nullptr, nullptr, nullptr, &errors, nullptr));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(log_text(), "");
}

}  // namespace
}  // namespace kestrel::test
