// Saving assembly structure in batches through slots 21 to 28, against the
// sample world: what each layout sends, how repeated calls merge, what the
// commit hands back, the debug dumps, and a structure saved, shown and
// removed again.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cadlink/testing.h"
#include "corerun/clock.h"
#include "corerun/testing.h"
#include "halden/soa/client/Connection.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"
#include "objmodel/ModelObject.h"
#include "objmodel/ModelObjectManager.h"
#include "objmodel/SoaManager.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::DateTime;
using Halden::Soa::Common::Exceptions::SoaException;
using Halden::Soa::Server::ChildRecord;
using Halden::Soa::Server::DeleteStructureRecord;
using Halden::Soa::Server::DeleteStructureRecord2;
using Halden::Soa::Server::RelativeStructureOptions;
using Halden::Soa::Server::RelativeStructureOptions2;
using Halden::Soa::Server::RelativeStructureRecord;
using Halden::Soa::Server::RelativeStructureRecord2;
using Halden::Soa::Server::RelativeStructureReply;
using Halden::Soa::Server::WireServiceData;
using Orvane::PdmSoa::BomLine;
using Orvane::PdmSoa::Component;
using Orvane::PdmSoa::ItemRevision;
using Orvane::PdmSoa::SoaManager;
using ::testing::_;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::IsNull;
using ::testing::Key;
using ::testing::NotNull;
using ::testing::Pair;
using ::testing::SizeIs;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

using Texts = std::map<std::string, std::string>;
using Components = std::map<std::string, Component*>;

const double kMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.125, -2.5, 1e-3, 1};
const double kTurned[16] = {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};

template <class Call>
struct Sent {
  std::vector<Call> calls;
  const Call& last() const { return calls.back(); }
};

struct UpdateCall {
  std::vector<RelativeStructureRecord> parents;
  std::string view_type;
  bool complete;
  RelativeStructureOptions options;
};
struct UpdateCall2 {
  std::vector<RelativeStructureRecord2> parents;
  std::string view_type;
  bool complete;
  RelativeStructureOptions2 options;
};
struct DeleteCall {
  std::vector<DeleteStructureRecord> parents;
  std::string view_type;
  RelativeStructureOptions options;
};
struct DeleteCall2 {
  std::vector<DeleteStructureRecord2> parents;
  std::string view_type;
  RelativeStructureOptions2 options;
};

class BatchTest : public SessionTest {
 protected:
  BatchTest() {
    world.add_item("K-2000", "Service trolley");
    world.add_item_revision("K-2000", "A", false);
    world.add_item("K-3000", "Tool rack");
    world.add_item_revision("K-3000", "A", false);
    // Every request is answered by the world and kept for the test to read.
    auto& sm = structuremanagement;
    ON_CALL(sm, createOrUpdateRelativeStructure)
        .WillByDefault([this](const auto& parents, const auto& view, bool complete, const auto& options) {
          updates.calls.push_back({parents, view, complete, options});
          return world.structuremanagement.createOrUpdateRelativeStructure(parents, view, complete, options);
        });
    ON_CALL(sm, createOrUpdateRelativeStructure2)
        .WillByDefault([this](const auto& parents, const auto& view, bool complete, const auto& options) {
          updates2.calls.push_back({parents, view, complete, options});
          return world.structuremanagement.createOrUpdateRelativeStructure2(parents, view, complete, options);
        });
    ON_CALL(sm, deleteRelativeStructure).WillByDefault([this](const auto& parents, const auto& view, const auto& o) {
      deletes.calls.push_back({parents, view, o});
      return world.structuremanagement.deleteRelativeStructure(parents, view, o);
    });
    ON_CALL(sm, deleteRelativeStructure2).WillByDefault([this](const auto& parents, const auto& view, const auto& o) {
      deletes2.calls.push_back({parents, view, o});
      return world.structuremanagement.deleteRelativeStructure2(parents, view, o);
    });
    ConnectAndLogin();
    clear_log();
  }
  ~BatchTest() override {
    for (auto& list : lines_)
      for (BomLine* line : *list) delete line;
  }

  ItemRevision* Revision(const std::string& item_id, const std::string& revision_id = "A") {
    ItemRevision* revision = table->KESTREL_get_item_revision_by_id(item_id, revision_id, 0);
    EXPECT_THAT(revision, NotNull());
    return revision;
  }

  // A host object the host already holds, without a request.
  static Orvane::PdmSoa::ModelObject* Held(const std::string& uid) {
    return SoaManager::GetObjectManager()->FindObject(UString(uid));
  }

  std::string Add(int assy_id, int comp_id, Orvane::PdmSoa::ModelObject* child, const std::string& cad_occ_id = "",
                  const double* transform = nullptr, bool as_required = false, const Texts* notes = nullptr,
                  const Texts* attributes = nullptr) {
    return table->KESTREL_RelativeStructureAddChild(assy_id, comp_id, child, cad_occ_id, transform, as_required, notes,
                                                    attributes);
  }

  // Commits and takes the host's part of the results.
  std::map<std::string, std::string>* Commit(bool complete = true) {
    Components* components_out = reinterpret_cast<Components*>(&components_out);  // any stale value
    try {
      handles_.reset(table->KESTREL_RelativeStructureUpdateCommit(complete, &components_out));
    } catch (...) {
      // A commit that raises hands out no map.
      EXPECT_THAT(components_out, IsNull());
      throw;
    }
    components_.reset(components_out);
    return handles_.get();
  }
  const Components& components() const { return *components_; }

  // The item ids of the lines under the top line of a new window on the
  // revision.
  std::vector<std::string> Shown(const std::string& item_id) {
    auto* window = table->KESTREL_create_bom_window("rev-" + item_id + "-A");
    auto* top = table->KESTREL_ask_bom_top_line(window);
    lines_.emplace_back(table->KESTREL_expand_bom_line(top, 0));
    std::vector<std::string> shown;
    for (BomLine* line : *lines_.back())
      shown.push_back(line->GetObjectPtr()->getProperty("bl_item_item_id")->getStringValue());
    return shown;
  }

  // One child, K-1100 as "1_1" under K-2000, whose commit gets the world's
  // reply as tweak changes it.
  void OneChildWithReply(std::function<void(RelativeStructureReply&)> tweak) {
    table->KESTREL_RelativeStructureUpdateStart();
    table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
    Add(1, 1, Revision("K-1100"));
    EXPECT_CALL(structuremanagement, createOrUpdateRelativeStructure2)
        .WillOnce([this, tweak](const auto& parents, const auto& view, bool complete, const auto& options) {
          auto reply = world.structuremanagement.createOrUpdateRelativeStructure2(parents, view, complete, options);
          tweak(reply);
          return reply;
        });
  }

  // The thread UID a handle ends in.
  static std::string ThreadOf(const std::string& handle) { return handle.substr(handle.rfind(' ') + 1); }

  void Debug() {
    MACH__checking_level = 1;
    corerun::testing::set_debug_flag("TOVMGR_soa_save_assy", true);
  }

  Sent<UpdateCall> updates;
  Sent<UpdateCall2> updates2;
  Sent<DeleteCall> deletes;
  Sent<DeleteCall2> deletes2;

 private:
  std::unique_ptr<std::map<std::string, std::string>> handles_;
  std::unique_ptr<Components> components_;
  std::vector<std::unique_ptr<std::vector<BomLine*>>> lines_;
};

// --- the round trip, in both layouts -------------------------------------------

class LayoutTest : public BatchTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LayoutTest, SavedStructureShowsInANewWindowAndDeletesByThread) {
  cadlink::testing::set_service_2007_12_available(GetParam());
  ItemRevision* trolley = Revision("K-2000");
  ItemRevision* chassis = Revision("K-1100");
  ItemRevision* bolt = Revision("K-9001");
  const Texts notes = {{"UG NAME", "chassis-1"}};
  const Texts attributes = {{"bl_occ_colour", "red"}};

