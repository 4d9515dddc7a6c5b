// Validation data sent to the server, the validation results of objects
// with their report files and read tickets, and result queries.
#include <functional>
#include <string>
#include <vector>

#include "halden/server/world/ValidationWorld.h"
#include "halden/soa/client/Exceptions.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

namespace Wire = Halden::Soa::Server;
using Halden::Soa::Client::RuntimeException;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::FieldsAre;
using ::testing::IsEmpty;
using ::testing::Return;
using Wire::ValidationWorld;

class ValidationDataTest : public SessionTest {
 protected:
  void SetUp() override {
    world.add_object("part-1", {"Dataset", "WorkspaceObject", "POM_object"}, {Wire::props::str("object_name", "p1")});
    world.add_object("part-2", {"Dataset", "WorkspaceObject", "POM_object"}, {Wire::props::str("object_name", "p2")});
    for (const char* uid : {"data-x", "data-y"})
      world.add_object(uid, {"ValidationData", "WorkspaceObject", "POM_object"});
    ConnectAndLogin();
    ClearRequests();
  }

  // A stored result of the target with its data object and its reports ("" for none).
  void AddResult(const std::string& uid, const std::string& target, const std::string& data,
                 std::vector<std::string> reports = {}) {
    world.add_object(uid, ValidationWorld::result_types(),
                     {Wire::props::ref("validation_target", target), Wire::props::ref("validation_data_obj", data),
                      Wire::props::refs("validation_report", std::move(reports))});
  }

  struct File {
    std::string name, reference;
    int text_flag;
  };
  // A report dataset with its files; answers the files' UIDs.
  std::vector<std::string> AddReport(const std::string& uid, const std::vector<File>& files) {
    world.add_object(uid, ValidationWorld::dataset_types("ValReport"),
                     {Wire::props::refs("ref_list", {}), Wire::props::strs("ref_names", {})});
    std::vector<std::string> uids;
    for (const auto& f : files) {
      uids.push_back(world.add_dataset_file(uid, f.reference, f.name));
      world.set_property(uids.back(), Wire::props::integer("text_flag", f.text_flag));
    }
    return uids;
  }

  // The result UIDs and their reports as texts: "dataset[name ref flag ticket, ...]".
  static std::vector<std::string> Reports(const ValidationDataList& list) {
    std::vector<std::string> texts;
    for (const auto& report : list.reports) {
      std::string text = report.report_dataset_uid + "[";
      for (const auto& f : report.files)
        text += f.original_file_name + " " + f.reference_name + " " + std::to_string(f.text_flag) + " " + f.ticket +
                (&f == &report.files.back() ? "" : ", ");
      texts.push_back(text + "]");
    }
    return texts;
  }

  int PolicyOf(const std::string& operation) const {
    for (const auto& r : server.requests)
      if (r.operation == operation) return r.policy;
    return -2;
  }

  ::testing::NiceMock<Wire::MockValidationStub>& validation = test_server.validation;
  ::testing::NiceMock<Wire::MockFileManagementStub>& filemanagement = test_server.filemanagement;
};

// ---- slot 80

ValidationDataInput DataInput(std::string object_uid, std::string related_uid) {
  ValidationDataInput in;
  in.object_uid = std::move(object_uid);
  in.first_text = "first";
  in.second_text = "second";
  in.third_text = "third";
  in.fourth_text = "fourth";
  in.fifth_text = "fifth";
  in.parameters = {{"width", "12", ">="}, {"mass", "3.5", "<"}};
  in.extra_text = "not sent";
  in.related_uid = std::move(related_uid);
  in.flag = true;
  return in;
}

