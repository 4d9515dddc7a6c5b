// Validation results: creation through the internal validation service and
// core creation, saving and updating, the upload of their report files, and
// the validation property reader.
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "corerun/clock.h"
#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/client/testing.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel_call.h"
#include "kestrel_validation.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

namespace Wire = Halden::Soa::Server;
using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Common::DateTime;
using Halden::Soa::Server::ValueType;
using ServerObject = Halden::Soa::Client::ModelObject;
using Uploads = std::vector<std::map<std::string, std::string>>;
using ::testing::_;
using ::testing::AllOf;
using ::testing::AnyNumber;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::FieldsAre;
using ::testing::HasSubstr;
using ::testing::InSequence;
using ::testing::IsEmpty;
using ::testing::IsNull;
using ::testing::Key;
using ::testing::Not;
using ::testing::Pair;
using ::testing::Return;
using ::testing::SizeIs;
using ::testing::Throw;
using namespace Halden::Soa::Server::props;

constexpr const char* kRevision = "rev-K-1000-B";
constexpr const char* kTarget = "ds-K-1000-B-drawing";
constexpr const char* kUser = "user-engineer";

const std::vector<std::string> kResultTypes = {"ValReqResult", "WorkspaceObject", "POM_object"};

class ValidationTest : public SessionTest {
 protected:
  ValidationTest() {
    world.add_object("result-1", kResultTypes,
                     {str("object_name", "Clearance"), str("validation_id", "CLR-1"),
                      null("validation_comments", ValueType::String)});
    world.set_policy("ValReqResult", {"object_name"});
    ConnectAndLogin();
    ClearRequests();
    clear_log();
  }

  // The server object of a UID, loaded without a property policy of its type's own.
  ServerObject* Object(const std::string& uid) {
    ServerObject* object = get_model_manager(KESTREL_HERE)->loadObjects(uid);
    ClearRequests();
    clear_log();
    return object;
  }

  const Halden::Soa::Server::RequestRecord& Request(std::size_t i) const { return server.requests.at(i); }

  ::testing::NiceMock<Wire::MockFileManagementStub>& filemanagement = test_server.filemanagement;

  // A check of the sample's revision and drawing, with a report of the files
  // given (none: no report).
  static ValidationResultInput Input(const std::string& id, std::vector<ValidationReportFile> files = {},
                                     bool with_report = true) {
    ValidationResultInput input;
    input.item_revision_uid = kRevision;
    input.target_uid = kTarget;
    input.validation_id = id;
    input.result = true;
    input.status = 7;
    input.comments = "checked " + id;
    input.date = date_s{2024, 2, 14, 9, 30, 5};
    input.is_adhoc = true;
    input.parameters = {{"gap", "0.5", "<="}, {"angle", "90", "=="}};
    if (with_report) input.reports = {{true, "not read", "report " + id, "HTML", std::move(files)}};
    input.service_flag = true;
    input.check_name = "Check " + id;
    return input;
  }

  static Uploads UploadCalls() { return Halden::Soa::Client::testing::uploads(); }
  std::vector<std::string> RefNames(const std::string& dataset) {
    return world.find(dataset)->properties.at("ref_names").strings;
  }
  std::vector<std::string> FileNames(const std::string& dataset) {
    std::vector<std::string> names;
    for (const auto& uid : world.find(dataset)->properties.at("ref_list").references)
      names.push_back(world.find(uid)->properties.at("original_file_name").strings.at(0));
    return names;
  }
};

// The validation records the internal service received, once.
std::vector<Wire::ValidationResultRecord> sent_records;
auto RecordsAndAnswer(Wire::SampleWorld& world) {
  return [&world](const std::vector<Wire::ValidationResultRecord>& records) {
    sent_records = records;
    return world.validation.createValidationResults(records);
  };
}

// ---------------------------------------------------------------------------
// The validation property reader

TEST_F(ValidationTest, PropertyHeldIsReadWithoutRequest) {
  ServerObject* result = Object("result-1");
  auto* property = ask_validation_object_property(result, "object_name", true);
  ASSERT_NE(property, nullptr);
  EXPECT_EQ(property->getStringValue(), "Clearance");
  EXPECT_THAT(server.requests, IsEmpty());
}

TEST_F(ValidationTest, PropertySentAsNullIsNull) {
  ServerObject* result = Object("result-1");
  EXPECT_THAT(ask_validation_object_property(result, "validation_comments", true), IsNull());
}

TEST_F(ValidationTest, MissingPropertyLoadsStandardPropertiesThenTheName) {
  ServerObject* result = Object("result-1");
  {
    InSequence order;
    EXPECT_CALL(datamanagement, getProperties(ElementsAre("result-1"), IsEmpty()))
        .WillOnce(Return(Halden::Soa::Server::WireServiceData{}));
    EXPECT_CALL(datamanagement, getProperties(ElementsAre("result-1"), ElementsAre("validation_id")));
  }
  auto* property = ask_validation_object_property(result, "validation_id", true);
  ASSERT_NE(property, nullptr);
  EXPECT_EQ(property->getStringValue(), "CLR-1");
  ASSERT_EQ(server.requests.size(), 2u);
  EXPECT_EQ(Request(0).policy, 2);
  EXPECT_EQ(Request(1).policy, 2);
  EXPECT_THAT(log_lines(),
              ElementsAre("KRAL SOA Warning: force-load of property validation_id on object of type ValReqResult"));
}

TEST_F(ValidationTest, PropertyTheServerNeverSendsRaisesNotLoaded) {
  ServerObject* result = Object("result-1");
  EXPECT_THAT(
      [&] { ask_validation_object_property(result, "no_such", true); },
      RaisesFrom(940223, ::testing::HasSubstr("KRAL SOA: SOA not loaded exception: "), "kestrel_validation.cpp"));
  EXPECT_EQ(server.requests.size(), 2u);
}

TEST_F(ValidationTest, UnforcedReadOfAMissingPropertyRaisesAndSendsNothing) {
  ServerObject* result = Object("result-1");
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("TOVMGR_debug_soa", true);
  EXPECT_THAT([&] { ask_validation_object_property(result, "validation_id", false); },
              RaisesFrom(940223, "KRAL SOA: Property validation_id not loaded on object of type ValReqResult",
                         "kestrel_validation.cpp"));
  EXPECT_THAT(server.requests, IsEmpty());
  EXPECT_THAT(log_lines(), ElementsAre("SOA debug: not loaded exception for property validation_id",
                                       "SOA debug - caller asked not to force load property validation_id"));
}

TEST_F(ValidationTest, PropertyReadOfANullObjectRaises) {
  EXPECT_THAT([&] { ask_validation_object_property(nullptr, "object_name", true); },
              RaisesFrom(940209, "KRAL SOA: Error getting SOA object from KRAL object", "kestrel_validation.cpp"));
}