  EXPECT_EQ(table->KESTREL_RelativeStructureUpdateStart(), 0);
  EXPECT_EQ(table->KESTREL_RelativeStructureUpdateStartAssy(4, trolley, false, nullptr), 0);
  EXPECT_EQ(Add(4, 1, chassis, "cad-1", kMatrix, false, &notes, &attributes), "4_1");
  EXPECT_EQ(Add(4, 2, bolt, "cad-2"), "4_2");
  auto* handles = Commit();

  ASSERT_THAT(handles, NotNull());
  // A new assembly: its BOM view comes with the reply.
  EXPECT_THAT(*handles, ElementsAre(Pair("4_1", "rev-K-2000-A bvr-K-2000-A thread-1"),
                                    Pair("4_2", "rev-K-2000-A bvr-K-2000-A thread-2")));
  ASSERT_THAT(components(), ElementsAre(Key("4_1"), Key("4_2")));
  EXPECT_EQ(components().at("4_1")->GetUid().utf8(), "occ-1");
  EXPECT_EQ(components().at("4_1")->GetComponentHandle().utf8(), "rev-K-2000-A bvr-K-2000-A thread-1");
  EXPECT_EQ(GetParam() ? updates2.calls.size() : updates.calls.size(), 1u);
  EXPECT_EQ(server.requests.back().service,
            GetParam() ? "Cad-2007-12-StructureManagement" : "Cad-2007-01-StructureManagement");
  EXPECT_EQ(server.requests.back().policy, 2);

  auto saved = world.saved_occurrence("thread-1");
  ASSERT_THAT(saved, NotNull());
  EXPECT_EQ(saved->child_item_id, "K-1100");
  EXPECT_EQ(saved->cad_occ_id, "cad-1");
  EXPECT_EQ(saved->transform, std::vector<double>(kMatrix, kMatrix + 16));
  EXPECT_EQ(saved->notes.at(0).text, "chassis-1");
  EXPECT_EQ(saved->attributes.at(0).value, "red");
  EXPECT_THAT(Shown("K-2000"), ElementsAre("K-1100", "K-9001"));

  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteStart(), 0);
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteStartAssy(9, trolley, nullptr), 0);
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteChild(9, ThreadOf(handles->at("4_1"))), 0);
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteCommit(), 0);

  EXPECT_EQ(GetParam() ? deletes2.calls.size() : deletes.calls.size(), 1u);
  EXPECT_THAT(world.saved_occurrence("thread-1"), IsNull());
  EXPECT_THAT(Shown("K-2000"), ElementsAre("K-9001"));
  EXPECT_THAT(SoaManager::GetObjectManager()->deleted_reports, ElementsAre(ElementsAre("occ-1")));
}

TEST_P(LayoutTest, ChangingByCadOccIdKeepsTheOccurrence) {
  cadlink::testing::set_service_2007_12_available(GetParam());
  ItemRevision* trolley = Revision("K-2000");
  const Texts first = {{"UG NAME", "a"}, {"UG REF", "r"}};
  const Texts second = {{"UG NAME", "b"}};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr);
  Add(1, 1, Revision("K-1100"), "cad-1", kMatrix, true, &first);
  const std::string handle = Commit()->at("1_1");

  // The host's second save names the occurrence by its cadOccId alone.
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr);
  Add(1, 7, nullptr, "cad-1", kTurned, false, &second);
  auto* handles = Commit();

  EXPECT_THAT(*handles, ElementsAre(Pair("1_7", handle)));
  // An occurrence changed, not created, is no component of the reply.
  EXPECT_THAT(components(), IsEmpty());
  auto saved = world.saved_occurrence(ThreadOf(handle));
  ASSERT_THAT(saved, NotNull());
  EXPECT_EQ(saved->child_item_id, "K-1100");
  EXPECT_EQ(saved->transform, std::vector<double>(kTurned, kTurned + 16));
  ASSERT_THAT(saved->notes, SizeIs(2));
  EXPECT_EQ(saved->notes[0].text, "b");
  EXPECT_THAT(Shown("K-2000"), ElementsAre("K-1100"));
}

// A reused AssyId whose newest parent got no child: that parent is not sent,
// and the reply's entries belong to the parent that was.
TEST_P(LayoutTest, ReusedAssyIdAnswersForTheParentSentWhenTheNewestIsChildless) {
  cadlink::testing::set_service_2007_12_available(GetParam());
  ItemRevision* trolley = Revision("K-2000");
  // K-3000 has no BOM view; K-1000 has one, which must not be named.
  for (const char* childless : {"K-3000", "K-1000"}) {
    SCOPED_TRACE(childless);
    table->KESTREL_RelativeStructureUpdateStart();
    table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr);
    Add(1, 1, Revision("K-1100"));
    table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision(childless), false, nullptr);
    auto* handles = Commit();

    const auto sent = GetParam() ? updates2.last().parents.size() : updates.last().parents.size();
    EXPECT_EQ(sent, 1u);
    ASSERT_THAT(handles, NotNull());
    ASSERT_THAT(*handles, ElementsAre(Key("1_1")));
    const std::string& handle = handles->at("1_1");
    EXPECT_THAT(handle, StartsWith("rev-K-2000-A bvr-K-2000-A thread-"));
    auto saved = world.saved_occurrence(ThreadOf(handle));
    EXPECT_EQ(saved ? saved->parent_uid : "(no occurrence)", "rev-K-2000-A");
    ASSERT_THAT(components(), ElementsAre(Key("1_1")));
    EXPECT_EQ(components().at("1_1")->GetComponentHandle().utf8(), handle);
  }
}

// An AssyId started again for another parent, both with children: each
// handle and component names the parent its child was sent under; a client
// id sent under both cannot be told apart, and the newer parent answers.
TEST_P(LayoutTest, ReusedAssyIdAnswersEachChildForTheParentItWasSentUnder) {
  cadlink::testing::set_service_2007_12_available(GetParam());
  struct Case {
    int second_comp_id;
    std::vector<std::pair<std::string, std::string>> parents;  // client id, parent uid
  };
  const Case cases[] = {{2, {{"1_1", "rev-K-2000-A"}, {"1_2", "rev-K-1000-A"}}}, {1, {{"1_1", "rev-K-1000-A"}}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second_comp_id);
    table->KESTREL_RelativeStructureUpdateStart();
    table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
    Add(1, 1, Revision("K-1100"));
    table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-1000"), false, nullptr);
    Add(1, c.second_comp_id, Revision("K-1200"));
    auto* handles = Commit();

    ASSERT_THAT(handles, NotNull());
    ASSERT_EQ(handles->size(), c.parents.size());
    for (const auto& [client_id, parent] : c.parents) {
      SCOPED_TRACE(client_id);
      const std::string& handle = handles->at(client_id);
      const std::string bom_view = "bvr-" + parent.substr(4);
      EXPECT_THAT(handle, StartsWith(parent + " " + bom_view + " thread-"));
      if (c.parents.size() > 1) {
        auto saved = world.saved_occurrence(ThreadOf(handle));
        EXPECT_EQ(saved ? saved->parent_uid : "(no occurrence)", parent);
      }
      ASSERT_THAT(components(), Contains(Key(client_id)));
      EXPECT_EQ(components().at(client_id)->GetComponentHandle().utf8(), handle);
    }
  }
}

