// Structure generation from pairs of label and version UIDs.
#include <string>
#include <vector>

#include "halden/server/mocks/MockAiStub.h"
#include "halden/server/world/AiWorld.h"
#include "halden/soa/client/Exceptions.h"
#include "halden/soa/common/Exceptions.h"
#include "support/framework_failures.h"
#include "support/session_fixture.h"

namespace kestrel::test {
namespace {

using Halden::Soa::Server::GenerateStructureReply;
using Halden::Soa::Server::GenerationInput;
using Halden::Soa::Server::MockAiStub;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::NiceMock;

MATCHER_P3(InputIs, application, label, version, "") {
  return arg.application == application && arg.label_uid == label && arg.version_uid == version;
}

class AiTest : public SessionTest {
 protected:
  NiceMock<MockAiStub>& ai = test_server.ai;
};

TEST_F(AiTest, PairsTheUidsAndPassesTheOtherArgumentsThrough) {
  ConnectAndLogin();
  ClearRequests();
  EXPECT_CALL(ai, generateStructure(ElementsAre(InputIs("HxEng", "L1", "V1"), InputIs("HxEng", "V2", "V2")),
                                    std::int64_t{1} << 40, "make it so", 7));
  const std::string answer = table->KESTREL_generate_structure({"L1", ""}, {"V1", "V2"}, std::int64_t{1} << 40,
                                                               "make it so", 7);
  EXPECT_EQ(answer, "HxEng:L1/V1;HxEng:V2/V2; 1099511627776 make it so 7");
  ASSERT_THAT(Requests(), ElementsAre("generateStructure"));
  EXPECT_EQ(server.requests[0].policy, 2);
}

TEST_F(AiTest, AnEmptyUidTakesItsPartnersAndTwoEmptyOnesAreLeftOut) {
  ConnectAndLogin();
  EXPECT_CALL(ai, generateStructure(ElementsAre(InputIs("HxEng", "L2", "L2")), 0, "", 0));
  table->KESTREL_generate_structure({"", "L2"}, {"", ""}, 0, "", 0);
}

TEST_F(AiTest, NoPairsSendAnEmptyListAndTheAnswerDecides) {
  ConnectAndLogin();
  // The sample service answers nothing to an empty list.
  EXPECT_CALL(ai, generateStructure(IsEmpty(), _, _, _));
  EXPECT_THAT([&] { table->KESTREL_generate_structure({"", ""}, {"", ""}, 0, "", 0); },
              RaisesFrom(940209, "KRAL SOA: Failed to generate structure", "kestrel_ai.cpp"));
  EXPECT_CALL(ai, generateStructure(IsEmpty(), _, _, _)).WillOnce([](auto&&...) {
    return GenerateStructureReply{"nothing to do", {}};
  });
  EXPECT_EQ(table->KESTREL_generate_structure({""}, {""}, 0, "", 0), "nothing to do");
}

TEST_F(AiTest, EmptyOrUnequalListsAreBadInputBeforeAnyRequest) {
  ConnectAndLogin();
  ClearRequests();
  const std::string zero =
      "KRAL SOA: Bad Input for KESTREL_generate_structure: label uid array size = 0 or version uid array size = 0\n";
  const std::string unequal =
      "KRAL SOA: Bad Input for KESTREL_generate_structure: label uids array size != version uids array size\n";
  struct Case {
    std::vector<std::string> labels, versions;
    const std::string& text;
  };
  const Case cases[] = {{{}, {"V1"}, zero}, {{"L1"}, {}, zero}, {{}, {}, zero}, {{"L1", "L2"}, {"V1"}, unequal}};
  for (const auto& c : cases)
    EXPECT_THAT([&] { table->KESTREL_generate_structure(c.labels, c.versions, 0, "", 0); },
                RaisesFrom(940208, c.text, "kestrel_ai.cpp"));
  EXPECT_THAT(Requests(), IsEmpty());
}

class ConnectedAiTest : public AiTest {
 protected:
  void SetUp() override { ConnectAndLogin(); }
};

class AiConversion : public ConversionTest<AiConversion, ConnectedAiTest> {
 public:
  static constexpr const char* kFile = "kestrel_ai.cpp";
  static std::vector<Operation> Operations() {
    return {{"GenerateStructure",
             [](AiConversion& t, const std::function<void()>& fail) {
               ON_CALL(t.ai, generateStructure(_, _, _, _)).WillByDefault([fail](auto&&...) -> GenerateStructureReply {
                 fail();
                 return {};
               });
             },
             [](AiConversion& t) { t.table->KESTREL_generate_structure({"L1"}, {"V1"}, 0, "", 0); }}};
  }
};
KESTREL_CONVERSION_SUITE(AiConversion);

}  // namespace
}  // namespace kestrel::test