TEST_F(ValidationTest, FailedLoadOfAPropertyIsConverted) {
  ServerObject* result = Object("result-1");
  EXPECT_CALL(datamanagement, getProperties(_, _)).WillOnce(Throw(RuntimeException("down")));
  EXPECT_THAT([&] { ask_validation_object_property(result, "validation_id", true); },
              RaisesFrom(940222, "KRAL SOA: SOA runtime exception: down", "kestrel_validation.cpp"));
}

// ---------------------------------------------------------------------------
// Slot 81: the internal validation service

TEST_F(ValidationTest, CreateSendsOneRecordPerInputWithItsObjectsAndTheSessionUser) {
  world.add_object("data-1", {"Form", "WorkspaceObject", "POM_object"});
  auto first = Input("A");
  first.data_object_uid = "data-1";
  first.result_uid = "result-1";
  auto second = Input("B", {}, false);
  EXPECT_CALL(test_server.validation, createValidationResults(_)).WillOnce(RecordsAndAnswer(world));
  table->KESTREL_create_validation_results({first, second});

  ASSERT_THAT(sent_records, SizeIs(2));
  const auto& r = sent_records[0];
  EXPECT_EQ(r.existing_uid, "result-1");
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.item_revision_uid, kRevision);
  EXPECT_EQ(r.target_uid, kTarget);
  EXPECT_EQ(r.data_uid, "data-1");
  EXPECT_EQ(r.validation_id, "A");
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.status, 7);
  EXPECT_EQ(r.comments, "checked A");
  EXPECT_EQ(r.date, DateTime(2024, 3, 14, 9, 30, 5));
  EXPECT_EQ(r.user_uid, kUser);
  EXPECT_TRUE(r.is_adhoc);
  EXPECT_THAT(r.parameters, ElementsAre(FieldsAre("gap", "0.5", "<="), FieldsAre("angle", "90", "==")));
  EXPECT_THAT(r.reports, ElementsAre(FieldsAre(true, "", "", "report A", "HTML", IsEmpty())));
  EXPECT_TRUE(r.flag);
  EXPECT_EQ(sent_records[1].existing_uid, "");
  EXPECT_EQ(sent_records[1].data_uid, "");
  EXPECT_THAT(sent_records[1].reports, IsEmpty());

  // Per input its loads and a session request; the existing result is
  // loaded only when named.
  const auto requests = Requests();
  ASSERT_GE(requests.size(), 10u);
  EXPECT_THAT(std::vector<std::string>(requests.begin(), requests.begin() + 10),
              ElementsAre("loadObjects", "loadObjects", "loadObjects", "loadObjects", "getSessionInfo", "loadObjects",
                          "loadObjects", "loadObjects", "getSessionInfo", "createValidationResults"));
  for (const auto& request : server.requests) EXPECT_EQ(request.policy, 2) << request.operation;
}

TEST_F(ValidationTest, CreatedResultsGetTheirReportFilesAndComeBackWithThem) {
  auto input = Input("A", {{"C:\\checks\\gap report.html", "HTML_Report", 1},
                           {"D:/checks/run/trace.log", "Log", 0},
                           {"plain.bin", "Data", 2}});
  const auto list = table->KESTREL_create_validation_results({input});

  ASSERT_THAT(list.results, SizeIs(1));
  EXPECT_EQ(list.results[0].result_uid, "valresult-1");
  EXPECT_EQ(list.results[0].report_dataset_uid, "valreport-1");
  EXPECT_THAT(list.results[0].report_files, IsEmpty());
  EXPECT_THAT(list.results[0].errors, IsEmpty());
  EXPECT_THAT(list.errors, IsEmpty());

  // The file infos carry the name part only; the upload the full paths.
  const auto uploads = UploadCalls();
  ASSERT_THAT(uploads, SizeIs(1));
  EXPECT_THAT(uploads[0], ElementsAre(Pair(_, "C:\\checks\\gap report.html"), Pair(_, "D:/checks/run/trace.log"),
                                      Pair(_, "plain.bin")));
  EXPECT_THAT(RefNames("valreport-1"), ElementsAre("HTML_Report", "Log", "Data"));
  EXPECT_THAT(FileNames("valreport-1"), ElementsAre("gap report.html", "trace.log", "plain.bin"));
  EXPECT_EQ(world.filemanagement.open_write_tickets(), 0u);
  const auto requests = Requests();
  EXPECT_THAT(std::vector<std::string>(requests.end() - 2, requests.end()),
              ElementsAre("getDatasetWriteTickets", "commitDatasetFiles"));
}

TEST_F(ValidationTest, FileInfosTellTextFilesAndAllowReplacing) {
  std::vector<Wire::WriteTicketRecord> asked;
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).WillOnce([&](const auto& inputs) {
    asked = inputs;
    return world.filemanagement.getDatasetWriteTickets(inputs);
  });
  table->KESTREL_create_validation_results(
      {Input("A", {{"C:\\r\\a.txt", "Text", 1}, {"C:\\r\\b.bin", "Bin", 0}, {"c.dat", "Dat", 2}})});
  ASSERT_THAT(asked, SizeIs(1));
  EXPECT_EQ(asked[0].dataset_uid, "valreport-1");
  EXPECT_TRUE(asked[0].flag);
  EXPECT_THAT(asked[0].file_infos,
              ElementsAre(FieldsAre("", "a.txt", "Text", true, true), FieldsAre("", "b.bin", "Bin", false, true),
                          FieldsAre("", "c.dat", "Dat", false, true)));
}

TEST_F(ValidationTest, AReportWithoutFilesStillAsksForTicketsOfItsDataset) {
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(ElementsAre(FieldsAre("valreport-1", true, IsEmpty()))));
  table->KESTREL_create_validation_results({Input("A")});
  EXPECT_THAT(UploadCalls(), IsEmpty());
  EXPECT_THAT(Requests(), Contains("commitDatasetFiles"));
}

