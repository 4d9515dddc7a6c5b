// Validation results: creation through the internal validation service and
// core creation, saving and updating, the upload of their report files, and
// the validation property reader.
#include <string>
#include <vector>

#include "corerun/testing.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/client/ModelObject.h"
#include "halden/soa/common/Exceptions.h"
#include "kestrel_call.h"
#include "kestrel_validation.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Client::NotLoadedException;
using Halden::Soa::Client::RuntimeException;
using Halden::Soa::Server::ValueType;
using ServerObject = Halden::Soa::Client::ModelObject;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::InSequence;
using ::testing::IsEmpty;
using ::testing::IsNull;
using ::testing::Return;
using ::testing::Throw;
using namespace Halden::Soa::Server::props;

const std::vector<std::string> kResultTypes = {"ValReqResult", "WorkspaceObject", "POM_object"};

class ValidationTest : public SessionTest {
 protected:
  ValidationTest() {
    world.add_object("result-1", kResultTypes,
                     {str("object_name", "Clearance"), str("validation_id", "CLR-1"),
                      null("validation_comments", ValueType::String)});
    world.set_policy("ValReqResult", {"object_name"});
    ConnectAndLogin();
  }

  // The server object of a UID, loaded without a property policy of its type's own.
  ServerObject* Object(const std::string& uid) {
    ServerObject* object = get_model_manager(KESTREL_HERE)->loadObjects(uid);
    ClearRequests();
    clear_log();
    return object;
  }

  const Halden::Soa::Server::RequestRecord& Request(std::size_t i) const { return server.requests.at(i); }
};

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

}  // namespace
}  // namespace kestrel::test
