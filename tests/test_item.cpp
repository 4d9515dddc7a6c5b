// Items, revisions and datasets by id, the host's item registries, and the
// revision the current rule configures.
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "objmodel/SoaManager.h"
#include "objmodel/testing.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::ConfiguredRevisionRequest;
using Halden::Soa::Server::ConfiguredRevisionsReply;
using Halden::Soa::Server::ItemFromIdReply;
using Halden::Soa::Server::ItemIdRequest;
using Halden::Soa::Server::RelationFilterRecord;
using Orvane::PdmSoa::Dataset;
using Orvane::PdmSoa::Item;
using Orvane::PdmSoa::ItemRevision;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::NotNull;
using ::testing::Pair;
using ::testing::SizeIs;
using ::testing::StartsWith;

std::string Uid(const Orvane::PdmSoa::ModelObject* object) { return object ? object->GetUid().utf8() : "(none)"; }

template <class T>
std::vector<std::string> Uids(const std::vector<T*>& objects) {
  std::vector<std::string> uids;
  for (const auto* o : objects) uids.push_back(Uid(o));
  return uids;
}

std::map<std::string, std::string> Texts(const std::map<UString, UString>& registry) {
  std::map<std::string, std::string> out;
  for (const auto& [key, value] : registry) out[key.utf8()] = value.utf8();
  return out;
}

Item* HostItem(const std::string& uid) {
  return dynamic_cast<Item*>(SoaManager::GetObjectManager()->FindObject(UString(uid)));
}

struct Sent {
  std::vector<ItemIdRequest> ids;
  int count;
  std::vector<RelationFilterRecord> filters;
};

class ItemTest : public SessionTest {
 protected:
  ItemTest() {
    ConnectAndLogin();
    ClearRequests();
    ON_CALL(datamanagement, getItemFromId(_, _, _)).WillByDefault([this](const auto& ids, int count, const auto& f) {
      sent.push_back({ids, count, f});
      return world.datamanagement.getItemFromId(ids, count, f);
    });
  }

  std::vector<Item*> ItemsById(std::vector<ItemIdEntry> ids) {
    std::unique_ptr<std::vector<Item*>> items(table->KESTREL_get_items_by_id(ids, 0));
    return *items;
  }

  std::vector<Sent> sent;
};

TEST_F(ItemTest, RevisionWithoutIdIsTheNewest) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  clear_log();

  ItemRevision* revision = table->KESTREL_get_item_revision_by_id("K-1110", "", 0);

  ASSERT_THAT(revision, NotNull());
  EXPECT_EQ(Uid(revision), "rev-K-1110-C");
  ASSERT_THAT(sent, SizeIs(1));
  ASSERT_THAT(sent[0].ids, SizeIs(1));
  EXPECT_EQ(sent[0].ids[0].item_id, "K-1110");
  EXPECT_THAT(sent[0].ids[0].revision_ids, IsEmpty());
  EXPECT_EQ(sent[0].count, 1);
  EXPECT_THAT(sent[0].filters, IsEmpty());
  ASSERT_THAT(Requests(), ElementsAre("getItemFromId"));
  EXPECT_EQ(server.requests[0].policy, 2);
  EXPECT_EQ(log_text(), "KRAL SOA debug: Call to getItemFromId service");
  // The host learns which UID the revision id belongs to.
  ASSERT_THAT(HostItem("item-K-1110"), NotNull());
  EXPECT_THAT(Texts(HostItem("item-K-1110")->KnownRevs()), ElementsAre(Pair("C", "rev-K-1110-C")));
}

TEST_F(ItemTest, RevisionByIdAsksForThatRevisionAlone) {
  EXPECT_EQ(Uid(table->KESTREL_get_item_revision_by_id("K-1110", "A", 0)), "rev-K-1110-A");
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_THAT(sent[0].ids[0].revision_ids, ElementsAre("A"));
  EXPECT_EQ(sent[0].count, 0);
}