TEST_F(ValidationTest, AnExistingReportDatasetIsEmptiedOfItsReferencesOnceEachCaseIgnored) {
  world.add_object("report-1", {"HTML", "Dataset", "WorkspaceObject", "POM_object"},
                   {strs("ref_names", {"Report", "report", "LOG"}), refs("ref_list", {"f1", "f2", "f3"})});
  world.set_property("result-1", refs("validation_report", {"report-1"}));
  auto input = Input("A", {{"C:\\new.html", "Report", 1}});
  input.result_uid = "result-1";
  std::vector<Wire::RemoveNamedReferencesRecord> removed;
  {
    InSequence order;
    EXPECT_CALL(datamanagement, removeNamedReferences(_)).WillOnce([&](const auto& inputs) {
      removed = inputs;
      return world.datamanagement.removeNamedReferences(inputs);
    });
    EXPECT_CALL(filemanagement, getDatasetWriteTickets(_));
    EXPECT_CALL(filemanagement, commitDatasetFiles(_));
  }
  const auto list = table->KESTREL_create_validation_results({input});
  ASSERT_THAT(removed, SizeIs(1));
  EXPECT_EQ(removed[0].client_id, "");
  EXPECT_EQ(removed[0].dataset_uid, "report-1");
  EXPECT_THAT(removed[0].references, ElementsAre(FieldsAre("", "Report", "", false), FieldsAre("", "LOG", "", false)));
  ASSERT_THAT(list.results, SizeIs(1));
  EXPECT_EQ(list.results[0].result_uid, "result-1");
  EXPECT_EQ(list.results[0].report_dataset_uid, "report-1");
  EXPECT_THAT(RefNames("report-1"), ElementsAre("Report"));
  EXPECT_THAT(FileNames("report-1"), ElementsAre("new.html"));
}

TEST_F(ValidationTest, EachResultsFilesGoIntoItsOwnReportDataset) {
  std::vector<std::vector<Wire::WriteTicketRecord>> asked;
  ON_CALL(filemanagement, getDatasetWriteTickets(_)).WillByDefault([&](const auto& inputs) {
    asked.push_back(inputs);
    return world.filemanagement.getDatasetWriteTickets(inputs);
  });
  const auto list = table->KESTREL_create_validation_results(
      {Input("A", {{"C:\\a1.html", "HTML", 1}, {"C:\\a2.log", "Log", 0}}), Input("B", {{"C:\\b1.html", "HTML", 1}})});

  ASSERT_THAT(list.results, SizeIs(2));
  const std::string a = list.results[0].report_dataset_uid, b = list.results[1].report_dataset_uid;
  ASSERT_NE(a, b);
  // One ticket request, one upload and one commit per result, each with its
  // own dataset and its own files only.
  ASSERT_THAT(asked, SizeIs(2));
  EXPECT_THAT(asked[0], ElementsAre(Field(&Wire::WriteTicketRecord::dataset_uid, a)));
  EXPECT_THAT(asked[1], ElementsAre(Field(&Wire::WriteTicketRecord::dataset_uid, b)));
  const auto uploads = UploadCalls();
  ASSERT_THAT(uploads, SizeIs(2));
  EXPECT_THAT(uploads[0], ElementsAre(Pair(_, "C:\\a1.html"), Pair(_, "C:\\a2.log")));
  EXPECT_THAT(uploads[1], ElementsAre(Pair(_, "C:\\b1.html")));
  EXPECT_THAT(FileNames(a), ElementsAre("a1.html", "a2.log"));
  EXPECT_THAT(FileNames(b), ElementsAre("b1.html"));
}

TEST_F(ValidationTest, ResultsPairWithTheInputsTheServerAcceptedWhenSomeFail) {
  auto rejected = Input("B", {{"C:\\b.html", "HTML", 1}});
  rejected.item_revision_uid = "";  // the world refuses a result without its revision
  const auto list = table->KESTREL_create_validation_results(
      {Input("A", {{"C:\\a.html", "HTML", 1}}), rejected, Input("C", {{"C:\\c.html", "HTML", 1}})});

  ASSERT_THAT(list.results, SizeIs(2));
  EXPECT_THAT(FileNames(list.results[0].report_dataset_uid), ElementsAre("a.html"));
  EXPECT_THAT(FileNames(list.results[1].report_dataset_uid), ElementsAre("c.html"));
  ASSERT_THAT(list.errors, SizeIs(1));
  EXPECT_EQ(list.errors[0].code, 215001);
  EXPECT_EQ(list.errors[0].message, "A validation result needs the validated item revision.");
  for (const auto& upload : UploadCalls()) EXPECT_THAT(upload, Not(Contains(Pair(_, "C:\\b.html"))));
}

TEST_F(ValidationTest, ReplyEntriesBeyondTheInputsOrWithoutAResultGetNoUpload) {
  world.add_object("report-2", {"HTML", "Dataset", "WorkspaceObject", "POM_object"},
                   {strs("ref_names", {"Old"}), refs("ref_list", {"f9"})});
  world.add_object("result-2", kResultTypes, {refs("validation_report", {"report-2"})});
  Wire::CreateValidationResultsReply reply;
  reply.outputs = {{"", {"report-2"}}, {"result-2", {"report-2"}}, {"result-2", {"report-2"}}};
  reply.data = world.reply_with({"result-2", "report-2"});
  EXPECT_CALL(test_server.validation, createValidationResults(_)).WillOnce(Return(reply));
  EXPECT_CALL(datamanagement, removeNamedReferences(_)).Times(1);
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).Times(1);

  const auto list = table->KESTREL_create_validation_results(
      {Input("A", {{"C:\\a.html", "HTML", 1}}), Input("B", {{"C:\\b.html", "HTML", 1}})});
  // The entry without a result keeps its place with an empty UID and pairs
  // with the first input; the second entry takes the second input's files;
  // the third has no input, so no upload, but still names its own dataset.
  ASSERT_THAT(list.results, SizeIs(3));
  EXPECT_EQ(list.results[0].result_uid, "");
  EXPECT_EQ(list.results[0].report_dataset_uid, "");
  EXPECT_EQ(list.results[1].report_dataset_uid, "report-2");
  EXPECT_EQ(list.results[2].result_uid, "result-2");
  EXPECT_EQ(list.results[2].report_dataset_uid, "report-2");
  EXPECT_THAT(UploadCalls(), ElementsAre(ElementsAre(Pair(_, "C:\\b.html"))));
}

TEST_F(ValidationTest, TicketsBeyondTheInputsFilesAreSkipped) {
  ON_CALL(filemanagement, getDatasetWriteTickets(_)).WillByDefault([&](const auto& inputs) {
    auto reply = world.filemanagement.getDatasetWriteTickets(inputs);
    auto extra = reply.commit_infos.at(0).file_infos.at(0);
    extra.text4 = "write-extra";
    reply.commit_infos.at(0).file_infos.push_back(extra);
    return reply;
  });
  table->KESTREL_create_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
  ASSERT_THAT(UploadCalls(), SizeIs(1));
  EXPECT_THAT(UploadCalls()[0], ElementsAre(Pair(Not("write-extra"), "C:\\a.html")));
}