// The same for a delete batch whose commit failed: the AssyId names its
// remaining parent, which gets the later uids, and the retry sends it.
TEST_P(LayoutTest, FailedDeleteCommitKeepsTheBatchForARetry) {
  cadlink::testing::set_service_2007_12_available(GetParam());
  ItemRevision* cart = Revision("K-1000");
  ItemRevision* trolley = Revision("K-2000");
  int failures = 1;
  auto fail_once = [&] {
    if (failures-- > 0) throw RuntimeException("server busy");
  };
  ON_CALL(structuremanagement, deleteRelativeStructure).WillByDefault([&](const auto& p, const auto& v, const auto& o) {
    fail_once();
    deletes.calls.push_back({p, v, o});
    return world.structuremanagement.deleteRelativeStructure(p, v, o);
  });
  ON_CALL(structuremanagement, deleteRelativeStructure2)
      .WillByDefault([&](const auto& p, const auto& v, const auto& o) {
        fail_once();
        deletes2.calls.push_back({p, v, o});
        return world.structuremanagement.deleteRelativeStructure2(p, v, o);
      });
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(2, cart, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(2, "thread-c");
  table->KESTREL_RelativeStructureDeleteStartAssy(1, trolley, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-a");
  table->KESTREL_RelativeStructureDeleteStartAssy(1, cart, nullptr);
  ClearRequests();

  EXPECT_THAT([&] { table->KESTREL_RelativeStructureDeleteCommit(); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: server busy", "kestrel_bom.cpp"));
  EXPECT_THAT(Requests(), ElementsAre("deleteRelativeStructure"));
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-b");
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteCommit(), 0);

  std::vector<std::pair<std::string, std::vector<std::string>>> sent;
  if (GetParam()) {
    ASSERT_THAT(deletes2.calls, SizeIs(1));
    for (const auto& record : deletes2.last().parents) sent.emplace_back(record.parent_uid, record.thread_uids);
  } else {
    ASSERT_THAT(deletes.calls, SizeIs(1));
    for (const auto& record : deletes.last().parents) sent.emplace_back(record.parent_uid, record.thread_uids);
  }
  EXPECT_THAT(sent, ElementsAre(Pair("rev-K-1000-A", ElementsAre("thread-c")),
                                Pair("rev-K-2000-A", ElementsAre("thread-a", "thread-b"))));
  // The commit that went through ended the batch.
  ClearRequests();
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteCommit(), 0);
  EXPECT_THAT(Requests(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Layout2007_12" : "OlderLayout"; });

// --- what reaches the server ---------------------------------------------------

TEST_F(BatchTest, NewerLayoutSendsRecordsDatesAndOptions) {
  ItemRevision* trolley = Revision("K-2000");
  ItemRevision* cart = Revision("K-1000");
  ItemRevision* chassis = Revision("K-1100");
  const Texts notes = {{"UG NAME", "n1"}, {"A", "x"}};
  const Texts attributes = {{"bl_occ_colour", "red"}};
  date_s seen{2024, 2, 5, 8, 30, 0};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, true, nullptr);
  Add(1, 3, chassis, "cad-1", kMatrix, true, &notes, &attributes);
  table->KESTREL_RelativeStructureUpdateStartAssy(2, cart, false, &seen);
  Add(2, 3, nullptr, "cad-9");
  Commit(false);

  ASSERT_THAT(updates2.calls, SizeIs(1));
  EXPECT_THAT(updates.calls, IsEmpty());
  const auto& call = updates2.last();
  EXPECT_EQ(call.view_type, "view");
  EXPECT_FALSE(call.complete);
  EXPECT_TRUE(call.options.flag);
  EXPECT_EQ(call.options.cad_occ_id_attribute, "bl_occurrence_uid");
  EXPECT_THAT(call.options.object_types, IsEmpty());
  ASSERT_THAT(call.parents, SizeIs(2));
  EXPECT_EQ(call.parents[0].parent_uid, "rev-K-2000-A");
  EXPECT_TRUE(call.parents[0].precise);
  EXPECT_TRUE(call.parents[0].last_modified.isNullDate());
  EXPECT_EQ(call.parents[1].last_modified, DateTime(2024, 3, 5, 8, 30, 0));
  ASSERT_THAT(call.parents[0].children, SizeIs(1));
  const ChildRecord& child = call.parents[0].children[0];
  EXPECT_EQ(child.client_id, "1_3");
  EXPECT_EQ(child.cad_occ_id, "cad-1");
  EXPECT_EQ(child.child_uid, "rev-K-1100-A");
  EXPECT_TRUE(child.as_required);
  EXPECT_EQ(child.transform, std::vector<double>(kMatrix, kMatrix + 16));
  ASSERT_THAT(child.notes, SizeIs(2));
  EXPECT_EQ(child.notes[0].type, "A");  // in key order
  EXPECT_EQ(child.notes[1].text, "n1");
  ASSERT_THAT(child.attributes, SizeIs(1));
  EXPECT_EQ(child.attributes[0].name, "bl_occ_colour");
  // CompIds are per parent: the same one under two AssyIds is two children.
  EXPECT_EQ(call.parents[1].children.at(0).client_id, "2_3");
  EXPECT_EQ(call.parents[1].children.at(0).child_uid, "");
}

TEST_F(BatchTest, OlderLayoutSendsNoDateAndItsOwnOptions) {
  cadlink::testing::set_service_2007_12_available(false);
  date_s seen{2024, 2, 5, 8, 30, 0};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), true, &seen);
  Add(1, 1, Revision("K-1100"));
  Commit();

  EXPECT_THAT(updates2.calls, IsEmpty());
  ASSERT_THAT(updates.calls, SizeIs(1));
  EXPECT_EQ(updates.last().options.cad_occ_id_attribute, "bl_occurrence_uid");
  EXPECT_THAT(updates.last().options.object_types, IsEmpty());
  ASSERT_THAT(updates.last().parents, SizeIs(1));
  EXPECT_TRUE(updates.last().parents[0].precise);
  EXPECT_EQ(updates.last().parents[0].children.at(0).client_id, "1_1");
}

TEST_F(BatchTest, RepeatedChildMergesIntoOne) {
  const Texts first_notes = {{"UG NAME", "a"}, {"UG REF", "r"}};
  const Texts second_notes = {{"UG NAME", "b"}, {"UG TAG", "t"}};
  const Texts first_attrs = {{"colour", "red"}};
  const Texts second_attrs = {{"colour", "blue"}, {"finish", "matt"}};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  EXPECT_EQ(Add(1, 5, Revision("K-1100"), "cad-1", kMatrix, true, &first_notes, &first_attrs), "1_5");
  // Empty texts and a false asRequired leave what the first call set; a
  // second matrix replaces the first.
  EXPECT_EQ(Add(1, 5, Revision("K-1300"), "", kTurned, false, &second_notes, &second_attrs), "1_5");
  Commit();

  ASSERT_THAT(updates2.last().parents.at(0).children, SizeIs(1));
  const ChildRecord& child = updates2.last().parents[0].children[0];
  EXPECT_EQ(child.cad_occ_id, "cad-1");
  EXPECT_EQ(child.child_uid, "rev-K-1300-A");
  EXPECT_TRUE(child.as_required);
  EXPECT_EQ(child.transform, std::vector<double>(kTurned, kTurned + 16));
  ASSERT_THAT(child.notes, SizeIs(3));
  EXPECT_EQ(child.notes[0].type, "UG NAME");
  EXPECT_EQ(child.notes[0].text, "b");
  EXPECT_EQ(child.notes[1].text, "r");
  EXPECT_EQ(child.notes[2].type, "UG TAG");
  ASSERT_THAT(child.attributes, SizeIs(2));
  EXPECT_EQ(child.attributes[0].value, "blue");
  EXPECT_EQ(child.attributes[1].name, "finish");
}

// Repeated calls on one child keep each key where it first came and take the
// last text given for it; each child keeps its own keys.
TEST_F(BatchTest, RepeatedMergesKeepTheFirstPlaceOfEachKeyAndTheLastText) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  struct Step {
    int comp_id;
    Texts notes, attributes;
  };
  const Step steps[] = {
      {1, {{"B", "1"}, {"D", "1"}}, {}},
      {1, {{"A", "2"}, {"D", "2"}}, {{"x", "2"}}},
      {2, {{"D", "b1"}}, {{"x", "b1"}, {"y", "b1"}}},
      {1, {{"A", "3"}, {"C", "3"}, {"E", "3"}}, {{"w", "3"}, {"x", "3"}}},
      {2, {{"A", "b2"}, {"D", "b2"}}, {{"y", "b2"}}},
      {1, {{"B", "4"}}, {{"x", "4"}, {"z", "4"}}},
      {1, {}, {}},
  };
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  for (const Step& step : steps)
    Add(1, step.comp_id, Revision("K-1100"), "", nullptr, false, &step.notes, &step.attributes);
  Commit();

  const auto& children = updates2.last().parents.at(0).children;
  ASSERT_THAT(children, SizeIs(2));
  auto notes_of = [](const ChildRecord& child) {
    Entries entries;
    for (const auto& note : child.notes) entries.emplace_back(note.type, note.text);
    return entries;
  };
  auto attributes_of = [](const ChildRecord& child) {
    Entries entries;
    for (const auto& attribute : child.attributes) entries.emplace_back(attribute.name, attribute.value);
    return entries;
  };
  EXPECT_EQ(notes_of(children[0]), (Entries{{"B", "4"}, {"D", "2"}, {"A", "3"}, {"C", "3"}, {"E", "3"}}));
  EXPECT_EQ(attributes_of(children[0]), (Entries{{"x", "4"}, {"w", "3"}, {"z", "4"}}));
  EXPECT_EQ(notes_of(children[1]), (Entries{{"D", "b2"}, {"A", "b2"}}));
  EXPECT_EQ(attributes_of(children[1]), (Entries{{"x", "b1"}, {"y", "b2"}}));
}

TEST_F(BatchTest, ChildOfAnEarlierParentMergesIntoThatParent) {
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  Add(1, 1, Revision("K-1100"));
  table->KESTREL_RelativeStructureUpdateStartAssy(2, Revision("K-3000"), false, nullptr);
  Add(2, 1, Revision("K-1300"));
  EXPECT_EQ(Add(1, 1, nullptr, "cad-late"), "1_1");
  EXPECT_EQ(Add(1, 2, Revision("K-9001")), "1_2");
  Commit();

  const auto& parents = updates2.last().parents;
  ASSERT_THAT(parents, SizeIs(2));
  ASSERT_THAT(parents[0].children, SizeIs(2));
  EXPECT_EQ(parents[0].children[0].cad_occ_id, "cad-late");
  EXPECT_EQ(parents[0].children[1].client_id, "1_2");
  ASSERT_THAT(parents[1].children, SizeIs(1));
  EXPECT_EQ(parents[1].children[0].child_uid, "rev-K-1300-A");
}

TEST_F(BatchTest, LayoutIsChosenOnceAtStart) {
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureDeleteStart();
  EXPECT_EQ(cadlink::testing::service_2007_12_queries(), 2);
  cadlink::testing::set_service_2007_12_available(false);
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  Add(1, 1, Revision("K-1100"));
  Commit();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, Revision("K-2000"), nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-1");
  table->KESTREL_RelativeStructureDeleteCommit();

  EXPECT_EQ(cadlink::testing::service_2007_12_queries(), 2);
  EXPECT_THAT(updates2.calls, SizeIs(1));
  EXPECT_THAT(updates.calls, IsEmpty());
  EXPECT_THAT(deletes2.calls, SizeIs(1));
  EXPECT_THAT(deletes.calls, IsEmpty());
}

TEST_F(BatchTest, NullViewTypeIsSentAsEmpty) {
  cadlink::testing::set_view_type(nullptr);
  Debug();
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  Add(1, 1, Revision("K-1100"));
  Commit();
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, Revision("K-2000"), nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-1");
  table->KESTREL_RelativeStructureDeleteCommit();

  EXPECT_EQ(updates2.last().view_type, "");
  EXPECT_EQ(deletes2.last().view_type, "");
  EXPECT_THAT(log_lines(), ::testing::Contains("view type="));
}

// --- childless parents and the reply's parents ---------------------------------

TEST_F(BatchTest, ChildlessParentsAreDroppedAndRepliesFindTheirOwnParent) {
  Debug();
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-1000"), false, nullptr);
  table->KESTREL_RelativeStructureUpdateStartAssy(2, Revision("K-2000"), false, nullptr);
  Add(2, 1, Revision("K-1100"));
  table->KESTREL_RelativeStructureUpdateStartAssy(3, Revision("K-3000"), false, nullptr);
  clear_log();
  auto* handles = Commit();

  ASSERT_THAT(updates2.last().parents, SizeIs(1));
  EXPECT_EQ(updates2.last().parents[0].parent_uid, "rev-K-2000-A");
  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Pair("2_1", "rev-K-2000-A bvr-K-2000-A thread-1")));
  EXPECT_THAT(log_text(), HasSubstr("childSizeIsZero removing parent uid=rev-K-1000-A\n"));
  EXPECT_THAT(log_text(), HasSubstr("childSizeIsZero removing parent uid=rev-K-3000-A\n"));
}