TEST_F(ValidationDataTest, DataInputsBecomeOneRecordEachFieldByField) {
  std::vector<Wire::ValidationDataRecord> sent;
  EXPECT_CALL(validation, sendValidationData(_)).WillOnce([&](const auto& records) {
    sent = records;
    return world.validation.sendValidationData(records);
  });
  ValidationDataInput plain;
  const auto out = table->KESTREL_send_validation_inputs({DataInput("data-x", "part-1"), plain});

  // Objects are loaded only for UIDs given, before the one request.
  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "sendValidationData"));
  EXPECT_EQ(PolicyOf("sendValidationData"), 2);
  ASSERT_EQ(sent.size(), 2u);
  const auto& r = sent[0];
  EXPECT_THAT(r, FieldsAre("data-x", "first", "first", "second", "third", "fourth", true, "", "fifth", IsEmpty(), _, _,
                           "part-1", true));
  EXPECT_THAT(r.parameters, ElementsAre(FieldsAre("width", "12", ">="), FieldsAre("mass", "3.5", "<")));
  EXPECT_THAT(r.report, FieldsAre(true, "", "", "", "", IsEmpty()));
  EXPECT_THAT(sent[1], FieldsAre("", "", "", "", "", "", true, "", "", IsEmpty(), IsEmpty(), _, "", false));
  EXPECT_THAT(sent[1].report, FieldsAre(true, "", "", "", "", IsEmpty()));

  EXPECT_THAT(out.uids, ElementsAre("data-x", "valdata-1"));
  EXPECT_THAT(out.errors, IsEmpty());
}

TEST_F(ValidationDataTest, NoDataInputsStillSendTheRequest) {
  EXPECT_CALL(validation, sendValidationData(IsEmpty()));
  const auto out = table->KESTREL_send_validation_inputs({});
  EXPECT_THAT(Requests(), ElementsAre("sendValidationData"));
  EXPECT_THAT(out.uids, IsEmpty());
  EXPECT_THAT(out.errors, IsEmpty());
}

// A partial error from two stacks, in stack order then value order.
Wire::WireServiceData TwoStacks() {
  Wire::WireServiceData data;
  data.errors = {Wire::WireErrorStack{"", 0, "0", {{215101, 3, "first"}, {215102, 1, "second"}}},
                 Wire::WireErrorStack{"", 2, "2", {{215103, 3, "third"}}}};
  return data;
}

MATCHER(ThreeErrorsInOrder, "") {
  return ::testing::Value(
      arg, ElementsAre(FieldsAre(215101, "first"), FieldsAre(215102, "second"), FieldsAre(215103, "third")));
}

TEST_F(ValidationDataTest, NullDataObjectsOfTheReplyKeepTheirPlaceAsEmptyUids) {
  Wire::ValidationDataReply reply;
  reply.object_uids = {"", "data-y", ""};
  reply.data = TwoStacks();
  EXPECT_CALL(validation, sendValidationData(_)).WillOnce(Return(reply));
  const auto out = table->KESTREL_send_validation_inputs({{}, {}, {}});
  EXPECT_THAT(out.uids, ElementsAre("", "data-y", ""));
  EXPECT_THAT(out.errors, ThreeErrorsInOrder());
}

// ---- slot 82

TEST_F(ValidationDataTest, ResultsComeWithTheirReportFilesAndReadTickets) {
  const auto files = AddReport("report-1", {{"check.log", "Text", 1}, {"shot.png", "Image", 0}});
  AddResult("result-1", "part-1", "data-x", {"report-1"});
  AddResult("result-2", "part-1", "data-y");
  AddResult("result-3", "part-2", "data-x");
  std::vector<std::vector<std::string>> asked;
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).WillOnce([&](const auto& uids) {
    asked.push_back(uids);
    return world.filemanagement.getFileReadTickets(uids);
  });

  const auto out = table->KESTREL_get_validation_data({{"part-1"}, {}, false});
  EXPECT_THAT(out.result_uids, ElementsAre("result-1", "result-2"));
  EXPECT_THAT(
      Reports(out),
      ElementsAre("report-1[check.log Text 1 read-" + files[0] + ", shot.png Image 0 read-" + files[1] + "]", "[]"));
  EXPECT_THAT(out.errors, IsEmpty());
  EXPECT_THAT(asked, ElementsAre(files));
  EXPECT_EQ(Requests().front(), "loadObjects");
  EXPECT_EQ(Requests()[1], "getValidationResults");
  EXPECT_EQ(PolicyOf("getValidationResults"), 2);
  EXPECT_EQ(PolicyOf("getFileReadTickets"), 2);
}

TEST_F(ValidationDataTest, SkippedReportsLeaveReportsEmptyAndAskNoTickets) {
  AddReport("report-1", {{"check.log", "Text", 1}});
  AddResult("result-1", "part-1", "data-x", {"report-1"});
  AddResult("result-2", "part-1", "data-y");
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).Times(0);
  const auto out = table->KESTREL_get_validation_data({{"part-1"}, {}, true});
  EXPECT_THAT(out.result_uids, ElementsAre("result-1", "result-2"));
  EXPECT_THAT(out.reports, IsEmpty());
}