TEST_F(ValidationTest, TicketsOfAnotherDatasetGetNoFileOfThisResult) {
  world.add_object("report-other", {"HTML", "Dataset", "WorkspaceObject", "POM_object"},
                   {strs("ref_names", {}), refs("ref_list", {})});
  ON_CALL(filemanagement, getDatasetWriteTickets(_)).WillByDefault([&](const auto& inputs) {
    auto reply = world.filemanagement.getDatasetWriteTickets(inputs);
    auto other = reply.commit_infos.at(0);
    other.dataset_uid = "report-other";
    for (auto& f : other.file_infos) f.text4 += "-other";
    reply.commit_infos.push_back(other);
    return reply;
  });
  table->KESTREL_create_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
  EXPECT_THAT(UploadCalls(), ElementsAre(ElementsAre(Pair("write-1", "C:\\a.html"))));
  EXPECT_THAT(FileNames("valreport-1"), ElementsAre("a.html"));
  EXPECT_THAT(RefNames("report-other"), IsEmpty());
}

// What the upload reads of the result and its report dataset, sent by the
// server as a value of another kind: 940209 naming the property and the
// object's type, before any ticket is asked.
TEST_F(ValidationTest, AnUploadReadOfAnotherKindRaises940209NamingIt) {
  const struct {
    const char* result;
    const char* report;
    bool on_result;  // else on the report dataset
    Wire::WireProperty wrong;
    const char* type;
  } cases[] = {
      {"result-a", "report-a", true, strs("validation_report", {"report-a"}), "ValReqResult"},
      {"result-b", "report-b", false, ints("ref_names", {1}), "HTML"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wrong.name);
    world.add_object(c.report, {"HTML", "Dataset", "WorkspaceObject", "POM_object"},
                     {strs("ref_names", {"Old"}), refs("ref_list", {"f1"})});
    world.add_object(c.result, kResultTypes, {refs("validation_report", {c.report})});
    world.set_property(c.on_result ? c.result : c.report, c.wrong);
    Wire::CreateValidationResultsReply reply;
    reply.outputs = {{c.result, {c.report}}};
    reply.data = world.reply_with({c.result, c.report});
    ON_CALL(test_server.validation, createValidationResults(_)).WillByDefault(Return(reply));
    ClearRequests();
    EXPECT_THAT(
        [&] {
          table->KESTREL_create_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
        },
        RaisesFrom(940209, "KRAL SOA: Error getting property " + c.wrong.name + " on object of type " + c.type,
                   "kestrel_validation.cpp"));
    EXPECT_THAT(Requests(), AllOf(Not(Contains("removeNamedReferences")), Not(Contains("getDatasetWriteTickets"))));
  }
}

// Such a result names its dataset and reads nothing more of it: not even
// reference names the server sends as a value of another kind.
TEST_F(ValidationTest, AnInputWithoutAReportLeavesItsResultsDatasetAlone) {
  world.add_object("report-1", {"HTML", "Dataset", "WorkspaceObject", "POM_object"},
                   {strs("ref_names", {"Kept"}), refs("ref_list", {"f1"})});
  world.add_object("report-2", {"HTML", "Dataset", "WorkspaceObject", "POM_object"}, {ints("ref_names", {1})});
  world.add_object("result-2", kResultTypes, {refs("validation_report", {"report-1"})});
  world.add_object("result-3", kResultTypes, {refs("validation_report", {"report-2"})});
  Wire::CreateValidationResultsReply reply;
  reply.outputs = {{"result-2", {"report-1"}}, {"result-3", {"report-2"}}};
  reply.data = world.reply_with({"result-2", "result-3"});
  EXPECT_CALL(test_server.validation, createValidationResults(_)).WillOnce(Return(reply));
  EXPECT_CALL(datamanagement, removeNamedReferences(_)).Times(0);
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).Times(0);
  const auto list = table->KESTREL_create_validation_results({Input("A", {}, false)});
  ASSERT_THAT(list.results, SizeIs(2));
  EXPECT_EQ(list.results[0].report_dataset_uid, "report-1");
  EXPECT_EQ(list.results[1].report_dataset_uid, "report-2");
  EXPECT_THAT(RefNames("report-1"), ElementsAre("Kept"));
}

TEST_F(ValidationTest, MoreThanOneReportIsReportedAndOnlyTheFirstIsUploaded) {
  auto input = Input("A", {{"C:\\first.html", "HTML", 1}});
  input.reports.push_back({false, "", "second", "HTML", {{"C:\\second.html", "HTML", 1}}});
  MACH__checking_level = 1;
  table->KESTREL_create_validation_results({input});
  EXPECT_THAT(log_text(), HasSubstr("inputs[inx].reports.size() <= 1"));
  EXPECT_THAT(log_text(), HasSubstr("kestrel_validation.cpp"));
  EXPECT_THAT(UploadCalls(), ElementsAre(ElementsAre(Pair(_, "C:\\first.html"))));

  clear_log();
  MACH__checking_level = 0;
  table->KESTREL_create_validation_results({input});
  EXPECT_THAT(log_text(), Not(HasSubstr("reports.size()")));
}

TEST_F(ValidationTest, EmptyInputListSendsTheRequestAlone) {
  EXPECT_CALL(test_server.validation, createValidationResults(IsEmpty()));
  const auto list = table->KESTREL_create_validation_results({});
  EXPECT_THAT(list.results, IsEmpty());
  EXPECT_THAT(list.errors, IsEmpty());
  EXPECT_THAT(Requests(), ElementsAre("createValidationResults"));
}

TEST_F(ValidationTest, CommitIsSentWhateverTheUploadStatuses) {
  Halden::Soa::Client::testing::set_upload_status("write-1", 5);
  EXPECT_CALL(filemanagement, commitDatasetFiles(SizeIs(1)));
  table->KESTREL_create_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
}

TEST_F(ValidationTest, TicketRequestAndUploadFailuresReachTheHostUnchanged) {
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_))
      .WillOnce(Throw(RuntimeException("no tickets")))
      .WillRepeatedly([this](const auto& inputs) { return world.filemanagement.getDatasetWriteTickets(inputs); });
  EXPECT_THROW(table->KESTREL_create_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})}), RuntimeException);
  Halden::Soa::Client::testing::set_upload_failure("transfer broke");
  EXPECT_CALL(filemanagement, commitDatasetFiles(_)).Times(0);
  EXPECT_THROW(table->KESTREL_create_validation_results({Input("B", {{"C:\\b.html", "HTML", 1}})}), RuntimeException);
}

TEST_F(ValidationTest, AReportListStartingWithNullRaises) {
  world.add_object("report-x", {"HTML", "Dataset", "WorkspaceObject", "POM_object"});
  world.set_property("result-1", refs("validation_report", {"", "report-x"}));
  Wire::CreateValidationResultsReply reply;
  reply.outputs = {{"result-1", {"report-x"}}};
  reply.data = world.reply_with({"result-1"});
  EXPECT_CALL(test_server.validation, createValidationResults(_)).WillOnce(Return(reply));
  EXPECT_THAT(
      [&] {
        table->KESTREL_create_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
      },
      RaisesFrom(940209, "KRAL SOA: Error getting SOA object from KRAL object", "kestrel_validation.cpp"));
  EXPECT_THAT(Requests(), Not(Contains("getDatasetWriteTickets")));
}

