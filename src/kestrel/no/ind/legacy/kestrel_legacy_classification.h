// Classification entries of the legacy build: the 64-bit build's requests
// and fillers over the older host's classes, with no property policy and no
// catch clauses. Results are new and the host's, and so are the host objects
// in them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"

namespace Orvane::PdmSoa {
class VirelmgrModelObject;
class VirelmgrPomObject;
class VirelmgrClassificationClass;
class VirelmgrClassificationObject;
struct VirelmgrClassificationAttribute;
}  // namespace Orvane::PdmSoa

void KESTREL_write_classification_objects(const std::vector<Orvane::PdmSoa::VirelmgrClassificationObject*>& objects);
void KESTREL_write_classification_objects_2(const std::vector<Orvane::PdmSoa::VirelmgrClassificationObject*>& objects);
void KESTREL_send_classification_object_uids(const std::vector<std::string>& uids);
std::map<std::string, Orvane::PdmSoa::VirelmgrClassificationClass*>* KESTREL_ask_classification_classes(
    const std::vector<std::string>& class_ids);
std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrClassificationClass*>>* KESTREL_ask_class_descriptions(
    const std::vector<std::string>& class_ids);
std::map<std::string, std::vector<std::string>>* KESTREL_ask_classification_table(const std::vector<std::string>& keys);
std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrPomObject*>>* KESTREL_ask_objects_of_classification_ids(
    const std::vector<std::string>& ids);
std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrClassificationAttribute>>* KESTREL_ask_class_attributes(
    const std::vector<std::string>& class_ids);
std::vector<Orvane::PdmSoa::VirelmgrClassificationClass*>* KESTREL_find_classes(const std::vector<ClassQuery>& queries);
std::vector<Orvane::PdmSoa::VirelmgrModelObject*>* KESTREL_find_classification_objects(
    const std::vector<ClassificationObjectQuery>& queries);
std::vector<Orvane::PdmSoa::VirelmgrPomObject*>* KESTREL_ask_classification_pom_objects(
    const std::vector<std::string>& uids);
// The host objects of each workspace object's classification objects, as
// the host answers them; their data are not read.
std::map<std::string, std::vector<Orvane::PdmSoa::VirelmgrModelObject*>>* KESTREL_ask_classifications_of_objects(
    const std::vector<std::string>& workspace_uids);
std::map<std::string, Orvane::PdmSoa::VirelmgrClassificationObject*>* KESTREL_load_classification_objects(
    const std::vector<std::string>& uids);
std::map<std::string, ClassificationValueTable>* KESTREL_ask_classification_value_tables(
    const std::vector<std::string>& ids);