TEST_F(ValidationDataTest, AFilterKeepsResultsOfItsDataObjectsInReplyOrder) {
  AddResult("result-1", "part-1", "data-x");
  AddResult("result-2", "part-1", "");
  AddResult("result-3", "part-1", "data-y");
  AddResult("result-4", "part-1", "data-x");
  struct Case {
    std::vector<std::string> filter;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {{}, {"result-1", "result-2", "result-3", "result-4"}},
      {{"data-x"}, {"result-1", "result-4"}},
      {{"data-y", "data-x", "data-y"}, {"result-1", "result-3", "result-4"}},
      {{"data-z"}, {}},
      {{""}, {}},  // an empty data object matches nothing, not even an empty UID
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.filter));
    for (const bool skip : {false, true}) {
      const auto out = table->KESTREL_get_validation_data({{"part-1"}, c.filter, skip});
      EXPECT_EQ(out.result_uids, c.kept);
      EXPECT_EQ(out.reports.size(), skip ? 0u : c.kept.size());
    }
  }
}

TEST_F(ValidationDataTest, AReportWithoutFilesStillSendsAnEmptyTicketRequest) {
  AddReport("report-1", {});
  AddReport("report-2", {{"a.txt", "Text", 1}});
  AddResult("result-1", "part-1", "data-x", {"report-1", "report-2"});
  EXPECT_CALL(filemanagement, getFileReadTickets(IsEmpty()));
  const auto out = table->KESTREL_get_validation_data({{"part-1"}, {}, false});
  EXPECT_THAT(Reports(out), ElementsAre("report-1[]"));
}

TEST_F(ValidationDataTest, FilesBeyondTheNamesOrWithoutATicketGetEmptyTexts) {
  const auto files = AddReport("report-1", {{"a.txt", "Text", 1}, {"b.bin", "Binary", 2}, {"c.bin", "Binary", 0}});
  world.set_property("report-1", Wire::props::strs("ref_names", {"Text"}));
  world.set_property(files[2], Wire::props::null("original_file_name", Wire::ValueType::String));
  world.set_property(files[2], Wire::props::null("text_flag", Wire::ValueType::Int));
  AddResult("result-1", "part-1", "data-x", {"report-1"});
  Wire::ReadTicketsReply tickets;
  tickets.tickets = {{files[1], "t-b"}, {"file-elsewhere", "t-other"}};
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).WillOnce(Return(tickets));
  const auto out = table->KESTREL_get_validation_data({{"part-1"}, {}, false});
  EXPECT_THAT(Reports(out), ElementsAre("report-1[a.txt Text 1 , b.bin  2 t-b,   0 ]"));
}

TEST_F(ValidationDataTest, NullResultsOfTheReplyKeepTheirPlaceUnlessFiltered) {
  AddResult("result-1", "part-1", "data-x");
  Wire::ValidationResultsReply reply;
  reply.result_uids = {"", "result-1", ""};
  reply.data = world.reply_with({"result-1"});
  reply.data.errors = TwoStacks().errors;
  ON_CALL(validation, getValidationResults(_)).WillByDefault(Return(reply));

  const auto all = table->KESTREL_get_validation_data({{"part-1"}, {}, false});
  EXPECT_THAT(all.result_uids, ElementsAre("", "result-1", ""));
  EXPECT_THAT(Reports(all), ElementsAre("[]", "[]", "[]"));
  EXPECT_THAT(all.errors, ThreeErrorsInOrder());

  const auto filtered = table->KESTREL_get_validation_data({{"part-1"}, {"data-x"}, false});
  EXPECT_THAT(filtered.result_uids, ElementsAre("result-1"));
}

TEST_F(ValidationDataTest, ErrorsAreThoseOfTheResultsRequestAlone) {
  AddReport("report-1", {{"a.txt", "Text", 1}});
  AddResult("result-1", "part-1", "data-x", {"report-1"});
  Wire::ReadTicketsReply tickets;
  tickets.data.errors = {Wire::WorldStore::not_found("file-gone")};
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).WillOnce(Return(tickets));
  const auto out = table->KESTREL_get_validation_data({{"part-1", "part-gone"}, {}, false});
  EXPECT_THAT(out.result_uids, ElementsAre("result-1"));
  ASSERT_EQ(out.errors.size(), 1u);
  EXPECT_EQ(out.errors[0].code, 515024);
}