#define KESTREL_FAILING(mock, operation, Reply)                                \
  [](ValidationConversion& t, const auto& fail) {                              \
    ON_CALL(t.mock, operation).WillByDefault([fail](const auto&...) -> Reply { \
      fail();                                                                  \
      return {};                                                               \
    });                                                                        \
  }

class ValidationConversion : public ConversionTest<ValidationConversion, ValidationTest> {
 public:
  static constexpr const char* kFile = "kestrel_validation.cpp";
  static std::vector<Operation> Operations() {
    return {
        {"Create", KESTREL_FAILING(test_server.validation, createValidationResults, Wire::CreateValidationResultsReply),
         [](ValidationConversion& t) { t.table->KESTREL_create_validation_results({Input("A")}); }},
        {"RemoveReferences", KESTREL_FAILING(datamanagement, removeNamedReferences, Wire::WireServiceData),
         [](ValidationConversion& t) {
           t.world.add_object("report-1", {"HTML", "Dataset", "WorkspaceObject", "POM_object"},
                              {strs("ref_names", {"Old"}), refs("ref_list", {"f1"})});
           t.world.set_property("result-1", refs("validation_report", {"report-1"}));
           auto input = Input("A");
           input.result_uid = "result-1";
           t.table->KESTREL_create_validation_results({input});
         }},
        {"Commit", KESTREL_FAILING(filemanagement, commitDatasetFiles, Wire::WireServiceData),
         [](ValidationConversion& t) { t.table->KESTREL_create_validation_results({Input("A")}); }},
        {"UpdateProperties", KESTREL_FAILING(datamanagement, setProperties, Wire::WireServiceData),
         [](ValidationConversion& t) {
           auto input = Input("A", {}, false);
           input.result_uid = "result-1";
           t.table->KESTREL_update_validation_results({input});
         }},
    };
  }
};
KESTREL_CONVERSION_SUITE(ValidationConversion);

// ---------------------------------------------------------------------------
// Slot 84: saving, by server generation

TEST_F(ValidationTest, SaveTakesTheInternalServiceOnA2007ServerAskedOnEveryCall) {
  const struct {
    const char* version;
    bool internal;
  } cases[] = {{"V2007.1.3", true}, {"P2007", true},  {"P2007 SP1", true}, {"V8000.0", false},
               {"xV2007", false},   {"v2007", false}, {"", false},         {"P2009.1.0", false}};
  for (const auto& c : cases) {
    world.set_server_version(c.version);
    ClearRequests();
    table->KESTREL_save_validation_results({});
    EXPECT_EQ(Requests().at(0), "getSessionInfo") << c.version;
    EXPECT_EQ(Requests().at(1), c.internal ? "createValidationResults" : "createObjects") << c.version;
  }
}

class SaveTest : public ValidationTest {
 protected:
  SaveTest() {
    world.set_server_version("P2009.1.0");
    world.add_object("req-1", {"Requirement", "WorkspaceObject", "POM_object"});
    world.set_property(kTarget, date("last_mod_date", DateTime(2024, 1, 2, 3, 4, 5)));
    corerun::testing::set_clock(1700000000, 90);  // 2023-11-14 22:13:20 UTC, 23:43:20 local
    ON_CALL(datamanagement, createObjects(_)).WillByDefault([this](const auto& inputs) {
      created.push_back(inputs);
      return world.datamanagement.createObjects(inputs);
    });
    ON_CALL(datamanagement, createDatasets(_)).WillByDefault([this](const auto& inputs) {
      datasets = inputs;
      return world.datamanagement.createDatasets(inputs);
    });
  }
  std::vector<std::vector<Wire::ObjectCreateRecord>> created;
  std::vector<Wire::DatasetCreateRecord> datasets;
};

TEST_F(SaveTest, NewerServerCreatesParametersDatasetsAndResultsThroughCoreCreation) {
  auto with_report = Input("A", {{"C:\\a.html", "HTML_Report", 1}, {"C:\\a.log", "Log", 0}});
  with_report.requirement_uid = "req-1";
  auto without = Input("B", {}, false);
  without.parameters.clear();
  const auto list = table->KESTREL_save_validation_results({with_report, without});

  EXPECT_THAT(Requests(), AllOf(Contains("createObjects"), Contains("createDatasets"), Contains("getPropDescriptors"),
                                Not(Contains("createValidationResults"))));
  ASSERT_THAT(created, SizeIs(2));
  EXPECT_THAT(
      created[0],
      ElementsAre(FieldsAre("0", "ValidationParams", IsEmpty(),
                            ElementsAre(Pair("names", ElementsAre("gap", "angle")),
                                        Pair("ops", ElementsAre("<=", "==")), Pair("values", ElementsAre("0.5", "90"))),
                            IsEmpty(), IsEmpty(), IsEmpty(), IsEmpty(), IsEmpty()),
                  FieldsAre("1", "ValidationParams", IsEmpty(),
                            ElementsAre(Pair("names", IsEmpty()), Pair("ops", IsEmpty()), Pair("values", IsEmpty())),
                            IsEmpty(), IsEmpty(), IsEmpty(), IsEmpty(), IsEmpty())));
  // Client id, container, relation type, name, type, description.
  EXPECT_THAT(datasets, ElementsAre(FieldsAre("0", "", "", "report A", "HTML", "", "")));

  ASSERT_THAT(created[1], SizeIs(2));
  const auto& a = created[1][0];
  EXPECT_EQ(a.client_id, "0");
  EXPECT_EQ(a.type, "ValReqResult");
  EXPECT_THAT(a.strings, ElementsAre(Pair("object_name", "Check A"), Pair("validation_comments", "checked A"),
                                     Pair("validation_id", "A")));
  EXPECT_THAT(a.ints, ElementsAre(Pair("validation_status", 7)));
  EXPECT_THAT(a.logicals, ElementsAre(Pair("validation_is_adhoc", true), Pair("validation_result", true)));
  // The time of the call, local; not the input's date.
  EXPECT_THAT(a.dates, ElementsAre(Pair("validation_date", DateTime(2023, 11, 14, 23, 43, 20))));
  EXPECT_THAT(a.references,
              ElementsAre(Pair("validation_data_obj", ""), Pair("validation_item_rev_tag", kRevision),
                          Pair("validation_parameters", "valparams-1"), Pair("validation_requirement", "req-1"),
                          Pair("validation_target", kTarget), Pair("validation_user", kUser)));
  EXPECT_THAT(a.reference_arrays, ElementsAre(Pair("validation_report", ElementsAre("dataset-1"))));
  const auto& b = created[1][1];
  EXPECT_EQ(b.client_id, "1");
  EXPECT_THAT(b.references, Not(Contains(Key("validation_requirement"))));
  EXPECT_THAT(b.reference_arrays, IsEmpty());

  ASSERT_THAT(list.results, SizeIs(2));
  EXPECT_EQ(list.results[0].result_uid, "valresult-1");
  EXPECT_EQ(list.results[0].report_dataset_uid, "dataset-1");
  EXPECT_EQ(list.results[1].result_uid, "valresult-2");
  EXPECT_EQ(list.results[1].report_dataset_uid, "");
  EXPECT_THAT(list.errors, IsEmpty());
  EXPECT_THAT(FileNames("dataset-1"), ElementsAre("a.html", "a.log"));
  EXPECT_THAT(RefNames("dataset-1"), ElementsAre("HTML_Report", "Log"));
}