TEST_F(ItemTest, NothingFoundAnswersNone) {
  EXPECT_EQ(table->KESTREL_get_item_revision_by_id("", "A", 0), nullptr);
  EXPECT_THAT(table->KESTREL_get_datasets_by_id("", "", 0), IsEmpty());
  EXPECT_THAT(Requests(), IsEmpty()) << "an empty item id sends nothing";

  EXPECT_EQ(table->KESTREL_get_item_revision_by_id("K-404", "", 0), nullptr);
  EXPECT_EQ(table->KESTREL_get_items_and_revisions_by_id("K-404", 1, {}, 0), nullptr);
  EXPECT_THAT(ItemsById({{"K-404", {}}}), IsEmpty());
  EXPECT_THAT(table->KESTREL_get_datasets_by_id("K-404", "A", 0), IsEmpty());
  EXPECT_THAT(Requests(), ElementsAre("getItemFromId", "getItemFromId", "getItemFromId", "getItemFromId"));
}

struct ModeCase {
  int mode;
  bool master_models_only;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << "mode " << c.mode; }

class ItemModeTest : public ItemTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ItemModeTest, OnlyModeTwoSendsAFilter) {
  auto datasets = table->KESTREL_get_datasets_by_id("K-1110", "C", GetParam().mode);

  ASSERT_THAT(sent, SizeIs(1));
  if (GetParam().master_models_only) {
    ASSERT_THAT(sent[0].filters, SizeIs(1));
    EXPECT_EQ(sent[0].filters[0].relation, "OSTRA_specification");
    EXPECT_THAT(sent[0].filters[0].types, ElementsAre("TOVMASTER"));
    EXPECT_THAT(Uids(datasets), ElementsAre("ds-K-1110-C-master"));
  } else {
    EXPECT_THAT(sent[0].filters, IsEmpty());
    EXPECT_THAT(Uids(datasets),
                ElementsAre("ds-K-1110-C-master", "ds-K-1110-C-spec", "ds-K-1110-C-altrep", "ds-K-1110-C-fea"));
  }
  for (Dataset* dataset : datasets) EXPECT_EQ(dataset->ClassName(), Dataset::AskClassName());
}

INSTANTIATE_TEST_SUITE_P(Modes, ItemModeTest,
                         ::testing::Values(ModeCase{0, false}, ModeCase{1, false}, ModeCase{2, true},
                                           ModeCase{3, false}, ModeCase{-1, false}),
                         [](const auto& info) {
                           return info.param.mode < 0 ? std::string("Minus1")
                                                      : "Mode" + std::to_string(info.param.mode);
                         });

TEST_F(ItemTest, FirstItemIsAnsweredButEveryItemIsRegistered) {
  EXPECT_CALL(datamanagement, getItemFromId(_, _, _)).WillOnce([&](const auto& ids, int count, const auto& filters) {
    sent.push_back({ids, count, filters});
    return world.datamanagement.getItemFromId({ids[0], {"K-1100", {}}}, 1, filters);
  });

  Item* item = table->KESTREL_get_items_and_revisions_by_id("K-1200", 0, {"A", "B"}, 0);

  ASSERT_THAT(item, NotNull());
  EXPECT_EQ(Uid(item), "item-K-1200");
  EXPECT_EQ(sent[0].count, 0);
  EXPECT_THAT(sent[0].ids[0].revision_ids, ElementsAre("A", "B"));
  EXPECT_THAT(Texts(Item::KnownItems()), ElementsAre(Pair("K-1100", "item-K-1100"), Pair("K-1200", "item-K-1200")));
  EXPECT_THAT(Texts(item->KnownRevs()), ElementsAre(Pair("A", "rev-K-1200-A"), Pair("B", "rev-K-1200-B")));
  EXPECT_THAT(Texts(HostItem("item-K-1100")->KnownRevs()), ElementsAre(Pair("A", "rev-K-1100-A")));
  const auto& registered = SoaManager::GetObjectManager()->registered_datasets;
  ASSERT_THAT(registered, SizeIs(1));
  EXPECT_THAT(Uids(registered[0]), ElementsAre("ds-K-1200-A-master", "ds-K-1200-B-master", "ds-K-1200-B-jt",
                                               "ds-K-1100-A-master", "ds-K-1100-A-jt"));
}