TEST_F(BatchTest, FailedCommitKeepsTheBatchForARetry) {
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-1000"), false, nullptr);
  table->KESTREL_RelativeStructureUpdateStartAssy(2, Revision("K-2000"), false, nullptr);
  Add(2, 1, Revision("K-1100"));
  EXPECT_CALL(structuremanagement, createOrUpdateRelativeStructure2)
      .WillOnce([](const auto&, const auto&, bool, const auto&) -> RelativeStructureReply {
        throw RuntimeException("server busy");
      })
      .WillRepeatedly([this](const auto& parents, const auto& view, bool complete, const auto& options) {
        updates2.calls.push_back({parents, view, complete, options});
        return world.structuremanagement.createOrUpdateRelativeStructure2(parents, view, complete, options);
      });

  EXPECT_THAT([&] { Commit(); }, RaisesFrom(940222, "KRAL SOA: SOA runtime exception: server busy", "kestrel_bom.cpp"));
  // The parent moved up when the childless one went; its AssyId still finds it.
  Add(2, 2, Revision("K-9001"));
  auto* handles = Commit();

  ASSERT_THAT(updates2.calls, SizeIs(1));
  ASSERT_THAT(updates2.last().parents, SizeIs(1));
  EXPECT_THAT(updates2.last().parents[0].children, SizeIs(2));
  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Pair("2_1", "rev-K-2000-A bvr-K-2000-A thread-1"),
                                    Pair("2_2", "rev-K-2000-A bvr-K-2000-A thread-2")));
}

TEST_F(BatchTest, FailureReadingTheReplyEndsTheBatch) {
  // The reply carries the new occurrence without its thread.
  OneChildWithReply([](RelativeStructureReply& reply) {
    for (auto& object : reply.data.objects)
      if (object.uid == "occ-1") object.properties.clear();
  });

  EXPECT_THAT([&] { Commit(); },
              RaisesFrom(940223, HasSubstr("KRAL SOA: SOA not loaded exception: "), "kestrel_bom.cpp"));
  // Nothing is pending: a retry sends nothing and creates nothing twice.
  EXPECT_THAT(Commit(), IsNull());
  EXPECT_THAT(Shown("K-2000"), ElementsAre("K-1100"));
}

// --- results -------------------------------------------------------------------

TEST_F(BatchTest, ParentWithoutBomViewFromTheHostGivesAnEmptyHandle) {
  Debug();
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  Add(1, 1, Revision("K-1100"));
  Add(1, 2, Revision("K-9001"));
  cadlink::testing::clear_bvr_lookups();
  cadlink::testing::set_bvr_lookup(
      [](const char*, ItemRevision**, Orvane::PdmSoa::ModelObject**, Orvane::PdmSoa::ModelObject**) { return false; });
  clear_log();
  auto* handles = Commit();

  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", ""), Pair("1_2", "")));
  // Asked once for the parent, not once per child.
  EXPECT_THAT(cadlink::testing::bvr_lookups(), ElementsAre("rev-K-2000-A"));
  ASSERT_THAT(components(), SizeIs(2));
  EXPECT_FALSE(components().at("1_1")->HasComponentHandle());
  EXPECT_THAT(log_text(), HasSubstr("KESTREL_RelativeStructureUpdateCommit DB_COMP_HANDLE=<null>"));
}

TEST_F(BatchTest, ReplyEntriesOutsideTheBatchAreKeptWithoutHandle) {
  Debug();
  OneChildWithReply([](RelativeStructureReply& reply) {
    reply.threads["9_1"] = reply.threads.at("1_1");  // no such parent
    reply.threads["1_x"] = reply.threads.at("1_1");  // CompId 0
    reply.threads["nounderscore"] = "thread-1";      // skipped
    reply.threads["1_"] = "thread-1";                // skipped
  });
  clear_log();
  auto* handles = Commit();

  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", "rev-K-2000-A bvr-K-2000-A thread-1"),
                                    Pair("1_x", "rev-K-2000-A bvr-K-2000-A thread-1"), Pair("9_1", "")));
  EXPECT_THAT(components(), ElementsAre(Key("1_1"), Key("1_x"), Key("9_1")));
  EXPECT_THAT(log_text(), HasSubstr("KESTREL_RelativeStructureUpdateCommit AssyID=1 CompId=0"));
}