TEST_F(SaveTest, RequestsOfTheNewerPathInOrder) {
  table->KESTREL_save_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
  std::vector<std::string> calls;
  for (const auto& name : Requests())
    if (name != "loadObjects") calls.push_back(name);
  EXPECT_THAT(calls, ElementsAre("getSessionInfo", "createObjects", "createDatasets", "getDatasetWriteTickets",
                                 "commitDatasetFiles", "getPropDescriptors", "createObjects"));
  for (const auto& request : server.requests) EXPECT_EQ(request.policy, 2) << request.operation;
}

TEST_F(SaveTest, UploadAfterCoreCreationAsksOnceUploadsOnceCommitsOnce) {
  std::vector<ValidationResultInput> inputs;
  for (int i = 0; i < 5; ++i)
    inputs.push_back(Input(std::to_string(i), {{"C:\\r\\" + std::to_string(i) + ".html", "HTML", 1},
                                               {"C:\\r\\" + std::to_string(i) + ".log", "Log", 0}}));
  inputs[2].reports.clear();
  std::vector<Wire::WriteTicketRecord> asked;
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).WillOnce([&](const auto& in) {
    asked = in;
    return world.filemanagement.getDatasetWriteTickets(in);
  });
  EXPECT_CALL(filemanagement, commitDatasetFiles(SizeIs(4)));
  const auto list = table->KESTREL_save_validation_results(inputs);
  EXPECT_THAT(asked, SizeIs(4));
  ASSERT_THAT(UploadCalls(), SizeIs(1));
  EXPECT_THAT(UploadCalls()[0], SizeIs(8));
  ASSERT_THAT(list.results, SizeIs(5));
  for (int i : {0, 1, 3, 4}) {
    const std::string n = std::to_string(i);
    EXPECT_THAT(FileNames(list.results[static_cast<std::size_t>(i)].report_dataset_uid),
                ElementsAre(n + ".html", n + ".log"));
  }
  EXPECT_EQ(list.results[2].report_dataset_uid, "");
}

TEST_F(SaveTest, TicketsOfAnUnknownDatasetAreSkipped) {
  ON_CALL(filemanagement, getDatasetWriteTickets(_)).WillByDefault([&](const auto& inputs) {
    auto reply = world.filemanagement.getDatasetWriteTickets(inputs);
    auto stray = reply.commit_infos.at(0);
    stray.dataset_uid = kTarget;
    for (auto& f : stray.file_infos) f.text4 += "-stray";
    reply.commit_infos.push_back(stray);
    return reply;
  });
  table->KESTREL_save_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
  ASSERT_THAT(UploadCalls(), SizeIs(1));
  EXPECT_THAT(UploadCalls()[0], ElementsAre(Pair("write-1", "C:\\a.html")));
}

TEST_F(SaveTest, ReportDatasetNamesAreCutTo32BytesOnACharacterBoundary) {
  const std::string forty(40, 'n'), thirty_two(32, 't');
  // "é" is two bytes: the 31st and 32nd byte of this name.
  const std::string accented = std::string(30, 'a') + "\xc3\xa9" + "bc";
  const std::string straddling = std::string(31, 'a') + "\xc3\xa9" + "bc";
  std::vector<ValidationResultInput> inputs;
  for (const auto& name : {forty, thirty_two, accented, straddling, std::string()}) {
    inputs.push_back(Input("x"));
    inputs.back().reports[0].name = name;
  }
  corerun::testing::set_next_unique_filename("unique_name_of_the_base_lib");
  table->KESTREL_save_validation_results(inputs);
  ASSERT_THAT(datasets, SizeIs(5));
  EXPECT_EQ(datasets[0].text3, std::string(32, 'n'));
  EXPECT_EQ(datasets[1].text3, thirty_two);
  EXPECT_EQ(datasets[2].text3, std::string(30, 'a') + "\xc3\xa9");
  EXPECT_EQ(datasets[3].text3, std::string(31, 'a'));
  EXPECT_EQ(datasets[4].text3, "unique_name_of_the_base_lib_repo");
}

TEST_F(SaveTest, AnUnnamedReportGetsAUniqueName) {
  auto input = Input("A");
  input.reports[0].name = "";
  table->KESTREL_save_validation_results({input, input});
  ASSERT_THAT(datasets, SizeIs(2));
  EXPECT_THAT(datasets[0].text3, HasSubstr("_report_ds"));
  EXPECT_NE(datasets[0].text3, datasets[1].text3);
  EXPECT_LE(datasets[0].text3.size(), 32u);
}

TEST_F(SaveTest, MoreThanOneReportGetsNoDataset) {
  auto input = Input("A", {{"C:\\a.html", "HTML", 1}});
  input.reports.push_back(input.reports[0]);
  MACH__checking_level = 1;
  const auto list = table->KESTREL_save_validation_results({input});
  EXPECT_THAT(datasets, IsEmpty());
  EXPECT_THAT(log_text(), HasSubstr("inputs[inx].reports.size() <=1"));
  EXPECT_THAT(log_text(), HasSubstr("inputs[inx].reports.size() <= 1"));
  EXPECT_THAT(UploadCalls(), IsEmpty());
  ASSERT_THAT(list.results, SizeIs(1));
  EXPECT_EQ(list.results[0].report_dataset_uid, "");
}

TEST_F(SaveTest, EmptyInputListSendsTheThreeCreationsAndTheDescriptorRequest) {
  const auto list = table->KESTREL_save_validation_results({});
  EXPECT_THAT(Requests(),
              ElementsAre("getSessionInfo", "createObjects", "createDatasets", "getPropDescriptors", "createObjects"));
  EXPECT_THAT(list.results, IsEmpty());
  EXPECT_THAT(list.errors, IsEmpty());
}

