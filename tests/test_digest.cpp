// The reply digest, which later operations share; reached directly since no
// table entry of its own exposes it.
#include <string>
#include <vector>

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

// Many entries, each twice in the reply, into lists that already hold some:
// every entry lands once, after what the lists held, in reply order.
TEST_F(DigestTest, LargeRepliesKeepEachEntryOnceInOrder) {
  constexpr int kCount = 5000;
  ServiceData reply;
  HostObjects created, expected_created;
  std::vector<UString> deleted, expected_deleted;
  for (int i = 0; i < kCount; ++i) {
    auto* object = models.constructTypedObject("Folder", "uid-" + std::to_string(i));
    reply.created.push_back(object);
    reply.deleted.push_back("gone-" + std::to_string(i));
    if (i % 7 == 0) {
      created.push_back(host(object));
      deleted.emplace_back("gone-" + std::to_string(i));
    }
  }
  expected_created = created;
  expected_deleted = deleted;
  for (int i = 0; i < kCount; ++i) {
    if (i % 7 == 0) continue;
    expected_created.push_back(host(reply.created[static_cast<std::size_t>(i)]));
    expected_deleted.emplace_back(reply.deleted[static_cast<std::size_t>(i)]);
  }
  const auto objects = reply.created;
  const auto uids = reply.deleted;
  reply.created.insert(reply.created.end(), objects.begin(), objects.end());
  reply.deleted.insert(reply.deleted.end(), uids.begin(), uids.end());

  EXPECT_TRUE(digest_service_data(reply, &created, nullptr, nullptr, nullptr, &deleted));
  EXPECT_EQ(created, expected_created);
  EXPECT_EQ(deleted, expected_deleted);
}

TEST_F(DigestTest, HolesInTheReplyAreSkipped) {
  ServiceData reply;
  reply.created = {nullptr, a};
  reply.plain = {b, nullptr};
  HostObjects created, plain;
  EXPECT_TRUE(digest_service_data(reply, &created, nullptr, &plain, nullptr, nullptr));
  EXPECT_THAT(created, ElementsAre(host(a)));
  EXPECT_THAT(plain, ElementsAre(host(b)));
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
  HostObjects errors{host(c)};
  EXPECT_FALSE(digest_service_data(reply, nullptr, nullptr, nullptr, &errors, nullptr));
  EXPECT_THAT(errors, ElementsAre(host(c), host(b)));
  EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA ServiceData error: first", "KRAL SOA ServiceData error: second",
                                       "KRAL SOA ServiceData associated uid: b", "KRAL SOA ServiceData error: loose",
                                       "KRAL SOA ServiceData error: again", "KRAL SOA ServiceData associated uid: b"));
}

// The object a severe error names is logged whether or not the caller keeps
// a list of such objects.
TEST_F(DigestTest, AssociatedObjectIsLoggedWithoutAnErrorList) {
  ServiceData reply;
  reply.errors.emplace_back(b, -1, "", std::vector<ErrorValue>{{2, 3, "failed"}});
  EXPECT_FALSE(digest_service_data(reply, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_THAT(log_lines(), ElementsAre("KRAL SOA ServiceData error: failed", "KRAL SOA ServiceData associated uid: b"));
}

// Work per entry stays the same from a thousand entries to a hundred
// thousand: counted in index probes, not timed.
TEST_F(DigestTest, WorkGrowsLinearlyWithTheReply) {
  const auto probes_per_entry = [&](int count) {
    ServiceData reply;
    for (int i = 0; i < count; ++i) {
      auto* object = models.constructTypedObject("Folder", "n" + std::to_string(count) + "-" + std::to_string(i));
      reply.created.push_back(object);
      reply.updated.push_back(object);
      reply.deleted.push_back("gone-" + std::to_string(i));
      reply.errors.emplace_back(object, -1, "", std::vector<ErrorValue>{{1, 3, "e"}});
    }
    // Every entry twice, and lists that already hold some.
    reply.created.insert(reply.created.end(), reply.updated.begin(), reply.updated.end());
    HostObjects created{host(reply.updated[0])}, updated, errors;
    std::vector<UString> deleted{UString("gone-0")};
    const std::size_t before = digest_probes();
    digest_service_data(reply, &created, &updated, nullptr, &errors, &deleted);
    EXPECT_EQ(created.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(errors.size(), static_cast<std::size_t>(count));
    return static_cast<double>(digest_probes() - before) / count;
  };
  const double small = probes_per_entry(1000);
  const double large = probes_per_entry(100000);
  EXPECT_GT(small, 0.0);
  EXPECT_LT(large, 1.5 * small) << "probes per entry: " << small << " at 1,000, " << large << " at 100,000";
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