// Two occurrences created on one thread both get the handle; the components
// map keeps the last.
TEST_F(BatchTest, LastOccurrenceCreatedOnAThreadStaysInTheComponents) {
  OneChildWithReply([](RelativeStructureReply& reply) {
    auto& objects = reply.data.objects;
    auto occurrence = std::find_if(objects.begin(), objects.end(), [](const auto& o) { return o.uid == "occ-1"; });
    ASSERT_NE(occurrence, objects.end());
    auto again = *occurrence;
    again.uid = "occ-1-again";
    objects.push_back(std::move(again));
    reply.data.created.push_back("occ-1-again");
  });
  auto* handles = Commit();

  ASSERT_THAT(handles, NotNull());
  const std::string handle = "rev-K-2000-A bvr-K-2000-A thread-1";
  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", handle)));
  ASSERT_THAT(components(), ElementsAre(Key("1_1")));
  EXPECT_EQ(components().at("1_1")->GetUid().utf8(), "occ-1-again");
  EXPECT_EQ(components().at("1_1")->GetComponentHandle().utf8(), handle);
  auto* first = dynamic_cast<Component*>(Held("occ-1"));
  ASSERT_THAT(first, NotNull());
  EXPECT_EQ(first->GetComponentHandle().utf8(), handle);
}

TEST_F(BatchTest, OccurrenceTheHostHoldsAsAnotherClassIsNoComponent) {
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  Add(1, 1, Revision("K-1100"));
  // While the commit asks for the BOM view, the host takes the new
  // occurrence for a line of its own.
  cadlink::testing::set_bvr_lookup([](const char*, ItemRevision**, Orvane::PdmSoa::ModelObject**,
                                      Orvane::PdmSoa::ModelObject**) {
    auto* occurrence = SoaManager::GetSoaInterface()->KESTREL_ask_connection()->getModelManager()->findObject("occ-1");
    SoaManager::GetObjectManager()->WrapSoaObjectAsClass(occurrence, BomLine::AskClassName());
    return false;
  });
  auto* handles = Commit();

  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", "")));
  EXPECT_THAT(components(), IsEmpty());
}

TEST_F(BatchTest, OnlyOccurrencesOfTheExactTypeAreComponents) {
  OneChildWithReply([](RelativeStructureReply& reply) {
    for (auto& object : reply.data.objects)
      if (object.uid == "occ-1") object.types.insert(object.types.begin(), "CustomOccurrence");
  });
  auto* handles = Commit();

  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", "rev-K-2000-A bvr-K-2000-A thread-1")));
  EXPECT_THAT(components(), IsEmpty());
}

TEST_F(BatchTest, PartialErrorsReachTheHostAndTheCommitGoesOn) {
  // A date the BOM view no longer has.
  date_s stale{2020, 0, 1, 0, 0, 0};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-1000"), false, &stale);
  Add(1, 1, Revision("K-1300"));
  table->KESTREL_RelativeStructureUpdateStartAssy(2, Revision("K-2000"), false, nullptr);
  Add(2, 1, Revision("K-1100"));
  auto* handles = Commit();

  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Key("2_1")));
  const auto& reports = SoaManager::GetObjectManager()->error_reports;
  ASSERT_THAT(reports, SizeIs(1));
  ASSERT_THAT(*reports[0], SizeIs(1));
  EXPECT_THAT((*reports[0])[0]->GetErrorValues().at(0).message.utf8(),
              HasSubstr("The BOM view revision bvr-K-1000-A was modified after 2020-01-01T00:00:00."));
}

TEST_F(BatchTest, DateTheBomViewStillHasIsAccepted) {
  ItemRevision* cart = Revision("K-1000");
  const auto* bvr = world.find("bvr-K-1000-A");
  ASSERT_THAT(bvr, NotNull());
  const DateTime modified = bvr->properties.at("last_mod_date").dates.at(0);
  date_s seen{static_cast<std::uint16_t>(modified.year()),  static_cast<std::uint8_t>(modified.month() - 1),
              static_cast<std::uint8_t>(modified.day()),    static_cast<std::uint8_t>(modified.hour()),
              static_cast<std::uint8_t>(modified.minute()), static_cast<std::uint8_t>(modified.second())};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, cart, false, &seen);
  Add(1, 1, Revision("K-1300"));
  auto* handles = Commit();

  EXPECT_EQ(updates2.last().parents.at(0).last_modified, modified);
  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", "rev-K-1000-A bvr-K-1000-A thread-1")));
  EXPECT_THAT(SoaManager::GetObjectManager()->error_reports, IsEmpty());
  EXPECT_THAT(Shown("K-1000"), ElementsAre("K-1100", "K-1200", "K-9001", "K-1300"));
}

TEST_F(BatchTest, CommitWithNothingToSendCallsNoServer) {
  ItemRevision* trolley = Revision("K-2000");
  ClearRequests();
  // Never started.
  EXPECT_THAT(Commit(), IsNull());
  EXPECT_THAT(components(), IsEmpty());
  // Started, with a parent but no child.
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr);
  EXPECT_THAT(Commit(), IsNull());
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, trolley, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "");
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteCommit(), 0);
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteCommit(), 0);
  EXPECT_THAT(Requests(), IsEmpty());
}

TEST_F(BatchTest, CommitWithNothingToSendSaysSo) {
  ItemRevision* trolley = Revision("K-2000");
  Debug();
  // Never started, then started with a childless parent.
  EXPECT_THAT(Commit(), IsNull());
  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureUpdateCommit()\n"
            "complete=TRUE\n"
            "view type=view\n"
            "KESTREL_RelativeStructureUpdateCommit empty list");
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr);
  clear_log();
  EXPECT_THAT(Commit(false), IsNull());
  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureUpdateCommit()\n"
            "complete=FALSE\n"
            "view type=view\n"
            "parent uid[0]=rev-K-2000-A\n"
            "precise[0]=FALSE\n"
            "lastModifiedOfBVR[0]=0001-01-01T00:00:00\n"
            "relStructInfoUpdateList2[0] no children\n"
            "childSizeIsZero removing parent uid=rev-K-2000-A\n"
            "KESTREL_RelativeStructureUpdateCommit empty list");
  EXPECT_THAT(components(), IsEmpty());
}

// Logout does not touch a pending batch: after a new login both commits
// send what was described before.
TEST_F(BatchTest, LogoutLeavesPendingBatchesAsTheyAre) {
  ItemRevision* trolley = Revision("K-2000");
  ItemRevision* cart = Revision("K-1000");
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr);
  Add(1, 1, Revision("K-1100"), "cad-1");
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, cart, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-x");
  EXPECT_EQ(table->KESTREL_logout(false), 0);
  ConnectAndLogin();
  auto* handles = Commit();
  table->KESTREL_RelativeStructureDeleteCommit();

  ASSERT_THAT(updates2.calls, SizeIs(1));
  ASSERT_THAT(updates2.last().parents, SizeIs(1));
  EXPECT_EQ(updates2.last().parents[0].parent_uid, "rev-K-2000-A");
  ASSERT_THAT(updates2.last().parents[0].children, SizeIs(1));
  EXPECT_EQ(updates2.last().parents[0].children[0].cad_occ_id, "cad-1");
  ASSERT_THAT(handles, NotNull());
  EXPECT_THAT(*handles, ElementsAre(Pair("1_1", "rev-K-2000-A bvr-K-2000-A thread-1")));
  ASSERT_THAT(deletes2.calls, SizeIs(1));
  EXPECT_THAT(deletes2.last().parents,
              ElementsAre(::testing::Field(&DeleteStructureRecord2::thread_uids, ElementsAre("thread-x"))));
}

// --- bad calls -----------------------------------------------------------------