TEST_F(SaveTest, DescriptorsOfTheResultTypeAreAsked) {
  EXPECT_CALL(test_server.propdescriptor, getPropDescriptors(ElementsAre("ValReqResult")))
      .WillOnce(Return(Wire::PropDescriptorsReply{}));
  table->KESTREL_save_validation_results({Input("A")});
}

TEST_F(SaveTest, ObjectsTheServerDidNotCreateAreLeftOut) {
  ON_CALL(datamanagement, createObjects(_)).WillByDefault([this](const auto& inputs) {
    created.push_back(inputs);
    auto reply = world.datamanagement.createObjects(inputs);
    if (created.size() == 1) {  // parameters: the first gets none
      reply.outputs.erase(reply.outputs.begin());
    } else {  // results: the first is not created, the second has a null object
      reply.outputs.at(0).uids = {};
      reply.outputs.at(1).uids = {""};
      reply.data.errors.push_back(Wire::WorldStore::error_of(0, "0", 4711, "no result"));
    }
    return reply;
  });
  ON_CALL(datamanagement, createDatasets(_)).WillByDefault([this](const auto& inputs) {
    datasets = inputs;
    auto reply = world.datamanagement.createDatasets(inputs);
    reply.output.erase("0");
    return reply;
  });
  const auto list =
      table->KESTREL_save_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}}), Input("B"), Input("C")});
  ASSERT_THAT(created, SizeIs(2));
  EXPECT_THAT(created[1][0].references, Contains(Pair("validation_parameters", "")));
  EXPECT_THAT(created[1][0].reference_arrays, IsEmpty());
  EXPECT_THAT(UploadCalls(), IsEmpty());
  ASSERT_THAT(list.results, SizeIs(1));
  EXPECT_EQ(list.results[0].result_uid, "valresult-3");
  EXPECT_THAT(list.errors, ElementsAre(FieldsAre(4711, "no result")));
}

TEST_F(SaveTest, FailuresOfTheNewerPathReachTheHostUnchanged) {
  EXPECT_CALL(datamanagement, createObjects(_)).WillOnce(Throw(RuntimeException("refused")));
  EXPECT_THROW(table->KESTREL_save_validation_results({Input("A")}), RuntimeException);
  EXPECT_CALL(session, getSessionInfo()).WillOnce(Throw(RuntimeException("no session")));
  EXPECT_THROW(table->KESTREL_save_validation_results({Input("A")}), RuntimeException);
}

TEST_F(SaveTest, CheckReqDumpsTheInputAndTheTargetsDate) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("CHECK_REQ", true);
  auto input = Input("A");
  table->KESTREL_save_validation_results({input});
  EXPECT_THAT(log_text(), HasSubstr("\n+++ Fiilling ReqValResultCreateInput for virel check Check A\n"
                                    "\n+++ current time is 14-Nov-2023 23:43:20 \n"
                                    "\n+++ input date time is 14-Mar-2024 09:30:05"));
  EXPECT_THAT(log_text(), HasSubstr("\n+++ taregt dataset lmd time is 02-Jan-2024 03:04:05\n"));
}

TEST_F(SaveTest, CheckReqWithoutATargetSkipsItsDateAndStillCreates) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("CHECK_REQ", true);
  auto input = Input("A");
  input.target_uid = "";
  const auto list = table->KESTREL_save_validation_results({input});
  EXPECT_THAT(log_text(), HasSubstr("+++ input date time is"));
  EXPECT_THAT(log_text(), Not(HasSubstr("taregt")));
  EXPECT_THAT(list.results, SizeIs(1));
}

// A target whose date the server cannot give: the dump shows it empty and
// the results are created all the same.
TEST_F(SaveTest, CheckReqShowsAnUnreadableTargetDateEmptyAndStillCreates) {
  MACH__checking_level = 1;
  corerun::testing::set_debug_flag("CHECK_REQ", true);
  const struct {
    const char* target;
    std::vector<Wire::WireProperty> properties;
  } cases[] = {
      {"ds-never-dated", {}},                                // not loaded even when asked
      {"ds-odd-date", {str("last_mod_date", "yesterday")}},  // a value of another kind
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    world.add_object(c.target, {"Dataset", "WorkspaceObject", "POM_object"}, c.properties);
    auto input = Input("A");
    input.target_uid = c.target;
    created.clear();
    clear_log();
    const auto list = table->KESTREL_save_validation_results({input});
    EXPECT_THAT(log_text(), HasSubstr("\n+++ taregt dataset lmd time is \n"));
    ASSERT_THAT(created, SizeIs(2));
    EXPECT_THAT(created[1], ElementsAre(Field(&Wire::ObjectCreateRecord::references,
                                              Contains(Pair("validation_target", c.target)))));
    ASSERT_THAT(list.results, SizeIs(1));
    EXPECT_FALSE(list.results[0].result_uid.empty());
    EXPECT_FALSE(list.results[0].report_dataset_uid.empty());
  }
}

// The next call of an expectation throws; later ones answer as before.
template <class Expectation>
void FailOnce(Expectation& expectation, const char* what) {
  expectation.WillOnce(Throw(RuntimeException(what))).RetiresOnSaturation();
}

// A failure after some objects were made leaves them all on the server:
// neither road deletes what it created before the failing request.
TEST_F(SaveTest, ALateFailureRemovesNothingCreated) {
  const struct {
    const char* name;
    const char* server_version;
    std::function<void()> fail;
    std::vector<std::string> made;  // first type of each new object, sorted
  } cases[] = {
      {"newer, commit",
       "P2009.1.0",
       [this] { FailOnce(EXPECT_CALL(filemanagement, commitDatasetFiles(_)), "commit refused"); },
       {"Dataset", "ValidationParams"}},
      {"newer, descriptors",
       "P2009.1.0",
       [this] { FailOnce(EXPECT_CALL(test_server.propdescriptor, getPropDescriptors(_)), "no descriptors"); },
       {"Dataset", "OstraFile", "ValidationParams"}},
      {"newer, results",
       "P2009.1.0",
       [this] {
         FailOnce(EXPECT_CALL(datamanagement,
                              createObjects(Contains(Field(&Wire::ObjectCreateRecord::type, "ValReqResult")))),
                  "no results");
       },
       {"Dataset", "OstraFile", "ValidationParams"}},
      {"2007, tickets",
       "V2007.1",
       [this] { FailOnce(EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)), "no tickets"); },
       {"HTML", "ValReqResult", "ValidationParams"}},
  };
  // Each case fails one request once; the others answer as the world does.
  EXPECT_CALL(filemanagement, commitDatasetFiles(_)).Times(AnyNumber());
  EXPECT_CALL(filemanagement, getDatasetWriteTickets(_)).Times(AnyNumber());
  EXPECT_CALL(test_server.propdescriptor, getPropDescriptors(_)).Times(AnyNumber());
  EXPECT_CALL(datamanagement, createObjects(_)).Times(AnyNumber());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world.set_server_version(c.server_version);
    std::set<std::string> before;
    for (const auto& entry : world.store.objects()) before.insert(entry.first);
    c.fail();
    ClearRequests();
    EXPECT_ANY_THROW(table->KESTREL_save_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})}));
    std::vector<std::string> made;
    for (const auto& [uid, object] : world.store.objects())
      if (!before.count(uid)) made.push_back(object.types.front());
    std::sort(made.begin(), made.end());
    EXPECT_EQ(made, c.made);
    EXPECT_THAT(Requests(), AllOf(Not(Contains("deleteObjects")), Not(Contains("removeNamedReferences"))));
  }
}