TEST_F(ValidationDataTest, ANullFirstReportRaises940209) {
  AddResult("result-1", "part-1", "data-x", {"", "report-1"});
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_validation_data({{"part-1"}, {}, false});
      },
      RaisesFrom(940209, "KRAL SOA: Error getting SOA object from KRAL object", "kestrel_validation.cpp"));
}

TEST_F(ValidationDataTest, ANullFirstReportFileRaises940209) {
  const auto files = AddReport("report-1", {{"a.txt", "Text", 1}});
  world.set_property("report-1", Wire::props::refs("ref_list", {"", files[0]}));
  world.set_property("report-1", Wire::props::strs("ref_names", {"Lost", "Text"}));
  AddResult("result-1", "part-1", "data-x", {"report-1"});
  EXPECT_THAT(
      [&] {
        table->KESTREL_get_validation_data({{"part-1"}, {}, false});
      },
      RaisesFrom(940209, "KRAL SOA: Error getting SOA object from KRAL object", "kestrel_validation.cpp"));
}

// Each property slot 82 reads, sent by the server as a value of another
// kind: the read raises 940209 naming the property and the object's type,
// as every other read of validation objects does, never the framework's own
// exception.
TEST_F(ValidationDataTest, APropertyOfAnotherKindRaises940209NamingIt) {
  struct Case {
    const char* object;  // "result", "report" or "file"
    Wire::WireProperty wrong;
    const char* type;
  };
  const Case cases[] = {
      {"result", Wire::props::str("validation_data_obj", "data-x"), "ValReqResult"},
      {"result", Wire::props::strs("validation_report", {"report-1"}), "ValReqResult"},
      {"report", Wire::props::ints("ref_names", {1}), "ValReport"},
      {"report", Wire::props::strs("ref_list", {"file-1"}), "ValReport"},
      {"file", Wire::props::integer("original_file_name", 7), "OstraFile"},
      {"file", Wire::props::strs("original_file_name", {}), "OstraFile"},  // a single text without a value
      {"file", Wire::props::str("text_flag", "1"), "OstraFile"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wrong.name + " of the " + c.object);
    const std::string suffix = std::to_string(++n);
    const std::string part = "part-wrong-" + suffix, result = "result-" + suffix, report = "report-" + suffix;
    world.add_object(part, {"Dataset", "WorkspaceObject", "POM_object"});
    const auto files = AddReport(report, {{"a.txt", "Text", 1}});
    AddResult(result, part, "data-x", {report});
    const std::string object = c.object == std::string("result")   ? result
                               : c.object == std::string("report") ? report
                                                                   : files[0];
    world.set_property(object, c.wrong);
    EXPECT_THAT(
        [&] {
          table->KESTREL_get_validation_data({{part}, {"data-x"}, false});
        },
        RaisesFrom(940209, "KRAL SOA: Error getting property " + c.wrong.name + " on object of type " + c.type,
                   "kestrel_validation.cpp"));
  }
}

TEST_F(ValidationDataTest, AFailedTicketRequestReachesTheHostUnchanged) {
  AddReport("report-1", {{"a.txt", "Text", 1}});
  AddResult("result-1", "part-1", "data-x", {"report-1"});
  EXPECT_CALL(filemanagement, getFileReadTickets(_)).WillOnce(::testing::Throw(RuntimeException("no volume")));
  EXPECT_THROW(table->KESTREL_get_validation_data({{"part-1"}, {}, false}), RuntimeException);
}

// ---- slot 83

ValidationResultQuery Query(std::string object_uid) {
  ValidationResultQuery q;
  q.object_uid = std::move(object_uid);
  q.first_text = "first";
  q.second_text = "second";
  q.third_text = "third";
  q.fourth_text = "fourth";
  q.fifth_text = "fifth";
  q.texts = {"a", "b"};
  q.flag = true;
  return q;
}

