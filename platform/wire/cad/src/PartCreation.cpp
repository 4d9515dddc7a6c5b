#include "halden/server/CadDataManagementStub.h"
#include "halden/services/cad/DatamanagementService.h"
#include "halden/soa/client/internal/Request.h"

namespace Halden::Services::Cad {

using Soa::Client::Internal::absorb;
using Soa::Client::Internal::invoke;
using Soa::Client::Internal::objectOf;
using Soa::Client::Internal::require;
using Soa::Client::Internal::uidOf;
namespace Wire = Soa::Server;

namespace {

constexpr const char* kService = "Cad-2007-01-DataManagement";

template <class Out, class In, class Convert>
std::vector<Out> each(const std::vector<In>& list, Convert convert) {
  std::vector<Out> out;
  out.reserve(list.size());
  for (const auto& in : list) out.push_back(convert(in));
  return out;
}

Wire::NameValueRecord record_of(const NameValueInput& in) { return {in.name, in.value}; }

std::vector<Wire::NameValueRecord> records_of(const std::vector<NameValueInput>& list) {
  return each<Wire::NameValueRecord>(list, [](const NameValueInput& in) { return record_of(in); });
}

Wire::ObjectRefRecord record_of(const ObjectRefInput& in) {
  return {uidOf(in.object), in.text1, in.text2, in.text3, records_of(in.nameValues)};
}

std::vector<Wire::ObjectRefRecord> records_of(const std::vector<ObjectRefInput>& list) {
  return each<Wire::ObjectRefRecord>(list, [](const ObjectRefInput& in) { return record_of(in); });
}

Wire::PartDatasetRecord record_of(const PartDatasetInput& in) {
  return {in.text1,
          uidOf(in.object),
          in.text2,
          in.text3,
          in.text4,
          in.text5,
          in.text6,
          in.text7,
          in.flag,
          in.text8,
          records_of(in.nameValues1),
          records_of(in.nameValues2),
          records_of(in.objectRefs),
          each<Wire::FileInfoRecord>(in.fileInfos,
                                     [](const Core::FileInfoInput& f) {
                                       return Wire::FileInfoRecord{f.text1, f.text2, f.text3, f.flag1, f.flag2};
                                     }),
          each<Wire::RelationRecord>(in.relations, [](const RelationInput& r) {
            return Wire::RelationRecord{r.text1, uidOf(r.object), r.text2, r.text3, records_of(r.nameValues)};
          })};
}

Wire::PartCreateRecord record_of(const PartCreateInput& in) {
  const auto& item = in.item;
  const auto& revision = in.revision;
  return {in.text,
          {uidOf(item.object), item.text1, item.text2, item.text3, item.text4, records_of(item.nameValues),
           records_of(item.objectRefs), uidOf(item.optionalObject)},
          {uidOf(revision.object), revision.text1, records_of(revision.nameValues), records_of(revision.objectRefs)},
          each<Wire::PartDatasetRecord>(in.datasets, [](const PartDatasetInput& d) { return record_of(d); })};
}

std::vector<ObjectOutput> outputs_of(Soa::Client::ModelManager& models,
                                     const std::vector<Wire::ObjectOutputRecord>& list) {
  return each<ObjectOutput>(list, [&](const Wire::ObjectOutputRecord& o) {
    return ObjectOutput{o.text, objectOf(models, o.object_uid)};
  });
}

Core::CommitInfo commit_info_of(Soa::Client::ModelManager& models, const Wire::CommitInfoRecord& c) {
  return {objectOf(models, c.dataset_uid), c.flag, each<Core::FileInfoOutput>(c.file_infos, [](const auto& f) {
            return Core::FileInfoOutput{f.text1, f.text2, f.text3, f.flag1, f.flag2, f.text4};
          })};
}

}  // namespace

CreatePartsResponse DatamanagementService::createParts(const std::vector<PartCreateInput>& parts) {
  const auto records = each<Wire::PartCreateRecord>(parts, [](const PartCreateInput& p) { return record_of(p); });
  auto reply = invoke(*connection_, kService, "createParts", [&](Wire::Server& server) {
    return require<Wire::CadDataManagementStub>(server, kService).createParts(records);
  });
  CreatePartsResponse out;
  out.serviceData = absorb(*connection_, reply.data);
  auto& models = *connection_->getModelManager();
  out.output = each<PartOutput>(reply.outputs, [&](const Wire::PartOutputRecord& p) {
    return PartOutput{p.text,
                      objectOf(models, p.item_uid),
                      objectOf(models, p.revision_uid),
                      each<DatasetOutput>(p.datasets,
                                          [&](const Wire::DatasetOutputRecord& d) {
                                            return DatasetOutput{
                                                d.text, objectOf(models, d.dataset_uid),
                                                each<Core::CommitInfo>(d.commit_infos,
                                                                       [&](const Wire::CommitInfoRecord& c) {
                                                                         return commit_info_of(models, c);
                                                                       }),
                                                outputs_of(models, d.objects1), outputs_of(models, d.objects2)};
                                          }),
                      outputs_of(models, p.objects1),
                      outputs_of(models, p.objects2)};
  });
  return out;
}

}  // namespace Halden::Services::Cad