TEST_F(SaveTest, SavedResultsReadBackWithTheirFiles) {
  const auto list = table->KESTREL_save_validation_results({Input("A", {{"C:\\a.html", "HTML", 1}})});
  ASSERT_THAT(list.results, SizeIs(1));
  ServerObject* result = Object(list.results[0].result_uid);
  auto* reports = ask_validation_object_property(result, "validation_report", true);
  ASSERT_NE(reports, nullptr);
  ASSERT_THAT(reports->getModelObjectArrayValue(), SizeIs(1));
  ServerObject* dataset = reports->getModelObjectArrayValue()[0];
  EXPECT_EQ(dataset->getUid(), list.results[0].report_dataset_uid);
  EXPECT_THAT(ask_validation_object_property(dataset, "ref_names", true)->getStringArrayValue(), ElementsAre("HTML"));
  EXPECT_EQ(ask_validation_object_property(result, "object_name", true)->getStringValue(), "Check A");
}

// ---------------------------------------------------------------------------
// Slot 85: updating

class UpdateTest : public ValidationTest {
 protected:
  UpdateTest() {
    world.set_server_version("P2009.1.0");
    world.add_object("req-1", {"Requirement", "WorkspaceObject", "POM_object"});
    world.add_object("result-2", kResultTypes, {str("object_name", "old"), ref("validation_requirement", "")});
    world.set_property("result-1", ref("validation_requirement", "req-old"));
  }
  static ValidationResultInput Named(const std::string& uid, const std::string& requirement = "") {
    auto input = Input(uid, {}, false);
    input.result_uid = uid;
    input.requirement_uid = requirement;
    return input;
  }
};

TEST_F(UpdateTest, NewerServerWritesNameAndRequirementOnEveryNamedResult) {
  using Values = std::map<std::string, std::vector<std::string>>;
  {
    InSequence order;
    EXPECT_CALL(datamanagement, setProperties(ElementsAre("result-1"), Values{{"object_name", {"Check result-1"}},
                                                                              {"validation_requirement", {"req-1"}}}));
    EXPECT_CALL(datamanagement, setProperties(ElementsAre("result-2"), Values{{"object_name", {"Check result-2"}}}));
  }
  // An input without a result is passed over; the later ones are still written.
  const auto list =
      table->KESTREL_update_validation_results({Named("result-1", "req-1"), Named(""), Named("result-2")});
  EXPECT_THAT(list.results, SizeIs(3));
  EXPECT_EQ(world.find("result-1")->properties.at("object_name").strings.at(0), "Check result-1");
  EXPECT_EQ(world.find("result-1")->properties.at("validation_requirement").references.at(0), "req-1");
  for (const auto& request : server.requests) EXPECT_EQ(request.policy, 2) << request.operation;
}

TEST_F(UpdateTest, UnloadableRequirementKeepsTheResultsOwnAndUnloadableResultIsSkipped) {
  using Values = std::map<std::string, std::vector<std::string>>;
  EXPECT_CALL(datamanagement, setProperties(ElementsAre("result-1"), Values{{"object_name", {"Check result-1"}}}));
  table->KESTREL_update_validation_results({Named("result-1", "req-gone"), Named("result-gone", "req-1")});
  EXPECT_EQ(world.find("result-1")->properties.at("validation_requirement").references.at(0), "req-old");
}

TEST_F(UpdateTest, A2007ServerIsUpdatedAsSlot81Does) {
  world.set_server_version("V2007.0.1");
  EXPECT_CALL(datamanagement, setProperties(_, _)).Times(0);
  const auto list = table->KESTREL_update_validation_results({Named("result-1", "req-1")});
  EXPECT_THAT(list.results, SizeIs(1));
  EXPECT_THAT(Requests(), Contains("createValidationResults"));
}

TEST_F(UpdateTest, TheServerGenerationIsAskedOncePerProcess) {
  table->KESTREL_update_validation_results({});
  EXPECT_THAT(Requests(), ElementsAre("getSessionInfo", "createValidationResults"));
  table->KESTREL_logout(false);
  world.set_server_version("V2007.0.1");
  ConnectAndLogin();
  ClearRequests();
  EXPECT_CALL(datamanagement, setProperties(_, _));
  // Still the first answer: the name is written on what is now a 2007 server.
  table->KESTREL_update_validation_results({Named("result-1")});
  const auto requests = Requests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "getSessionInfo"), 1);  // the record's session user
}

TEST_F(UpdateTest, AFailedProbeIsAskedAgain) {
  EXPECT_CALL(session, getSessionInfo()).WillOnce(Throw(RuntimeException("no session"))).WillRepeatedly([this] {
    return world.session.getSessionInfo();
  });
  EXPECT_CALL(test_server.validation, createValidationResults(_)).Times(1);
  EXPECT_THROW(table->KESTREL_update_validation_results({}), RuntimeException);
  ClearRequests();
  // The next call asks again and takes this server for the newer one it is.
  EXPECT_CALL(datamanagement, setProperties(ElementsAre("result-1"), _));
  table->KESTREL_update_validation_results({Named("result-1")});
  EXPECT_EQ(Requests().at(0), "getSessionInfo");
}

TEST_F(UpdateTest, TheRequirementIsReadBeforeTheRequestThatWritesIt) {
  // The result's policy does not carry its requirement: the read loads it.
  table->KESTREL_update_validation_results({Named("result-1", "req-1")});
  const auto requests = Requests();
  const auto created = std::find(requests.begin(), requests.end(), "createValidationResults");
  ASSERT_NE(created, requests.end());
  EXPECT_THAT(std::vector<std::string>(created + 1, requests.end()),
              ElementsAre("loadObjects", "getProperties", "getProperties", "loadObjects", "setProperties"));
}

}  // namespace
}  // namespace kestrel::test
