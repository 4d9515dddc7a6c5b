// Classification: classes with their descriptions, attributes and value
// tables, and the classification objects that classify workspace objects.
// Every entry makes one request of the classification service under
// property policy 2 and lets the framework's exceptions through unchanged.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kestrel/kestrel_types.h"
#include "objmodel/Classification.h"

namespace Halden::Soa::Client {
class ModelObject;
}

namespace kestrel {

// Reads the data of the classification objects into host objects, inserted
// by the classification object's UID (the first object of a UID stays).
void fill_classification_objects(const std::vector<Halden::Soa::Client::ModelObject*>& objects,
                                 std::map<std::string, Orvane::PdmSoa::ClassificationObject*>& result);

}  // namespace kestrel

void KESTREL_write_classification_objects(const std::vector<Orvane::PdmSoa::ClassificationObject*>& objects);
void KESTREL_write_classification_objects_2(const std::vector<Orvane::PdmSoa::ClassificationObject*>& objects);
void KESTREL_send_classification_object_uids(const std::vector<std::string>& uids);

// New results the host owns; the classes in them are the host's too.
std::map<std::string, Orvane::PdmSoa::ClassificationClass*>* KESTREL_ask_classification_classes(
    const std::vector<std::string>& class_ids);
std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationClass*>>* KESTREL_ask_class_descriptions(
    const std::vector<std::string>& class_ids);
std::map<std::string, std::vector<std::string>>* KESTREL_ask_classification_table(const std::vector<std::string>& keys);
std::map<std::string, std::vector<Orvane::PdmSoa::PomObject*>>* KESTREL_ask_objects_of_classification_ids(
    const std::vector<std::string>& ids);
std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationAttribute>>* KESTREL_ask_class_attributes(
    const std::vector<std::string>& class_ids);
std::vector<Orvane::PdmSoa::ClassificationClass*>* KESTREL_find_classes(const std::vector<ClassQuery>& queries);
std::vector<Orvane::PdmSoa::ClassificationObject*>* KESTREL_find_classification_objects(
    const std::vector<ClassificationObjectQuery>& queries);
std::vector<Orvane::PdmSoa::PomObject*>* KESTREL_ask_classification_pom_objects(const std::vector<std::string>& uids);
std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationObject*>>* KESTREL_ask_classifications_of_objects(
    const std::vector<std::string>& workspace_uids);
std::map<std::string, std::vector<Orvane::PdmSoa::ClassificationObject*>>* KESTREL_ask_classification_objects_by_key(
    const std::vector<std::string>& keys);
std::map<std::string, Orvane::PdmSoa::ClassificationObject*>* KESTREL_load_classification_objects(
    const std::vector<std::string>& uids);
// Fills the given objects in place.
void KESTREL_refresh_classification_objects(
    const std::map<std::string, Orvane::PdmSoa::ClassificationObject*>& objects);
std::map<std::string, ClassificationValueTable>* KESTREL_ask_classification_value_tables(
    const std::vector<std::string>& ids);