class BadCallTest;
struct BadCall {
  const char* name;
  std::function<void(BadCallTest&, const KESTREL_interface_s*)> call;
  int code;
  const char* text;
};
void PrintTo(const BadCall& c, std::ostream* os) { *os << c.name; }

class BadCallTest : public BatchTest, public ::testing::WithParamInterface<BadCall> {
 public:
  using BatchTest::Held;
};

// Each bad call raises before it changes anything: the batches opened
// first are committed as they were.
TEST_P(BadCallTest, RaisesAndChangesNothing) {
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
  Add(1, 1, Revision("K-1100"));
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, Revision("K-1000"), nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-x");
  Revision("K-3000");
  ClearRequests();

  EXPECT_THAT([&] { GetParam().call(*this, table); }, RaisesFrom(GetParam().code, GetParam().text, "kestrel_bom.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());

  Commit();
  table->KESTREL_RelativeStructureDeleteCommit();
  ASSERT_THAT(updates2.calls, SizeIs(1));
  ASSERT_THAT(updates2.last().parents, SizeIs(1));
  ASSERT_THAT(updates2.last().parents[0].children, SizeIs(1));
  EXPECT_EQ(updates2.last().parents[0].children[0].cad_occ_id, "");
  ASSERT_THAT(deletes2.calls, SizeIs(1));
  EXPECT_THAT(deletes2.last().parents,
              ElementsAre(::testing::Field(&DeleteStructureRecord2::thread_uids, ElementsAre("thread-x"))));
}

const date_s kInvalidDate{2024, 12, 1, 0, 0, 0};  // month 12 does not exist

INSTANTIATE_TEST_SUITE_P(
    Calls, BadCallTest,
    ::testing::Values(
        BadCall{"AddChildForAnUnknownAssyId",
                [](auto&, auto* t) {
                  t->KESTREL_RelativeStructureAddChild(7, 1, nullptr, "cad", nullptr, true, nullptr, nullptr);
                },
                940208, "KRAL SOA: No StartAssy for AssyId 7 in KESTREL_RelativeStructureAddChild"},
        BadCall{"DeleteChildForAnUnknownAssyId",
                [](auto&, auto* t) { t->KESTREL_RelativeStructureDeleteChild(7, "thread-y"); }, 940208,
                "KRAL SOA: No StartAssy for AssyId 7 in KESTREL_RelativeStructureDeleteChild"},
        BadCall{"NullUpdateParent",
                [](auto&, auto* t) { t->KESTREL_RelativeStructureUpdateStartAssy(1, nullptr, false, nullptr); }, 940208,
                "KRAL SOA: Null parent in KESTREL_RelativeStructureUpdateStartAssy"},
        BadCall{"NullDeleteParent",
                [](auto&, auto* t) { t->KESTREL_RelativeStructureDeleteStartAssy(1, nullptr, nullptr); }, 940208,
                "KRAL SOA: Null parent in KESTREL_RelativeStructureDeleteStartAssy"},
        BadCall{"UpdateParentWithoutServerObject",
                [](auto&, auto* t) {
                  Orvane::PdmSoa::ModelObject bare(nullptr);
                  t->KESTREL_RelativeStructureUpdateStartAssy(1, &bare, false, nullptr);
                },
                940209, "KRAL SOA: Error getting SOA object from KRAL object"},
        BadCall{"DeleteParentWithoutServerObject",
                [](auto&, auto* t) {
                  Orvane::PdmSoa::ModelObject bare(nullptr);
                  t->KESTREL_RelativeStructureDeleteStartAssy(1, &bare, nullptr);
                },
                940209, "KRAL SOA: Error getting SOA object from KRAL object"},
        BadCall{"InvalidUpdateDate",
                [](auto& f, auto* t) {
                  date_s date = kInvalidDate;
                  t->KESTREL_RelativeStructureUpdateStartAssy(1, f.Held("rev-K-3000-A"), false, &date);
                },
                940208, "KRAL SOA: Invalid reprev_date_on_sync in KESTREL_RelativeStructureUpdateStartAssy"},
        BadCall{"InvalidDeleteDate",
                [](auto& f, auto* t) {
                  date_s date = kInvalidDate;
                  t->KESTREL_RelativeStructureDeleteStartAssy(1, f.Held("rev-K-3000-A"), &date);
                },
                940208, "KRAL SOA: Invalid reprev_date_on_sync in KESTREL_RelativeStructureDeleteStartAssy"},
        BadCall{"NullComponentsMap", [](auto&, auto* t) { t->KESTREL_RelativeStructureUpdateCommit(true, nullptr); },
                940208, "KRAL SOA: Null components map in KESTREL_RelativeStructureUpdateCommit"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchTest, StepsBeforeStartRaise) {
  ItemRevision* trolley = Revision("K-2000");
  EXPECT_THAT([&] { Add(1, 1, nullptr); },
              RaisesFrom(940208, "KRAL SOA: No StartAssy for AssyId 1 in KESTREL_RelativeStructureAddChild",
                         "kestrel_bom.cpp"));
  EXPECT_THAT([&] { table->KESTREL_RelativeStructureDeleteChild(1, "thread-1"); },
              RaisesFrom(940208, "KRAL SOA: No StartAssy for AssyId 1 in KESTREL_RelativeStructureDeleteChild",
                         "kestrel_bom.cpp"));
  EXPECT_THAT(
      [&] { table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, false, nullptr); },
      RaisesFrom(940208, "KRAL SOA: No open batch in KESTREL_RelativeStructureUpdateStartAssy", "kestrel_bom.cpp"));
  EXPECT_THAT(
      [&] { table->KESTREL_RelativeStructureDeleteStartAssy(1, trolley, nullptr); },
      RaisesFrom(940208, "KRAL SOA: No open batch in KESTREL_RelativeStructureDeleteStartAssy", "kestrel_bom.cpp"));
  // Started, but before any StartAssy.
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureDeleteStart();
  EXPECT_THAT([&] { Add(1, 1, nullptr); }, Raises(940208, HasSubstr("AssyId 1")));
  EXPECT_THAT([&] { table->KESTREL_RelativeStructureDeleteChild(1, "thread-1"); },
              Raises(940208, HasSubstr("AssyId 1")));
}

// --- framework exceptions ------------------------------------------------------

TEST_F(BatchTest, FrameworkExceptionsOfBothCommitsBecomeErrors) {
  struct Kind {
    std::function<void()> fail;
    int code;
    const char* text;
  };
  const Kind kinds[] = {
      {[] { throw RuntimeException("boom"); }, 940222, "KRAL SOA: SOA runtime exception: boom"},
      {[] { throw NotLoadedException("gone"); }, 940223, "KRAL SOA: SOA not loaded exception: gone"},
      {[] { throw SoaException("refused"); }, 940222, "KRAL SOA: SOA exception: refused"},
  };
  for (const auto& kind : kinds) {
    ON_CALL(structuremanagement, createOrUpdateRelativeStructure2)
        .WillByDefault([&](const auto&, const auto&, bool, const auto&) -> RelativeStructureReply {
          kind.fail();
          return {};
        });
    ON_CALL(structuremanagement, deleteRelativeStructure2)
        .WillByDefault([&](const auto&, const auto&, const auto&) -> WireServiceData {
          kind.fail();
          return {};
        });
    table->KESTREL_RelativeStructureUpdateStart();
    table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, nullptr);
    Add(1, 1, Revision("K-1100"));
    EXPECT_THAT([&] { Commit(); }, RaisesFrom(kind.code, kind.text, "kestrel_bom.cpp"));
    table->KESTREL_RelativeStructureDeleteStart();
    table->KESTREL_RelativeStructureDeleteStartAssy(1, Revision("K-2000"), nullptr);
    table->KESTREL_RelativeStructureDeleteChild(1, "thread-1");
    EXPECT_THAT([&] { table->KESTREL_RelativeStructureDeleteCommit(); },
                RaisesFrom(kind.code, kind.text, "kestrel_bom.cpp"));
  }
}

// --- delete batch --------------------------------------------------------------

TEST_F(BatchTest, DeleteBatchSendsUidsAsGivenToTheNewestRecord) {
  ItemRevision* cart = Revision("K-1000");
  ItemRevision* trolley = Revision("K-2000");
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, cart, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-a");
  table->KESTREL_RelativeStructureDeleteStartAssy(2, trolley, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(2, "");
  // StartAssy again for AssyId 1: later uids go to the newer record.
  table->KESTREL_RelativeStructureDeleteStartAssy(1, trolley, nullptr);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-b");
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-b");
  EXPECT_EQ(table->KESTREL_RelativeStructureDeleteCommit(), 0);

  ASSERT_THAT(deletes2.calls, SizeIs(1));
  const auto& call = deletes2.last();
  EXPECT_EQ(call.view_type, "view");
  EXPECT_TRUE(call.options.flag);
  EXPECT_EQ(call.options.cad_occ_id_attribute, "bl_occurrence_uid");
  EXPECT_THAT(call.options.object_types, IsEmpty());
  ASSERT_THAT(call.parents, SizeIs(2));
  EXPECT_EQ(call.parents[0].parent_uid, "rev-K-1000-A");
  EXPECT_THAT(call.parents[0].thread_uids, ElementsAre("thread-a"));
  EXPECT_EQ(call.parents[1].parent_uid, "rev-K-2000-A");
  EXPECT_THAT(call.parents[1].thread_uids, ElementsAre("thread-b", "thread-b"));
  EXPECT_TRUE(call.parents[1].last_modified.isNullDate());
  // The world knows none of these threads: level-3 errors, to the listener.
  EXPECT_THAT(SoaManager::GetObjectManager()->error_reports, SizeIs(1));
}

TEST_F(BatchTest, OlderDeleteLayoutSendsItsOwnRecords) {
  cadlink::testing::set_service_2007_12_available(false);
  date_s seen{2024, 2, 5, 8, 30, 0};
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(3, Revision("K-1000"), &seen);
  table->KESTREL_RelativeStructureDeleteChild(3, "thread-a");
  table->KESTREL_RelativeStructureDeleteCommit();

  EXPECT_THAT(deletes2.calls, IsEmpty());
  ASSERT_THAT(deletes.calls, SizeIs(1));
  EXPECT_EQ(deletes.last().options.cad_occ_id_attribute, "bl_occurrence_uid");
  ASSERT_THAT(deletes.last().parents, SizeIs(1));
  EXPECT_THAT(deletes.last().parents[0].thread_uids, ElementsAre("thread-a"));
  EXPECT_EQ(server.requests.back().service, "Cad-2007-01-StructureManagement");
  EXPECT_EQ(server.requests.back().policy, 2);
}

// --- debug output --------------------------------------------------------------

TEST_F(BatchTest, StepsWriteNothingWithoutTheFlag) {
  MACH__checking_level = 1;
  date_s seen{2024, 2, 5, 8, 30, 0};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, Revision("K-2000"), false, &seen);
  Add(1, 1, Revision("K-1100"), "cad", kMatrix, true);
  Commit();
  EXPECT_EQ(log_text(), "");
}

TEST_F(BatchTest, StepsWriteTheirDebugLines) {
  ItemRevision* trolley = Revision("K-2000");
  ItemRevision* chassis = Revision("K-1100");
  Debug();
  date_s seen{2024, 2, 5, 8, 30, 0};
  const Texts notes = {{"UG NAME", "%s%n"}};
  const Texts attributes = {{"colour", "red"}};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(3, trolley, false, &seen);
  table->KESTREL_RelativeStructureUpdateStartAssy(4, trolley, false, nullptr);
  Add(4, 2, chassis, "cad-%d", kMatrix, true, &notes, &attributes);
  Add(4, 2, nullptr, "", nullptr, false, &notes, &attributes);

  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureUpdateStartAssy reprev_date_on_sync = 05-Mar-2024 08:30:00\n"
            "KESTREL_RelativeStructureUpdateStartAssy got a vaild date"
            "KESTREL_RelativeStructureStart found AssyId=3 idToAssyUpdateIndex[CompId]=0"
            "KESTREL_RelativeStructureUpdateStartAssy null_date"
            "KESTREL_RelativeStructureStart found AssyId=4 idToAssyUpdateIndex[CompId]=1"
            "KESTREL_RelativeStructureAddChild created AssyId =4 CompId=2 "
            "KESTREL_RelativeStructureAddChild created CompId=2 idToCompUpdateIndex[CompId]=0"
            "KESTREL_RelativeStructureAddChild set setting child"
            "KESTREL_RelativeStructureAddChild set setting cadOccId = cad-%d"
            "KESTREL_RelativeStructureAddChild     Note=UG NAME value=%s%n"
            "KESTREL_RelativeStructureAddChild add noteType=UG NAME noteText=%s%n"
            "KESTREL_RelativeStructureAddChild     Attr=colour value=red"
            "KESTREL_RelativeStructureAddChild add attr name=colour value=red\n"
            "KESTREL_RelativeStructureAddChild set setting asRequired=TRUE\n"
            "KESTREL_RelativeStructureAddChild created AssyId =4 CompId=2 "
            "KESTREL_RelativeStructureAddChild found CompId=2 idToCompUpdateIndex[CompId]=0"
            "KESTREL_RelativeStructureAddChild     Note=UG NAME value=%s%n"
            "KESTREL_RelativeStructureAddChild modifying noteType=UG NAME noteText=%s%n"
            "KESTREL_RelativeStructureAddChild     Attr=colour value=red");
}

std::string PointerText(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", pointer);
  return text;
}

TEST_F(BatchTest, CommitDumpOfTheNewerLayout) {
  ItemRevision* trolley = Revision("K-2000");
  ItemRevision* rack = Revision("K-3000");
  ItemRevision* chassis = Revision("K-1100");
  const Texts notes = {{"UG NAME", "left"}};
  const Texts attributes = {{"colour", "red"}, {"finish", "matt"}};
  date_s seen{2024, 2, 5, 8, 30, 0};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, rack, true, &seen);
  table->KESTREL_RelativeStructureUpdateStartAssy(2, trolley, false, nullptr);
  Add(2, 1, chassis, "cad-1", kMatrix, true, &notes, &attributes);
  Add(2, 2, nullptr, "cad-2");
  // The world refuses 2_2, which names no child; the reply here gives it the
  // thread of 2_1, so both entries find the one created occurrence.
  ON_CALL(structuremanagement, createOrUpdateRelativeStructure2)
      .WillByDefault([this](const auto& parents, const auto& view, bool complete, const auto& options) {
        auto reply = world.structuremanagement.createOrUpdateRelativeStructure2(parents, view, complete, options);
        reply.threads["2_2"] = "thread-1";
        return reply;
      });
  Debug();
  Commit(false);
  const std::string component = PointerText(components().at("2_1"));
  const std::string component2 = PointerText(components().at("2_2"));

  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureUpdateCommit()\n"
            "complete=FALSE\n"
            "view type=view\n"
            "parent uid[0]=rev-K-3000-A\n"
            "precise[0]=TRUE\n"
            "lastModifiedOfBVR[0]=2024-03-05T08:30:00\n"
            "relStructInfoUpdateList2[0] no children\n"
            "parent uid[1]=rev-K-2000-A\n"
            "precise[1]=FALSE\n"
            "lastModifiedOfBVR[1]=0001-01-01T00:00:00\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].clientId =2_1\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].cadOccId =cad-1\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].asRequired =TRUE\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].child_uid =rev-K-1100-A\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].occInfo.occNotes[0].note UG NAME=left\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].occInfo.attrsToSet[0].attr colour=red\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].occInfo.attrsToSet[1].attr finish=matt\n"
            "relStructInfoUpdateList2[1].ChildInfo[0].occInfo.occTransform\n"
            "  [01] 1  |  [02] 0  |  [03] 0  |  [04] 0  \n"
            "  [05] 0  |  [06] 1  |  [07] 0  |  [08] 0  \n"
            "  [09] 0  |  [10] 0  |  [11] 1  |  [12] 0  \n"
            "  [13] 0.125  |  [14] -2.5  |  [15] 0.001  |  [16] 1  \n"
            "\n"
            "relStructInfoUpdateList2[1].ChildInfo[1].clientId =2_2\n"
            "relStructInfoUpdateList2[1].ChildInfo[1].cadOccId =cad-2\n"
            "relStructInfoUpdateList2[1].ChildInfo[1].asRequired =FALSE\n"
            "relStructInfoUpdateList2[1].ChildInfo[1].child not set OK for attrs\n"
            "relStructInfoUpdateList2[1].ChildInfo[1].occInfo.occTransform\n"
            "  [ ... NULL transform ... ]\n"
            "\n"
            "childSizeIsZero removing parent uid=rev-K-3000-A\n"
            "KESTREL_RelativeStructureUpdateCommit  ClientId=2_1  PSOccurrenceThread=thread-1"
            "KESTREL_RelativeStructureUpdateCommit AssyID=2 CompId=1"
            "KESTREL_RelativeStructureUpdateCommit DB_COMP_HANDLE=rev-K-2000-A bvr-K-2000-A thread-1"
            "KESTREL_commit_RelativeStructure got hxSoa_occ=occ-1"
            "KESTREL_commit_RelativeStructure clientIDforNewPdmSoaComponent=" +
                component +
                "KESTREL_RelativeStructureUpdateCommit  ClientId=2_2  PSOccurrenceThread=thread-1"
                "KESTREL_RelativeStructureUpdateCommit AssyID=2 CompId=2"
                "KESTREL_RelativeStructureUpdateCommit DB_COMP_HANDLE=rev-K-2000-A bvr-K-2000-A thread-1"
                "KESTREL_commit_RelativeStructure got hxSoa_occ=occ-1"
                "KESTREL_commit_RelativeStructure clientIDforNewPdmSoaComponent=" +
                component2);
}