TEST_F(ValidationDataTest, QueriesBecomeOneRecordEachAndAnswerObjectsWithResults) {
  AddResult("result-1", "part-1", "data-x");
  AddResult("result-2", "part-2", "data-x");
  AddResult("result-3", "part-1", "data-y");
  std::vector<Wire::ValidationQueryRecord> sent;
  EXPECT_CALL(validation, queryValidationResults(_)).WillOnce([&](const auto& records) {
    sent = records;
    return world.validation.queryValidationResults(records);
  });
  const auto out = table->KESTREL_query_validation_results({Query("part-1"), {}, Query("part-2")});

  EXPECT_THAT(Requests(), ElementsAre("loadObjects", "loadObjects", "queryValidationResults"));
  EXPECT_EQ(PolicyOf("queryValidationResults"), 2);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_THAT(sent[0], FieldsAre("part-1", "", "first", "second", "third", "fourth", false, "", "fifth",
                                 ElementsAre("a", "b"), true));
  EXPECT_THAT(sent[1], FieldsAre("", "", "", "", "", "", false, "", "", IsEmpty(), false));
  ASSERT_EQ(out.results.size(), 3u);
  EXPECT_THAT(out.results[0], FieldsAre("part-1", ElementsAre("result-1", "result-3")));
  EXPECT_THAT(out.results[1], FieldsAre("", IsEmpty()));
  EXPECT_THAT(out.results[2], FieldsAre("part-2", ElementsAre("result-2")));
  EXPECT_THAT(out.errors, IsEmpty());
}

TEST_F(ValidationDataTest, NullObjectsOfAQueryReplyKeepTheirPlaceAsEmptyUids) {
  AddResult("result-1", "part-1", "data-x");
  Wire::ValidationQueryReply reply;
  reply.outputs = {{"", {"result-1", ""}}, {"part-1", {}}};
  reply.data = world.reply_with({"result-1", "part-1"});
  reply.data.errors = TwoStacks().errors;
  EXPECT_CALL(validation, queryValidationResults(_)).WillOnce(Return(reply));
  const auto out = table->KESTREL_query_validation_results({});
  ASSERT_EQ(out.results.size(), 2u);
  EXPECT_THAT(out.results[0], FieldsAre("", ElementsAre("result-1", "")));
  EXPECT_THAT(out.results[1], FieldsAre("part-1", IsEmpty()));
  EXPECT_THAT(out.errors, ThreeErrorsInOrder());
}

TEST_F(ValidationDataTest, NoQueriesStillSendTheRequest) {
  EXPECT_CALL(validation, queryValidationResults(IsEmpty()));
  const auto out = table->KESTREL_query_validation_results({});
  EXPECT_THAT(Requests(), ElementsAre("queryValidationResults"));
  EXPECT_THAT(out.results, IsEmpty());
}

// ---- round trip: results created with report files are read back with them

// The two roads by which a result is made: the validation service (slot 81)
// and core creation on a newer server (slot 84).
struct CreationRoad {
  const char* name;
  const char* server_version;
  ValidationResultList (*const KESTREL_interface_s::*slot)(const std::vector<ValidationResultInput>&);
};
const CreationRoad kCreationRoads[] = {
    {"slot 81", "V2007.1", &KESTREL_interface_s::KESTREL_create_validation_results},
    {"slot 84, newer server", "P2009.1.0", &KESTREL_interface_s::KESTREL_save_validation_results},
};

// Sets the world's server to the road's and adds a target dataset of its own.
std::string UseRoad(Wire::SampleWorld& world, const CreationRoad& road) {
  world.set_server_version(road.server_version);
  std::string target = std::string("target-") + road.server_version;
  world.add_object(target, {"Dataset", "WorkspaceObject", "POM_object"});
  return target;
}