TEST_F(ItemTest, ItemsByIdAskForTheNewestRevisionOfEach) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  clear_log();

  auto items = ItemsById({{"K-1000", {}}, {"K-404", {}}, {"K-1300", {"A"}}});

  EXPECT_THAT(Uids(items), ElementsAre("item-K-1000", "item-K-1300"));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_EQ(sent[0].count, 1);
  ASSERT_THAT(sent[0].ids, SizeIs(3));
  EXPECT_EQ(sent[0].ids[1].item_id, "K-404");
  EXPECT_THAT(sent[0].ids[2].revision_ids, ElementsAre("A"));
  EXPECT_THAT(log_text(), StartsWith("KRAL SOA debug: Call to getItemFromId service from KESTREL_get_items_by_id"
                                     "KRAL SOA debug: Call to getItemFromId service"));
  EXPECT_THAT(Texts(items[0]->KnownRevs()), ElementsAre(Pair("B", "rev-K-1000-B")));
}

TEST_F(ItemTest, RevisionsOfAHostItem) {
  Item* item = ItemsById({{"K-1110", {}}})[0];
  sent.clear();

  std::unique_ptr<std::vector<ItemRevision*>> revisions(
      table->KESTREL_get_item_revisions_by_id(item, 0, {"A", "C"}, 0));

  ASSERT_THAT(revisions, NotNull());
  EXPECT_THAT(Uids(*revisions), ElementsAre("rev-K-1110-A", "rev-K-1110-C"));
  EXPECT_EQ(sent[0].ids[0].item_id, "K-1110");
  EXPECT_EQ(Uid(table->KESTREL_get_item_revision_of_item(item, "", 0)), "rev-K-1110-C");
  EXPECT_EQ(Uid(table->KESTREL_get_item_revision_of_item(item, "B", 0)), "rev-K-1110-B");
  EXPECT_EQ(table->KESTREL_get_item_revisions_by_id(item, 0, {"Z"}, 0), nullptr);
}

TEST_F(ItemTest, RevisionEntryWithoutARevisionGivesANullEntry) {
  Item* item = ItemsById({{"K-1110", {}}})[0];
  EXPECT_CALL(datamanagement, getItemFromId(_, _, _)).WillOnce([&](const auto& ids, int count, const auto& filters) {
    auto reply = world.datamanagement.getItemFromId(ids, count, filters);
    reply.outputs[0].revisions.insert(reply.outputs[0].revisions.begin(), {"", {}});
    return reply;
  });

  std::unique_ptr<std::vector<ItemRevision*>> revisions(table->KESTREL_get_item_revisions_by_id(item, 0, {"A"}, 0));

  ASSERT_THAT(revisions, NotNull());
  EXPECT_THAT(Uids(*revisions), ElementsAre("(none)", "rev-K-1110-A"));
}

// An item the host holds as another class cannot be had as an item: it is
// skipped where the host item is needed, and nothing dereferences it.
TEST_F(ItemTest, ItemTheHostCannotGiveIsSkipped) {
  auto* server_item = table->KESTREL_ask_connection()->getModelManager()->constructTypedObject("Item", "item-K-1300");
  SoaManager::GetObjectManager()->WrapSoaObjectAsClass(server_item, Dataset::AskClassName());

  EXPECT_THAT(ItemsById({{"K-1300", {}}}), ElementsAre(nullptr));
  EXPECT_EQ(table->KESTREL_get_items_and_revisions_by_id("K-1300", 1, {}, 0), nullptr);
  EXPECT_EQ(Uid(table->KESTREL_get_item_revision_by_id("K-1300", "", 0)), "rev-K-1300-A");
  EXPECT_THAT(Texts(Item::KnownItems()), ElementsAre(Pair("K-1300", "item-K-1300")));
  EXPECT_THAT(SoaManager::GetObjectManager()->registered_datasets, SizeIs(2));
}