TEST_F(BatchTest, CommitDumpOfTheOlderLayout) {
  cadlink::testing::set_service_2007_12_available(false);
  ItemRevision* trolley = Revision("K-2000");
  ItemRevision* rack = Revision("K-3000");
  const Texts notes = {{"UG NAME", "left"}, {"UG REF", "r1"}};
  const Texts attributes = {{"colour", "red"}};
  table->KESTREL_RelativeStructureUpdateStart();
  table->KESTREL_RelativeStructureUpdateStartAssy(1, trolley, true, nullptr);
  Add(1, 1, Revision("K-1300"), "", kTurned, false, &notes, &attributes);
  table->KESTREL_RelativeStructureUpdateStartAssy(2, rack, false, nullptr);
  Debug();
  Commit();
  const std::string component = PointerText(components().at("1_1"));

  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureUpdateCommit()\n"
            "complete=TRUE\n"
            "view type=view\n"
            "parent uid[0]=rev-K-2000-A\n"
            "precise[0]=TRUE\n"
            "relStructInfoUpdateList[0].ChildInfo[0].clientId =1_1\n"
            "relStructInfoUpdateList[0].ChildInfo[0].cadOccId =\n"
            "relStructInfoUpdateList[0].ChildInfo[0].asRequired =FALSE\n"
            "relStructInfoUpdateList[0].ChildInfo[0].child_uid =rev-K-1300-A\n"
            "relStructInfoUpdateList[0].ChildInfo[0].occInfo.occNotes[0].note UG NAME=left\n"
            "relStructInfoUpdateList[0].ChildInfo[0].occInfo.occNotes[1].note UG REF=r1\n"
            "relStructInfoUpdateList[0].ChildInfo[0].occInfo.attrsToSet[0].attr colour=red\n"
            "relStructInfoUpdateList[0].ChildInfo[0].occInfo.occTransform\n"
            "  [01] 0  |  [02] -1  |  [03] 0  |  [04] 0  \n"
            "  [05] 1  |  [06] 0  |  [07] 0  |  [08] 0  \n"
            "  [09] 0  |  [10] 0  |  [11] 1  |  [12] 0  \n"
            "  [13] 10  |  [14] 20  |  [15] 30  |  [16] 1  \n"
            "\n"
            "parent uid[1]=rev-K-3000-A\n"
            "precise[1]=FALSE\n"
            "relStructInfoUpdateList[1] no children\n"
            "childSizeIsZero removing parent uid=rev-K-3000-A\n"
            "KESTREL_RelativeStructureUpdateCommit  ClientId=1_1  PSOccurrenceThread=thread-1"
            "KESTREL_RelativeStructureUpdateCommit AssyID=1 CompId=1"
            "KESTREL_RelativeStructureUpdateCommit DB_COMP_HANDLE=rev-K-2000-A bvr-K-2000-A thread-1"
            "KESTREL_commit_RelativeStructure got hxSoa_occ=occ-1"
            "KESTREL_commit_RelativeStructure clientIDforNewPdmSoaComponent=" +
                component);
}