TEST_F(ValidationDataTest, CreatedAndSavedResultsReadBackWithTheirFilesAndTickets) {
  for (const auto& c : kCreationRoads) {
    SCOPED_TRACE(c.name);
    const std::string target = UseRoad(world, c);
    ValidationResultInput input;
    input.item_revision_uid = "rev-K-1000-B";
    input.target_uid = target;
    input.data_object_uid = "data-x";
    input.validation_id = "CLR-1";
    input.check_name = "Clearance";
    input.reports = {{true,
                      "",
                      "clearance report",
                      "HTML",
                      {{"C:\\checks\\clearance.html", "HTML_Report", 1}, {"D:/checks/run/trace.bin", "Trace", 0}}}};
    const ValidationResultList created = (table->*c.slot)({input});
    ASSERT_EQ(created.results.size(), 1u);
    const ValidationResultInfo& made = created.results[0];
    ASSERT_FALSE(made.report_dataset_uid.empty());

    const auto out = table->KESTREL_get_validation_data({{target}, {"data-x"}, false});
    EXPECT_THAT(out.result_uids, ElementsAre(made.result_uid));
    ASSERT_EQ(out.reports.size(), 1u);
    EXPECT_EQ(out.reports[0].report_dataset_uid, made.report_dataset_uid);
    const auto& files = out.reports[0].files;
    ASSERT_EQ(files.size(), 2u);
    EXPECT_THAT(files[0], FieldsAre("clearance.html", "HTML_Report", 1, ::testing::StartsWith("read-")));
    EXPECT_THAT(files[1], FieldsAre("trace.bin", "Trace", 0, ::testing::StartsWith("read-")));

    const auto queried = table->KESTREL_query_validation_results({Query(target)});
    ASSERT_EQ(queried.results.size(), 1u);
    EXPECT_THAT(queried.results[0], FieldsAre(target, ElementsAre(made.result_uid)));
  }
}

// A result made without a report holds an empty report list, on either road,
// so reading it back gives its place an empty report instead of raising.
TEST_F(ValidationDataTest, ResultsMadeWithoutAReportReadBackWithAnEmptyOne) {
  for (const auto& c : kCreationRoads) {
    SCOPED_TRACE(c.name);
    const std::string target = UseRoad(world, c);
    ValidationResultInput input;
    input.item_revision_uid = "rev-K-1000-B";
    input.target_uid = target;
    input.validation_id = "CLR-2";
    const ValidationResultList created = (table->*c.slot)({input});
    ASSERT_EQ(created.results.size(), 1u);

    const auto out = table->KESTREL_get_validation_data({{target}, {}, false});
    EXPECT_THAT(out.result_uids, ElementsAre(created.results[0].result_uid));
    EXPECT_THAT(Reports(out), ElementsAre("[]"));
  }
}

// ---- all three

using ValidationWithoutSessionTest = SessionTest;

TEST_F(ValidationWithoutSessionTest, EachEntryRaises940209BeforeAnyRequest) {
  const std::function<void()> calls[] = {
      [&] { table->KESTREL_send_validation_inputs({DataInput("data-x", "part-1")}); },
      [&] {
        table->KESTREL_get_validation_data({{"part-1"}, {"data-x"}, false});
      },
      [&] { table->KESTREL_query_validation_results({Query("part-1")}); },
  };
  for (const auto& call : calls)
    EXPECT_THAT(call, RaisesFrom(940209, "SOA: No connection object - SOA unavailable or not initialized",
                                 "kestrel_validation.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

class ValidationDataConversion : public ConversionTest<ValidationDataConversion, ValidationDataTest> {
 public:
  static constexpr const char* kFile = "kestrel_validation.cpp";
  static std::vector<Operation> Operations() {
    return {{"SendValidationInputs",
             [](ValidationDataConversion& t, const std::function<void()>& fail) {
               ON_CALL(t.validation, sendValidationData(_)).WillByDefault([fail](auto&&...) {
                 fail();
                 return Wire::ValidationDataReply();
               });
             },
             [](ValidationDataConversion& t) { t.table->KESTREL_send_validation_inputs({DataInput("data-x", "")}); }},
            {"GetValidationData",
             [](ValidationDataConversion& t, const std::function<void()>& fail) {
               ON_CALL(t.validation, getValidationResults(_)).WillByDefault([fail](auto&&...) {
                 fail();
                 return Wire::ValidationResultsReply();
               });
             },
             [](ValidationDataConversion& t) {
               t.table->KESTREL_get_validation_data({{"part-1"}, {}, false});
             }},
            {"QueryValidationResults",
             [](ValidationDataConversion& t, const std::function<void()>& fail) {
               ON_CALL(t.validation, queryValidationResults(_)).WillByDefault([fail](auto&&...) {
                 fail();
                 return Wire::ValidationQueryReply();
               });
             },
             [](ValidationDataConversion& t) { t.table->KESTREL_query_validation_results({Query("part-1")}); }}};
  }
};
KESTREL_CONVERSION_SUITE(ValidationDataConversion);

}  // namespace
}  // namespace kestrel::test