// Holes in a reply are skipped: an output without an item object keeps its
// place as null and records no ids, though its datasets are registered; a
// dataset the host cannot give as a dataset is left out.
TEST_F(ItemTest, RepliesWithHolesAreSkipped) {
  auto* server_dataset =
      table->KESTREL_ask_connection()->getModelManager()->constructTypedObject("Dataset", "ds-K-1100-A-jt");
  SoaManager::GetObjectManager()->WrapSoaObjectAsClass(server_dataset, Item::AskClassName());
  EXPECT_CALL(datamanagement, getItemFromId(_, _, _)).WillOnce([&](const auto& ids, int count, const auto& filters) {
    auto reply = world.datamanagement.getItemFromId(ids, count, filters);
    reply.outputs[0].item_uid.clear();
    return reply;
  });

  EXPECT_THAT(Uids(ItemsById({{"K-1200", {}}, {"K-1100", {}}})), ElementsAre("(none)", "item-K-1100"));

  EXPECT_THAT(Texts(Item::KnownItems()), ElementsAre(Key("K-1100")));
  const auto& registered = SoaManager::GetObjectManager()->registered_datasets;
  ASSERT_THAT(registered, SizeIs(1));
  EXPECT_THAT(Uids(registered[0]), ElementsAre("ds-K-1200-B-master", "ds-K-1200-B-jt", "ds-K-1100-A-master"));
}

TEST_F(ItemTest, NullHostItemAnswersNoneWithoutARequest) {
  EXPECT_EQ(table->KESTREL_get_item_revisions_by_id(nullptr, 0, {"A"}, 0), nullptr);
  EXPECT_EQ(table->KESTREL_get_item_revision_of_item(nullptr, "A", 0), nullptr);
  EXPECT_THAT(Requests(), IsEmpty());
}

// --- configured revisions ----------------------------------------------------

class ConfiguredTest : public ItemTest {
 protected:
  ConfiguredTest() {
    frame = ItemsById({{"K-1110", {}}})[0];
    ClearRequests();
  }
  Item* frame = nullptr;
};

TEST_F(ConfiguredTest, CurrentRuleConfiguresAndTheGivenNameRecords) {
  std::vector<ConfiguredRevisionRequest> asked;
  EXPECT_CALL(structuremanagement, getConfiguredRevisions(_)).Times(3).WillRepeatedly([&](const auto& requests) {
    asked.insert(asked.end(), requests.begin(), requests.end());
    return world.structuremanagement.getConfiguredRevisions(requests);
  });

  ItemRevision* working = table->KESTREL_ask_configured_revision("K-1110", "Latest Working");
  ItemRevision* same = table->KESTREL_ask_configured_revision_2("K-1110", "As designed");
  ASSERT_EQ(table->KESTREL_set_configuration_rule("Latest Released", false), 0);
  ItemRevision* released = table->KESTREL_ask_configured_revision("K-1110", "Latest Released");

  EXPECT_EQ(Uid(working), "rev-K-1110-C");
  EXPECT_EQ(same, working) << "the name given plays no part in choosing";
  EXPECT_EQ(Uid(released), "rev-K-1110-B");
  ASSERT_THAT(asked, SizeIs(3));
  EXPECT_EQ(asked[0].item_uid, "item-K-1110");
  EXPECT_EQ(asked[0].rule_uid, "rule-latest-working");
  EXPECT_EQ(asked[2].rule_uid, "rule-latest-released");
  for (const auto& request : server.requests) {
    if (request.operation == "getConfiguredRevisions") {
      EXPECT_EQ(request.policy, 2);
    }
  }
  EXPECT_THAT(Texts(frame->KnownConfigdRevs()),
              ElementsAre(Pair("As designed", "rev-K-1110-C"), Pair("Latest Released", "rev-K-1110-B"),
                          Pair("Latest Working", "rev-K-1110-C")));
}