TEST_F(BatchTest, DeleteDumpsOfBothLayouts) {
  ItemRevision* cart = Revision("K-1000");
  ItemRevision* trolley = Revision("K-2000");
  date_s seen{2024, 2, 5, 8, 30, 0};
  Debug();
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, cart, &seen);
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-a");
  table->KESTREL_RelativeStructureDeleteChild(1, "thread-b");
  table->KESTREL_RelativeStructureDeleteStartAssy(2, trolley, nullptr);
  clear_log();
  table->KESTREL_RelativeStructureDeleteCommit();
  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureDeleteCommit()\n"
            "parent uid[0]=rev-K-1000-A\n"
            "lastModifiedOfBVR[0]=2024-03-05T08:30:00\n"
            "relStructInfoDeleteList2[0].ChildInfo[0]=thread-a\n"
            "relStructInfoDeleteList2[0].ChildInfo[1]=thread-b\n"
            "parent uid[1]=rev-K-2000-A\n"
            "lastModifiedOfBVR[1]=0001-01-01T00:00:00\n"
            "relStructInfoDeleteList2[1] no children\n"
            "childSizeIsZero removing parent uid=rev-K-2000-A\n");

  cadlink::testing::set_service_2007_12_available(false);
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(5, cart, &seen);
  table->KESTREL_RelativeStructureDeleteStartAssy(6, trolley, &seen);
  table->KESTREL_RelativeStructureDeleteChild(6, "thread-c");
  clear_log();
  table->KESTREL_RelativeStructureDeleteCommit();
  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureDeleteCommit()\n"
            "parent uid[0]=rev-K-1000-A\n"
            "relStructInfoDeleteList[0] no children\n"
            "parent uid[1]=rev-K-2000-A\n"
            "relStructInfoDeleteList[1].ChildInfo[0]=thread-c\n"
            "childSizeIsZero removing parent uid=rev-K-1000-A\n");

  table->KESTREL_RelativeStructureDeleteStart();
  clear_log();
  table->KESTREL_RelativeStructureDeleteCommit();
  EXPECT_EQ(log_text(), "KESTREL_RelativeStructureDeleteCommit()\nKESTREL_RelativeStructureDeleteCommit empty list");
}

TEST_F(BatchTest, DeleteStartAssyWritesItsDebugLines) {
  ItemRevision* cart = Revision("K-1000");
  Debug();
  date_s seen{2024, 2, 5, 8, 30, 0};
  table->KESTREL_RelativeStructureDeleteStart();
  table->KESTREL_RelativeStructureDeleteStartAssy(1, cart, &seen);
  table->KESTREL_RelativeStructureDeleteStartAssy(2, cart, nullptr);
  EXPECT_EQ(log_text(),
            "KESTREL_RelativeStructureDeleteStartAssy reprev_date_on_sync = 05-Mar-2024 08:30:00\n"
            "KESTREL_RelativeStructureDeleteStartAssy got a vaild date"
            "KESTREL_RelativeStructureDeleteStartAssy found AssyId=1 idToAssyUpdateIndex[CompId]=0"
            "KESTREL_RelativeStructureDeleteStartAssy null_date"
            "KESTREL_RelativeStructureDeleteStartAssy found AssyId=2 idToAssyUpdateIndex[CompId]=1");
}

}  // namespace
}  // namespace kestrel::test