// The rule cache and the relation filters outlive the session; the next
// session's calls read them, not the host objects logout freed.
TEST_F(ConfiguredTest, TheRuleCacheAndFiltersServeTheNextSession) {
  ASSERT_EQ(table->KESTREL_set_configuration_rule("Latest Released", false), 0);
  table->KESTREL_get_datasets_by_id("K-1110", "C", 2);
  table->KESTREL_logout(false);
  ConnectAndLogin();
  ItemsById({{"K-1110", {}}});
  sent.clear();
  ClearRequests();

  ItemRevision* released = table->KESTREL_ask_configured_revision("K-1110", "Latest Released");
  const auto datasets = table->KESTREL_get_datasets_by_id("K-1110", "C", 2);

  EXPECT_EQ(Uid(released), "rev-K-1110-B");
  EXPECT_THAT(Uids(datasets), ElementsAre("ds-K-1110-C-master"));
  ASSERT_THAT(sent, SizeIs(1));
  EXPECT_EQ(sent[0].filters[0].relation, "OSTRA_specification");
}

TEST_F(ConfiguredTest, UnknownItemOrNoCurrentRuleAsksNothing) {
  EXPECT_CALL(structuremanagement, getConfiguredRevisions(_)).Times(0);

  EXPECT_EQ(table->KESTREL_ask_configured_revision("K-404", "Latest Working"), nullptr);
  objmodel::testing::set_current_config_rule(nullptr, nullptr);
  EXPECT_EQ(table->KESTREL_ask_configured_revision("K-1110", "Latest Working"), nullptr);
  EXPECT_THAT(frame->KnownConfigdRevs(), IsEmpty());
}

TEST_F(ConfiguredTest, NullRuleNameRecordsNothing) {
  EXPECT_EQ(Uid(table->KESTREL_ask_configured_revision("K-1110", nullptr)), "rev-K-1110-C");
  EXPECT_THAT(frame->KnownConfigdRevs(), IsEmpty());
}

TEST_F(ConfiguredTest, NothingConfiguredAnswersNone) {
  EXPECT_CALL(structuremanagement, getConfiguredRevisions(_)).WillOnce([](const auto&) {
    return ConfiguredRevisionsReply{};
  });
  EXPECT_EQ(table->KESTREL_ask_configured_revision("K-1110", "Latest Working"), nullptr);
  EXPECT_THAT(frame->KnownConfigdRevs(), IsEmpty());
}

// --- framework exceptions ----------------------------------------------------

// Each operation fails in its request and registers nothing.
class ItemConversion : public ConversionTest<ItemConversion, ConfiguredTest> {
 public:
  static constexpr const char* kFile = "kestrel_item.cpp";
  static std::vector<Operation> Operations() {
    const auto fail_by_id = [](ItemConversion& t, const std::function<void()>& fail) {
      ON_CALL(t.datamanagement, getItemFromId(_, _, _))
          .WillByDefault([fail](const auto&, int, const auto&) -> ItemFromIdReply {
            fail();
            return {};
          });
    };
    const auto registers_nothing = [](ItemConversion& t) {
      EXPECT_THAT(Texts(Item::KnownItems()), ElementsAre(Key("K-1110")));
      EXPECT_THAT(t.frame->KnownConfigdRevs(), IsEmpty());
    };
    return {
        {"ItemsById", fail_by_id,
         [](ItemConversion& t) {
           t.table->KESTREL_get_items_by_id({{"K-1200", {}}}, 0);
         },
         registers_nothing},
        {"RevisionById", fail_by_id,
         [](ItemConversion& t) { t.table->KESTREL_get_item_revision_by_id("K-1200", "", 0); }, registers_nothing},
        {"DatasetsById", fail_by_id, [](ItemConversion& t) { t.table->KESTREL_get_datasets_by_id("K-1200", "", 0); },
         registers_nothing},
        {"ConfiguredRevision",
         [](ItemConversion& t, const std::function<void()>& fail) {
           ON_CALL(t.structuremanagement, getConfiguredRevisions(_))
               .WillByDefault([fail](const auto&) -> ConfiguredRevisionsReply {
                 fail();
                 return {};
               });
         },
         [](ItemConversion& t) { t.table->KESTREL_ask_configured_revision("K-1110", "Latest Working"); },
         registers_nothing},
    };
  }
};
KESTREL_CONVERSION_SUITE(ItemConversion);

}  // namespace
}  // namespace kestrel::test
